#pragma once
// A pseudo-terminal pair for tests: the component under test opens the slave by
// its path, the test plays the other end on the master.
#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

namespace serialtest {

class PtyPair {
public:
    PtyPair();
    ~PtyPair();
    PtyPair(const PtyPair&) = delete;
    PtyPair& operator=(const PtyPair&) = delete;

    const std::string& slavePath() const { return slavePath_; }
    int master() const { return master_; }
    int slave() const { return slave_; } // the test's own hold on the slave
    void closeMaster();

    void writeMaster(const std::vector<uint8_t>& bytes);
    // Reads from the master until count bytes came or the deadline passed.
    std::vector<uint8_t> readMaster(std::size_t count,
                                    std::chrono::milliseconds deadline = std::chrono::seconds(10));

private:
    int master_ = -1;
    int slave_ = -1;
    std::string slavePath_;
};

// Every byte value once, the ones a cooked terminal would eat or change included.
std::vector<uint8_t> AllByteValues();

} // namespace serialtest
