// novalk-sim: the flight controller (or its boot loader) on a pseudo-terminal, for
// trying flightdesk and fwloader without the hardware.
#include "CommandLine.h"
#include "Simulator.h"

#include <csignal>
#include <cstdio>
#include <iostream>
#include <string>

namespace {

sim::Simulator* running = nullptr;

extern "C" void OnStopSignal(int)
{
    if (running)
        running->requestStop();
}

void InstallSignalHandlers()
{
    struct sigaction stop {};
    stop.sa_handler = OnStopSignal;
    sigemptyset(&stop.sa_mask);
    sigaction(SIGINT, &stop, nullptr);
    sigaction(SIGTERM, &stop, nullptr);
    sigaction(SIGHUP, &stop, nullptr);
    // A reader of our output that goes away must not kill us before the link is removed.
    std::signal(SIGPIPE, SIG_IGN);
}

void PrintLine(const std::string& line)
{
    std::cout << line << std::endl; // flushed at once: the output is often a pipe
}

} // namespace

int main(int argc, char** argv)
{
    const sim::CommandLine commandLine = sim::ParseCommandLine(argc, argv);
    if (commandLine.help) {
        std::cout << sim::Usage(argv[0]);
        return 0;
    }
    if (!commandLine.error.empty()) {
        std::cerr << argv[0] << ": " << commandLine.error << "\n" << sim::Usage(argv[0]);
        return 2;
    }

    sim::SimEvents events;
    events.log = PrintLine;
    sim::Simulator simulator(commandLine.options, events);
    std::string error;
    if (!simulator.open(error)) {
        std::cerr << argv[0] << ": " << error << "\n";
        return 1;
    }
    running = &simulator;
    InstallSignalHandlers();

    // The first line is the path alone, for scripts that start the simulator and a tool.
    const std::string path = simulator.path();
    PrintLine(path);
    if (commandLine.options.bootLoader) {
        PrintLine("boot loader; firmware goes to " + simulator.firmwarePath());
        PrintLine("upload with:  fwloader --port " + path + " firmware.fcu");
    } else {
        PrintLine("flight controller; connect with:  flightdesk --port " + path);
        PrintLine("(for an upload start novalk-sim --bootloader, then:  fwloader --port " + path +
                  " firmware.fcu)");
    }
    simulator.run();
    running = nullptr;
    PrintLine("stopped; " + path + " removed");
    // Told to take one upload, the exit status says how it went, for scripts.
    const auto uploads = simulator.history().uploads;
    return commandLine.options.boot.once && !uploads.empty() && !uploads.back().succeeded ? 1 : 0;
}
