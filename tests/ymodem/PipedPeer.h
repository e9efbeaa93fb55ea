#pragma once
// Another program (lrzsz's rb or sb) as the far end of a pty: it runs in a folder of
// its own with pipes for stdin and stdout, and two relay threads carry the bytes
// between those pipes and the pty master. Through pipes the program's own terminal
// flushes do nothing, as on a real line where the bytes are already on the wire.
// The relay can pace each direction at a line rate to stand in for a real UART.
#include <atomic>
#include <chrono>
#include <string>
#include <sys/types.h>
#include <thread>
#include <vector>

namespace ymodem_test {

class PipedPeer {
public:
    // bytesPerSecond 0: as fast as the pipes go.
    PipedPeer(int masterFd, const std::vector<std::string>& argv, const std::string& workDir,
              int bytesPerSecond = 0);
    ~PipedPeer();
    PipedPeer(const PipedPeer&) = delete;
    PipedPeer& operator=(const PipedPeer&) = delete;

    // Whether the program has ended; its exit status once it has.
    bool Exited();
    int ExitStatus() const { return exitStatus_; }

private:
    void Relay(int from, int to, bool closeTarget);

    pid_t child_ = -1;
    int toChild_ = -1;
    int fromChild_ = -1;
    int stopRead_ = -1;
    int stopWrite_ = -1;
    int bytesPerSecond_;
    bool exited_ = false;
    int exitStatus_ = -1;
    std::thread toChildRelay_;
    std::thread fromChildRelay_;
};

} // namespace ymodem_test
