#pragma once
// The simulator's command line.
#include "Simulator.h"

#include <string>

namespace sim {

struct CommandLine {
    SimulatorOptions options;
    bool help = false;
    std::string error; // non-empty when the arguments could not be understood
};

CommandLine ParseCommandLine(int argc, char* const* argv);
std::string Usage(const std::string& program);

} // namespace sim
