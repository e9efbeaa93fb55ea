// The texts the windows print: each case names the value as the decoder
// computes it (the very double or float), so the rounding under test is the
// one that happens on screen.
#include "NumberFormat.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>

namespace {

enum class Format { TwoDecimals, FourDecimals, OneDecimal, General };

struct FormatCase {
    const char* name;
    Format format;
    double value;
    char separator;
    const char* expected;
};

void PrintTo(const FormatCase& c, std::ostream* os) { *os << c.name; }

std::string Apply(const FormatCase& c)
{
    switch (c.format) {
    case Format::TwoDecimals: return platform::FormatTwoDecimals(c.value, c.separator);
    case Format::FourDecimals: return platform::FormatFourDecimals(c.value, c.separator);
    case Format::OneDecimal: return platform::FormatOneDecimal(c.value, c.separator);
    case Format::General: return platform::FormatGeneral(c.value, c.separator);
    }
    return {};
}

class NumberFormatTest : public testing::TestWithParam<FormatCase> {};

TEST_P(NumberFormatTest, PrintsExpectedText)
{
    EXPECT_EQ(Apply(GetParam()), GetParam().expected);
}

const FormatCase kFormatCases[] = {
    // "0.00": attitude, gyro, magnetometer, motors.
    {"RollAtTopOfRange", Format::TwoDecimals, static_cast<float>(65535 * 0.01 - 180), '.', "475.35"},
    {"RollAtBottom", Format::TwoDecimals, static_cast<float>(0 * 0.01 - 180), '.', "-180.00"},
    {"NegativeBelowOneDegree", Format::TwoDecimals, static_cast<float>(17999 * 0.01 - 180), '.', "-0.01"},
    {"TinyNegativeHasNoMinus", Format::TwoDecimals, -0.001, '.', "0.00"},
    {"NegativeZeroHasNoMinus", Format::TwoDecimals, -0.0, '.', "0.00"},
    {"MotorRoundsUp", Format::TwoDecimals, 255 * 38 * 0.0104, '.', "100.78"},
    {"LeadingZeroKept", Format::TwoDecimals, 0.5, '.', "0.50"},
    {"NoGrouping", Format::TwoDecimals, 1234567.891, '.', "1234567.89"},
    {"DecimalComma", Format::TwoDecimals, -179.99, ',', "-179,99"},
    // "0.0000": latitude and longitude.
    {"LatitudeFourDecimals", Format::FourDecimals, 13512 * 0.01 - 90, '.', "45.1200"},
    {"LongitudeNegative", Format::FourDecimals, 1 * 0.01 - 180, '.', "-179.9900"},
    {"FourDecimalsComma", Format::FourDecimals, -90.0, ',', "-90,0000"},
    // "0.0": the firmware version.
    {"VersionTwelve", Format::OneDecimal, 12 * 0.1, '.', "1.2"},
    {"VersionTenKeepsDecimal", Format::OneDecimal, 10 * 0.1, '.', "1.0"},
    {"VersionComma", Format::OneDecimal, 25 * 0.1, ',', "2,5"},
    // General: battery, heading, altitude, settings echoes.
    {"BatteryHidesBinaryNoise", Format::General, 126 * 0.1, '.', "12.6"},
    {"WholeValueHasNoSeparator", Format::General, 120 * 0.1, '.', "12"},
    {"AltitudeAtBottom", Format::General, 0.0 - 32768, '.', "-32768"},
    {"HeadingTopOfCircle", Format::General, 35999 * 0.01, '.', "359.99"},
    {"AuxGainEcho", Format::General, 68 * 0.1, '.', "6.8"},
    {"LowVoltageEcho", Format::General, 108 * 0.1, '.', "10.8"},
    {"LargestWord", Format::General, 65535 * 0.01, '.', "655.35"},
    {"Zero", Format::General, 0.0, '.', "0"},
    {"NegativeZero", Format::General, -0.0, '.', "0"},
    {"SmallFraction", Format::General, 0.0001, '.', "0.0001"},
    {"FifteenDigitsNoExponent", Format::General, 123456789012345.0, '.', "123456789012345"},
    {"GeneralComma", Format::General, 126 * 0.1, ',', "12,6"},
};

INSTANTIATE_TEST_SUITE_P(Texts, NumberFormatTest, testing::ValuesIn(kFormatCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(IntegerFormatTest, WritesMinusOnlyForNegatives)
{
    EXPECT_EQ(platform::FormatInteger(-32768), "-32768");
    EXPECT_EQ(platform::FormatInteger(0), "0");
    EXPECT_EQ(platform::FormatInteger(1500), "1500");
    EXPECT_EQ(platform::FormatInteger(65535), "65535");
}

// Whatever the windows print must read back as the value shown: the heading
// instrument and the flight-mode highlight parse the texts just written.
TEST(NumberRoundTripTest, GeneralTextReadsBackAsPrintedValue)
{
    for (const char separator : {'.', ','}) {
        for (int word = 0; word <= 65535; word += 7) {
            const double heading = word * 0.01;
            const std::string text = platform::FormatGeneral(heading, separator);
            ASSERT_EQ(platform::FormatGeneral(platform::StrToFloat(text, separator), separator), text);
            ASSERT_NEAR(platform::StrToFloat(text, separator), heading, 1e-9);
        }
    }
}

} // namespace
