#pragma once
// The controller's side of the command link, for the simulator: finds the
// console's command frames in a byte stream.
//
// Frames carry no marker of their own, so the parser collects four bytes and
// accepts them when the first is a group byte and (group, code) names a known
// command; otherwise it drops the oldest byte and looks again. After an
// accepted frame it starts afresh, so value bytes that happen to look like a
// group byte inside a frame are not mistaken for the start of another.
#include "CommandFrame.h"

#include <cstddef>
#include <cstdint>
#include <optional>

namespace protocol {

struct ReceivedCommand {
    Command command;
    std::uint16_t value;

    friend bool operator==(const ReceivedCommand&, const ReceivedCommand&) = default;
};

class CommandParser {
public:
    // Takes one byte; returns the command that byte completed, if any.
    std::optional<ReceivedCommand> push(std::uint8_t byte);

private:
    CommandFrame pending_{};
    std::size_t count_ = 0;
};

} // namespace protocol
