#pragma once
// What the simulator reports while it runs: log lines for its standard output, and
// the same facts in a form tests can inspect.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

namespace sim {

struct UploadResult {
    bool succeeded = false;
    std::string reason;     // why it failed; empty on success
    std::string senderName; // the name in the header, as the sender gave it
    std::size_t bytes = 0;  // firmware bytes stored
    std::string storedPath; // where they are; empty when nothing was stored
};

struct ReceivedCommand {
    uint8_t group = 0;
    uint8_t code = 0;
    uint16_t value = 0;
    std::string name; // the command's name, or "unknown"
};

struct SimEvents {
    std::function<void(const std::string&)> log;
    std::function<void(const ReceivedCommand&)> command;
    std::function<void(const UploadResult&)> upload;

    void Log(const std::string& line) const { if (log) log(line); }
};

} // namespace sim
