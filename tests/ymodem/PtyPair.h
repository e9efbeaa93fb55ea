#pragma once
// A pseudo-terminal pair for the tests: the component opens the slave by its path,
// the test plays the other end of the line on the master. Both sides are raw from
// the start, so nothing is echoed or translated before the component configures it.
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// Reading is meant for one thread at a time.

namespace ymodem_test {

class PtyPair {
public:
    PtyPair();
    ~PtyPair();
    PtyPair(const PtyPair&) = delete;
    PtyPair& operator=(const PtyPair&) = delete;

    int master() const { return master_; }
    int slave() const { return slave_; }
    const std::string& slavePath() const { return slavePath_; }

    void Write(const void* data, std::size_t size);
    void Write(const std::string& bytes) { Write(bytes.data(), bytes.size()); }
    // Bytes the slave side has not read yet.
    int SlaveQueued() const;
    // One byte from the master, or -1 when none arrives in time.
    int ReadByte(std::chrono::milliseconds timeout);
    // Whatever arrives until the line has been quiet for `quiet`.
    std::vector<uint8_t> ReadUntilQuiet(std::chrono::milliseconds quiet);

private:
    int master_ = -1;
    int slave_ = -1; // held open so the master never sees a hang-up between users
    std::string slavePath_;
    std::vector<uint8_t> pending_; // read from the master, not yet handed out
    std::size_t next_ = 0;
};

} // namespace ymodem_test
