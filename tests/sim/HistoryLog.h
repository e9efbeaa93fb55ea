#pragma once
// Whether the simulator has logged a line containing a text.
#include "Simulator.h"

#include <algorithm>
#include <string>

namespace simtest {

inline bool Logged(const sim::SimHistory& history, const std::string& text)
{
    return std::any_of(history.log.begin(), history.log.end(),
                       [&](const std::string& line) { return line.find(text) != std::string::npos; });
}

} // namespace simtest
