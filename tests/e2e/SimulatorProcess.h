#pragma once
// novalk-sim as its own process, as a user runs it beside the tools: its link in
// a private folder, the link path read from its first line, and the process
// stopped (which removes the link) when the object goes, however the test ends.
#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>

#include <chrono>
#include <string>

namespace e2e {

using namespace std::chrono_literals;

// Generous: under the sanitizers everything runs several times slower, and the
// deadlines only bound a hang, they measure nothing.
inline constexpr std::chrono::milliseconds StartDeadline = 30s;

class SimulatorProcess {
public:
    SimulatorProcess() = default;
    ~SimulatorProcess();
    SimulatorProcess(const SimulatorProcess&) = delete;
    SimulatorProcess& operator=(const SimulatorProcess&) = delete;

    // Starts the simulator with its link in the private folder and the given
    // options; false, with the reason, when it did not come up.
    bool Start(const QStringList& options, std::string& error);

    // The path a tool opens, as the simulator printed it.
    const std::string& Link() const { return link_; }
    // A file in the private folder (where a firmware can be stored).
    std::string PathOf(const char* name) const;

    // Runs the GUI thread until the simulator has exited by itself or the
    // deadline passed.
    bool WaitForExit(std::chrono::milliseconds deadline);
    int ExitCode() const { return process_.exitCode(); }
    // Everything it printed so far, for diagnostics.
    std::string Output();

private:
    QTemporaryDir folder_; // outlives the process, which removes its link first
    QProcess process_;
    std::string link_;
    std::string output_;
};

} // namespace e2e
