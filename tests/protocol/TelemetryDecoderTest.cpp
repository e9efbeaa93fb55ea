// Finding frames in the byte stream: reads split anywhere, frames back to back,
// runs of nine bytes that only look like a frame, and noise.
#include "TelemetryCodec.h"
#include "TelemetryDecoder.h"
#include "TelemetryTestFrames.h"

#include <gtest/gtest.h>

#include <vector>

namespace protocol {
namespace {

using testing::BytesOf;
using testing::FrameOf;
using testing::FrameOfWords;

class TelemetryDecoderTest : public ::testing::Test {
protected:
    // One read of the port: every byte goes through the same decoder.
    void read(const std::vector<std::uint8_t>& bytes)
    {
        decoder_.push(bytes, [this](const Telemetry& t) { decoded_.push_back(t); });
    }

    static Telemetry Expected(const TelemetryFrame& frame) { return *DecodeTelemetry(frame); }

    TelemetryDecoder decoder_;
    std::vector<Telemetry> decoded_;

    const TelemetryFrame attitude_ = FrameOfWords(0xA0, 18000, 18100, 17900);
    const TelemetryFrame battery_ = FrameOfWords(0xA5, 126, 4500, 35999);
};

TEST_F(TelemetryDecoderTest, FrameSplitAcrossReadsIsDecodedWhenItsLastByteArrives)
{
    const auto bytes = BytesOf(attitude_);
    read({bytes.begin(), bytes.begin() + 4});
    EXPECT_TRUE(decoded_.empty());
    read({bytes.begin() + 4, bytes.end()});
    ASSERT_EQ(decoded_.size(), 1u);
    EXPECT_EQ(decoded_[0], Expected(attitude_));
}

TEST_F(TelemetryDecoderTest, EveryOneByteReadKeepsTheWindow)
{
    for (std::uint8_t b : BytesOf(battery_))
        read({b});
    ASSERT_EQ(decoded_.size(), 1u);
    EXPECT_EQ(decoded_[0], Expected(battery_));
}

TEST_F(TelemetryDecoderTest, FramesBackToBackAreEachDecodedOnceInOrder)
{
    auto stream = BytesOf(attitude_);
    const auto second = BytesOf(battery_);
    stream.insert(stream.end(), second.begin(), second.end());
    stream.insert(stream.end(), second.begin(), second.end());
    read(stream);
    EXPECT_EQ(decoded_, (std::vector{Expected(attitude_), Expected(battery_), Expected(battery_)}));
}

TEST_F(TelemetryDecoderTest, NineBytesStraddlingTwoFramesAreAcceptedWhenTheyLookLikeOne)
{
    // The first frame ends in 55 A2 BB, and the second has BB at its offset 5:
    // the nine bytes from the first's offset 6 form a frame of type 0xA2.
    const TelemetryFrame first = FrameOf(0xA1, {0, 0, 0, 0, 0x55, 0xA2});
    const TelemetryFrame second = FrameOf(0xA1, {0x10, 0x20, 0x30, 0xBB, 0, 0});
    auto stream = BytesOf(first);
    const auto tail = BytesOf(second);
    stream.insert(stream.end(), tail.begin(), tail.end());
    read(stream);

    const TelemetryFrame straddling{{0x55, 0xA2, 0xBB, 0x55, 0xA1, 0x10, 0x20, 0x30, 0xBB}};
    EXPECT_EQ(decoded_, (std::vector{Expected(first), Expected(straddling), Expected(second)}));
}

TEST_F(TelemetryDecoderTest, WrongTypeOrTrailerIsDroppedSilently)
{
    read({0x55, 0xAD, 1, 2, 3, 4, 5, 6, 0xBB});  // type past the last
    read({0x55, 0x9F, 1, 2, 3, 4, 5, 6, 0xBB});  // type before the first
    read({0x55, 0xA0, 1, 2, 3, 4, 5, 6, 0xBA});  // wrong trailer
    read({0x54, 0xA0, 1, 2, 3, 4, 5, 6, 0xBB});  // wrong header
    EXPECT_TRUE(decoded_.empty());
    read(BytesOf(attitude_));
    EXPECT_EQ(decoded_, std::vector{Expected(attitude_)});
}

TEST_F(TelemetryDecoderTest, LeadingPartialFrameIsLostAndNoiseIsSkipped)
{
    const auto bytes = BytesOf(attitude_);
    std::vector<std::uint8_t> stream(bytes.begin() + 4, bytes.end());  // started mid-frame
    stream.insert(stream.end(), {0x00, 0xFF, 0x55, 0xBB, 0x55});     // noise
    const auto whole = BytesOf(battery_);
    stream.insert(stream.end(), whole.begin(), whole.end());
    read(stream);
    EXPECT_EQ(decoded_, std::vector{Expected(battery_)});
}

TEST_F(TelemetryDecoderTest, WindowStartsAtZeroAndIsNeverCleared)
{
    EXPECT_EQ(decoder_.window(), TelemetryFrame{});
    // The last bytes before a disconnect meet the first after the reconnect.
    const auto bytes = BytesOf(attitude_);
    read({bytes.begin(), bytes.begin() + 7});
    read({bytes.begin() + 7, bytes.end()});
    EXPECT_EQ(decoded_, std::vector{Expected(attitude_)});
    EXPECT_EQ(decoder_.window(), attitude_);
}

TEST_F(TelemetryDecoderTest, SameReadHandedBackAgainIsDecodedAgain)
{
    // The port hands the previous read back when it had to discard input.
    read(BytesOf(battery_));
    read(BytesOf(battery_));
    EXPECT_EQ(decoded_, (std::vector{Expected(battery_), Expected(battery_)}));
}

} // namespace
} // namespace protocol
