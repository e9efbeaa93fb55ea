// Building frames from quantities (the simulator's direction): inverse scales,
// rounding to the nearest word, clamping, and agreement with the decoder.
#include "TelemetryCodec.h"
#include "TelemetryTestFrames.h"

#include <gtest/gtest.h>

#include <random>

namespace protocol {
namespace {

using testing::FrameOf;
using testing::FrameOfWords;

TEST(TelemetryEncodeTest, WritesWordsLittleEndianWithMarkers)
{
    const TelemetryFrame frame = EncodeTelemetry(AttitudeTelemetry{475.35f, -180.0f, 0.0f});
    EXPECT_EQ(frame, (TelemetryFrame{{0x55, 0xA0, 0xFF, 0xFF, 0x00, 0x00, 0x50, 0x46, 0xBB}}));
}

TEST(TelemetryEncodeTest, RoundsToNearestWordAndClampsIntoRange)
{
    EXPECT_EQ(EncodeTelemetry(AttitudeTelemetry{1000.0f, -500.0f, 0.004f}), FrameOfWords(0xA0, 65535, 0, 18000));
    EXPECT_EQ(EncodeTelemetry(AttitudeTelemetry{0.006f, 0.0f, 0.0f}), FrameOfWords(0xA0, 18001, 18000, 18000));
    EXPECT_EQ(EncodeTelemetry(BatteryHeadingTelemetry{12.6, 45.0, 359.99}), FrameOfWords(0xA5, 126, 4500, 35999));
    EXPECT_EQ(EncodeTelemetry(AltitudeTelemetry{-40000, 40000, 12.0}), FrameOfWords(0xA6, 0, 65535, 1200));
    EXPECT_EQ(EncodeTelemetry(Channels4To6Telemetry{1000, 1351, 1701}), FrameOfWords(0xA3, 12000, 16212, 20412));
    EXPECT_EQ(EncodeTelemetry(MotorsTelemetry{{100.776, -1.0, 1000.0, 0.4, 0.0, 0.0}}),
              FrameOf(0xAC, {255, 0, 255, 1, 0, 0}));
}

TEST(TelemetryEncodeTest, EmptyChoiceIsWrittenAsFirstIndexPastTheList)
{
    EXPECT_EQ(EncodeTelemetry(GainsTelemetry{16.0f, std::nullopt, 1.2, 6.8f}), FrameOf(0xA4, {0x40, 0x06, 8, 12, 68, 0}));
    EXPECT_EQ(EncodeTelemetry(ReceiverTelemetry{std::nullopt, 10.8, 0.0, 0.0}), FrameOf(0xAA, {0, 3, 108, 0, 0, 0}));
    EXPECT_EQ(EncodeTelemetry(LimitsTelemetry{1000, 500, std::nullopt}), FrameOfWords(0xAB, 1000, 500, 3));
}

// Whatever a frame carries, encoding its quantities gives a frame that decodes
// to the same quantities: both directions share one layout.
TEST(TelemetryEncodeTest, EncodingDecodedQuantitiesReproducesThem)
{
    std::mt19937 random(7);
    for (int type = 0xA0; type <= 0xAC; ++type) {
        for (int run = 0; run < 2000; ++run) {
            TelemetryFrame frame = TelemetryFrame::OfType(static_cast<std::uint8_t>(type));
            for (std::size_t i = 0; i < kTelemetryPayloadSize; ++i)
                frame.setPayload(i, static_cast<std::uint8_t>(random()));
            const Telemetry decoded = *DecodeTelemetry(frame);
            const auto again = DecodeTelemetry(EncodeTelemetry(decoded));
            ASSERT_TRUE(again.has_value());
            ASSERT_TRUE(*again == decoded) << "type " << std::hex << type;
        }
    }
}

} // namespace
} // namespace protocol
