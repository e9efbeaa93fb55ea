#pragma once
// The simulator's end of the line: the master side of a pseudo-terminal, kept raw,
// with a symbolic link to the slave side at a path the tools are given.
//
// Only the master is held open, so the kernel tells when a tool has the slave open:
// without one, poll() reports a hang-up at once and reads fail with EIO. The
// endpoint turns that into peerPresent() and waits without spinning meanwhile.
#include <cstddef>
#include <cstdint>
#include <string>

namespace sim {

class PtyEndpoint {
public:
    enum class Event { Input, Timeout, Woken };

    PtyEndpoint() = default;
    ~PtyEndpoint();
    PtyEndpoint(const PtyEndpoint&) = delete;
    PtyEndpoint& operator=(const PtyEndpoint&) = delete;

    // Opens the pair and links linkPath to the slave (no link when it is empty). A
    // stale link is replaced; any other file at that path is left alone and is an error.
    bool open(const std::string& linkPath, std::string& error);
    // Removes the link (if it is still ours) and closes the master.
    void close();

    // Sets the line raw (no echo, no line editing, no character translation). The
    // master's settings are the slave's, so this is what a tool finds when it opens.
    void makeRaw();

    bool peerPresent() const;
    // Waits up to timeoutMs for input from the tool, or until wakeFd (-1: none) is
    // readable. Without a tool it just waits on wakeFd for the time-out.
    Event wait(int timeoutMs, int wakeFd) const;
    // What the tool has sent and is waiting; 0 when nothing is or no tool is there.
    std::size_t read(uint8_t* buffer, std::size_t capacity);
    // As much as the line takes now, never blocking; 0 when it is full.
    std::size_t write(const uint8_t* data, std::size_t length);

    const std::string& linkPath() const { return linkPath_; }
    const std::string& slavePath() const { return slavePath_; }
    // The path a tool should open: the link, or the slave when there is no link.
    const std::string& path() const { return linkPath_.empty() ? slavePath_ : linkPath_; }

private:
    bool createLink(const std::string& linkPath, std::string& error);

    int master_ = -1;
    std::string slavePath_;
    std::string linkPath_;
};

} // namespace sim
