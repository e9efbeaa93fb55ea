#include "CommandParser.h"

#include <algorithm>

namespace protocol {

std::optional<ReceivedCommand> CommandParser::push(std::uint8_t byte)
{
    auto& bytes = pending_.bytes;
    if (count_ == bytes.size()) {
        std::copy(bytes.begin() + 1, bytes.end(), bytes.begin());
        --count_;
    }
    bytes[count_++] = byte;
    if (count_ < bytes.size())
        return std::nullopt;
    if (const CommandInfo* info = FindCommand(pending_.group(), pending_.code())) {
        count_ = 0;
        return ReceivedCommand{info->command, pending_.value()};
    }
    return std::nullopt;
}

} // namespace protocol
