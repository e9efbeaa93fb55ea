// What each frame type is worth: frame bytes → the quantities the console
// shows. Float quantities are written as float literals (the value the format
// holds in single precision); double quantities as the product the format
// defines, since the exact double (126 × 0.1 is 12.600000000000001) is what
// the display then formats.
#include "TelemetryCodec.h"
#include "TelemetryTestFrames.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>

namespace protocol {
namespace {

using testing::FrameOf;
using testing::FrameOfWords;

struct QuantitiesCase {
    const char* name;
    TelemetryFrame frame;
    Telemetry expected;
};

void PrintTo(const QuantitiesCase& c, std::ostream* os) { *os << c.name; }

class TelemetryQuantitiesTest : public ::testing::TestWithParam<QuantitiesCase> {};

TEST_P(TelemetryQuantitiesTest, DecodesFrameToQuantities)
{
    const auto decoded = DecodeTelemetry(GetParam().frame);
    ASSERT_TRUE(decoded.has_value());
    EXPECT_EQ(decoded->index(), GetParam().expected.index());
    EXPECT_TRUE(*decoded == GetParam().expected);
}

constexpr double kMotorFull = (255 * 38) * 0.0104; // 100.776

const QuantitiesCase kCases[] = {
    {"RollTopOfWordIsUnclamped", FrameOfWords(0xA0, 65535, 0, 18000), AttitudeTelemetry{475.35f, -180.0f, 0.0f}},
    // Subtracting in double before rounding keeps 0.01; rounding 180.01 to float
    // first would give 0.0099945.
    {"AttitudeOffsetSubtractedBeforeRounding", FrameOfWords(0xA0, 18001, 17999, 36000),
     AttitudeTelemetry{0.01f, -0.01f, 180.0f}},
    {"GyroCentreAndEnds", FrameOfWords(0xA1, 30000, 0, 30001), GyroTelemetry{0.0f, -300.0f, 0.01f}},
    {"ChannelsDivideByTwelve", FrameOfWords(0xA2, 18000, 11, 65535), Channels1To3Telemetry{1500, 0, 5461}},
    {"ModeChannelsDivideByTwelve", FrameOfWords(0xA3, 12000, 16212, 20412), Channels4To6Telemetry{1000, 1351, 1701}},
    {"GainsWithKnownAirframe", FrameOf(0xA4, {0x40, 0x06, 7, 12, 68, 0}), GainsTelemetry{16.0f, 7, 12 * 0.1, 6.8f}},
    {"AirframeEightIgnoredGainsStillDelivered", FrameOf(0xA4, {0x40, 0x06, 8, 10, 68, 0}),
     GainsTelemetry{16.0f, std::nullopt, 10 * 0.1, 6.8f}},
    {"BatteryAzimuthHeading", FrameOfWords(0xA5, 126, 4500, 35999), BatteryHeadingTelemetry{126 * 0.1, 45.0, 35999 * 0.01}},
    {"AltitudeAtOffset", FrameOfWords(0xA6, 32768, 65535, 1200), AltitudeTelemetry{0, 32767, 12.0}},
    {"AltitudeAtBottom", FrameOfWords(0xA6, 0, 32767, 0), AltitudeTelemetry{-32768, -1, 0.0}},
    {"PositionEnds", FrameOfWords(0xA7, 0, 36000, 65535), PositionTelemetry{-90.0, 180.0, 65535}},
    {"PositionFraction", FrameOfWords(0xA7, 13512, 1, 12), PositionTelemetry{13512 * 0.01 - 90, 0.01 - 180, 12}},
    {"MagnetometerOffsetOne", FrameOfWords(0xA8, 100, 0, 200), MagnetometerTelemetry{0.0, -1.0, 1.0}},
    {"AccelerometerOffsetTen", FrameOfWords(0xA9, 1000, 0, 2000), AccelerometerTelemetry{0.0, -10.0, 10.0}},
    {"ReceiverTypePpmAndMotors", FrameOf(0xAA, {0xEE, 2, 108, 0, 255, 1}),
     ReceiverTelemetry{2, 108 * 0.1, kMotorFull, 38 * 0.0104}},
    {"ReceiverTypeThreeIgnoredRestDelivered", FrameOf(0xAA, {0, 3, 30, 0, 0, 255}),
     ReceiverTelemetry{std::nullopt, 3.0, 0.0, kMotorFull}},
    {"LimitsAndArmedSpeed", FrameOfWords(0xAB, 1000, 500, 2), LimitsTelemetry{1000, 500, 2}},
    {"ArmedSpeedThreeIgnoredLimitsDelivered", FrameOfWords(0xAB, 5000, 2500, 3), LimitsTelemetry{5000, 2500, std::nullopt}},
    {"ArmedSpeedIsAWordNotAByte", FrameOfWords(0xAB, 0, 0, 256), LimitsTelemetry{0, 0, std::nullopt}},
    {"MotorsThreeToEight", FrameOf(0xAC, {255, 0, 1, 2, 100, 254}),
     MotorsTelemetry{{kMotorFull, 0.0, 38 * 0.0104, 76 * 0.0104, 3800 * 0.0104, 9652 * 0.0104}}},
};

INSTANTIATE_TEST_SUITE_P(Frames, TelemetryQuantitiesTest, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(TelemetryQuantitiesTest, FullMotorIsOneHundredPointSevenSevenSix)
{
    EXPECT_DOUBLE_EQ(kMotorFull, 100.776);
}

TEST(TelemetryFrameTest, OnlyHeaderKnownTypeAndTrailerMakeAFrame)
{
    EXPECT_TRUE(FrameOf(0xA0, {}).isValid());
    EXPECT_TRUE(FrameOf(0xAC, {}).isValid());
    EXPECT_FALSE(FrameOf(0x9F, {}).isValid());
    EXPECT_FALSE(FrameOf(0xAD, {}).isValid());
    EXPECT_FALSE(DecodeTelemetry(FrameOf(0xAD, {})).has_value());
    TelemetryFrame wrongTrailer = FrameOf(0xA0, {});
    wrongTrailer.bytes[8] = 0xBA;
    EXPECT_FALSE(DecodeTelemetry(wrongTrailer).has_value());
}

} // namespace
} // namespace protocol
