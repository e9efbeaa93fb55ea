// The simulator's side: finding command frames in what the console wrote.
#include "CommandParser.h"

#include <gtest/gtest.h>

#include <vector>

namespace protocol {
namespace {

std::vector<ReceivedCommand> Parse(const std::vector<std::uint8_t>& bytes)
{
    CommandParser parser;
    std::vector<ReceivedCommand> received;
    for (const std::uint8_t b : bytes)
        if (auto command = parser.push(b))
            received.push_back(*command);
    return received;
}

void Append(std::vector<std::uint8_t>& stream, const CommandFrame& frame)
{
    stream.insert(stream.end(), frame.bytes.begin(), frame.bytes.end());
}

TEST(CommandParserTest, EveryCommandAndValueComesBack)
{
    std::vector<std::uint8_t> stream;
    std::vector<ReceivedCommand> sent;
    for (const CommandInfo& info : CommandTable()) {
        for (const std::uint16_t value : {0, 1, 0x55, 0x66AA, 0xBB55, 65535}) {
            Append(stream, BuildCommandFrame(info.command, value));
            sent.push_back({info.command, value});
        }
    }
    EXPECT_EQ(Parse(stream), sent);
}

TEST(CommandParserTest, ResynchronisesAfterNoise)
{
    std::vector<std::uint8_t> stream{0x00, 0x66, 0x55};  // a stray group byte, then a frame
    Append(stream, BuildCommandFrame(Command::GyroGain, 16));
    stream.insert(stream.end(), {0x12, 0xAC});          // noise that ends in a code byte
    Append(stream, BuildCommandFrame(Command::ArmedSpeed, 2));
    EXPECT_EQ(Parse(stream),
              (std::vector<ReceivedCommand>{{Command::GyroGain, 16}, {Command::ArmedSpeed, 2}}));
}

TEST(CommandParserTest, GroupLookingValueInsideAFrameStartsNoOther)
{
    // 55 66 AA AB: AuxGain with value 0xAA66; its last three bytes would read
    // as the start of a RangeLimit frame if the parser did not start afresh.
    std::vector<std::uint8_t> stream;
    Append(stream, BuildCommandFrame(Command::AuxGain, 0xAA66));
    stream.push_back(0xAA);
    Append(stream, BuildCommandFrame(Command::HeightLimit, 500));
    EXPECT_EQ(Parse(stream),
              (std::vector<ReceivedCommand>{{Command::AuxGain, 0xAA66}, {Command::HeightLimit, 500}}));
}

} // namespace
} // namespace protocol
