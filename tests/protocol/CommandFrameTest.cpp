// Command frames on the wire: from a control's text to the four bytes, the
// command table and its defaults, and the conversion errors the user sees.
#include "CommandFrame.h"
#include "Exception.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

namespace protocol {
namespace {

using Bytes = std::array<std::uint8_t, kCommandFrameSize>;

struct WireCase {
    const char* name;
    Command command;
    const char* text;
    char separator;
    Bytes expected;
};

void PrintTo(const WireCase& c, std::ostream* os) { *os << c.name << " '" << c.text << "'"; }

class CommandWireTest : public ::testing::TestWithParam<WireCase> {};

TEST_P(CommandWireTest, TextGivesWireBytes)
{
    const auto frame = BuildCommandFrame(GetParam().command, GetParam().text, GetParam().separator);
    ASSERT_TRUE(frame.has_value());
    EXPECT_EQ(frame->bytes, GetParam().expected);
}

const WireCase kWireCases[] = {
    {"GyroGainWhole", Command::GyroGain, "16", '.', {0x55, 0x10, 0x00, 0xAC}},
    {"GyroGainTruncated", Command::GyroGain, "16.7", '.', {0x55, 0x10, 0x00, 0xAC}},
    {"GyroGainNegativeTwosComplement", Command::GyroGain, "-5", '.', {0x55, 0xFB, 0xFF, 0xAC}},
    {"GyroGainLow16Bits", Command::GyroGain, "70000", '.', {0x55, 0x70, 0x11, 0xAC}},
    {"GyroGainNegativeHalfTruncatesToZero", Command::GyroGain, "-0.5", '.', {0x55, 0x00, 0x00, 0xAC}},
    {"GyroGainExponent", Command::GyroGain, " 1e2 ", '.', {0x55, 0x64, 0x00, 0xAC}},
    {"GyroGainBeyondEveryIntegerType", Command::GyroGain, "1e20", '.', {0x55, 0x00, 0x00, 0xAC}},
    {"GyroGainNegativeWraps", Command::GyroGain, "-65537", '.', {0x55, 0xFF, 0xFF, 0xAC}},
    {"AuxGainTenthStep", Command::AuxGain, "6.8", '.', {0x55, 0x44, 0x00, 0xAB}},
    {"AuxGainTruncatesAfterScaling", Command::AuxGain, "6.85", '.', {0x55, 0x44, 0x00, 0xAB}},
    {"AuxGainWhole", Command::AuxGain, "6", '.', {0x55, 0x3C, 0x00, 0xAB}},
    {"AuxGainDecimalComma", Command::AuxGain, "6,8", ',', {0x55, 0x44, 0x00, 0xAB}},
    {"AltGainHundreds", Command::AltGain, "12", '.', {0x55, 0xB0, 0x04, 0xAD}},
    {"AltGainTwenty", Command::AltGain, "20", '.', {0x55, 0xD0, 0x07, 0xAD}},
    {"LowVoltageTenthStep", Command::LowVoltage, "10.8", '.', {0x55, 0x6C, 0x00, 0xAE}},
    {"LowVoltageMinimum", Command::LowVoltage, "3", '.', {0x55, 0x1E, 0x00, 0xAE}},
    {"LowVoltageMaximum", Command::LowVoltage, "25", '.', {0x55, 0xFA, 0x00, 0xAE}},
    {"RangeLimitPlain", Command::RangeLimit, "1000", '.', {0x66, 0xE8, 0x03, 0xAA}},
    {"RangeLimitClamped", Command::RangeLimit, "6000", '.', {0x66, 0x88, 0x13, 0xAA}},
    {"RangeLimitMinusOneIsAllOnesThenClamped", Command::RangeLimit, "-1", '.', {0x66, 0x88, 0x13, 0xAA}},
    {"RangeLimitLow16BitsUnderLimit", Command::RangeLimit, "70000", '.', {0x66, 0x70, 0x11, 0xAA}},
    {"HeightLimitPlain", Command::HeightLimit, "500", '.', {0x66, 0xF4, 0x01, 0xAB}},
    {"HeightLimitClamped", Command::HeightLimit, "3000", '.', {0x66, 0xC4, 0x09, 0xAB}},
    {"AirframeLast", Command::AirframeType, "QAV250", '.', {0x55, 0x07, 0x00, 0xAF}},
    {"AirframeFirst", Command::AirframeType, "+4", '.', {0x55, 0x00, 0x00, 0xAF}},
    {"ReceiverPpm", Command::ReceiverType, "PPM", '.', {0x55, 0x02, 0x00, 0xBB}},
    {"ArmedSpeedOff", Command::ArmedSpeed, "Off", '.', {0x66, 0x02, 0x00, 0xAC}},
};

INSTANTIATE_TEST_SUITE_P(Commands, CommandWireTest, ::testing::ValuesIn(kWireCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(CommandFlagTest, CalibrationsAreFixedFrames)
{
    EXPECT_EQ(BuildCommandFrame(Command::StickCalibration, 1).bytes, (Bytes{0x55, 0x01, 0x00, 0xBA}));
    EXPECT_EQ(BuildCommandFrame(Command::StickCalibration, 0).bytes, (Bytes{0x55, 0x00, 0x00, 0xBA}));
    // Same code byte as RangeLimit, in the other group.
    EXPECT_EQ(BuildCommandFrame(Command::ImuCalibration, 1).bytes, (Bytes{0x55, 0x01, 0x00, 0xAA}));
    EXPECT_THROW(BuildCommandFrame(Command::ImuCalibration, "1", '.'), std::invalid_argument);
}

struct ErrorCase {
    const char* name;
    Command command;
    const char* text;
    char separator;
    const char* message;
};

void PrintTo(const ErrorCase& c, std::ostream* os) { *os << c.name << " '" << c.text << "'"; }

class CommandConversionErrorTest : public ::testing::TestWithParam<ErrorCase> {};

TEST_P(CommandConversionErrorTest, RaisesExactMessage)
{
    try {
        BuildCommandFrame(GetParam().command, GetParam().text, GetParam().separator);
        FAIL() << "no error raised";
    } catch (const platform::EConvertError& error) {
        EXPECT_EQ(std::string(error.what()), GetParam().message);
    }
}

const ErrorCase kErrorCases[] = {
    {"GyroGainLetters", Command::GyroGain, "abc", '.', "'abc' is not a valid floating point value"},
    {"GyroGainEmpty", Command::GyroGain, "", '.', "'' is not a valid floating point value"},
    {"AuxGainPointUnderCommaLocale", Command::AuxGain, "6.8", ',', "'6.8' is not a valid floating point value"},
    {"AltGainProductOverflows", Command::AltGain, "1e308", '.', "'1e308' is not a valid floating point value"},
    {"RangeLimitFraction", Command::RangeLimit, "1.5", '.', "'1.5' is not a valid integer value"},
    {"HeightLimitBlankKept", Command::HeightLimit, " 5x", '.', "' 5x' is not a valid integer value"},
    {"RangeLimitBeyond32Bits", Command::RangeLimit, "4294967296", '.', "'4294967296' is not a valid integer value"},
};

INSTANTIATE_TEST_SUITE_P(Commands, CommandConversionErrorTest, ::testing::ValuesIn(kErrorCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(CommandChoiceTest, TextOutsideTheListGivesNothingToSend)
{
    EXPECT_FALSE(BuildCommandFrame(Command::AirframeType, "", '.').has_value());
    EXPECT_FALSE(BuildCommandFrame(Command::AirframeType, "qav250", '.').has_value());
    EXPECT_FALSE(BuildCommandFrame(Command::ReceiverType, " PPM", '.').has_value());
}

TEST(CommandTableTest, DefaultAllSettingSendsNineFramesInOrder)
{
    std::vector<Bytes> sent;
    for (const Command command : DefaultSettingsSequence())
        sent.push_back(BuildCommandFrame(command, *InfoOf(command).defaultValue).bytes);
    EXPECT_EQ(sent, (std::vector<Bytes>{
                        {0x55, 0x10, 0x00, 0xAC}, {0x55, 0x44, 0x00, 0xAB}, {0x55, 0xB0, 0x04, 0xAD},
                        {0x55, 0x6C, 0x00, 0xAE}, {0x55, 0x01, 0x00, 0xAF}, {0x55, 0x00, 0x00, 0xBB},
                        {0x66, 0xE8, 0x03, 0xAA}, {0x66, 0xF4, 0x01, 0xAB}, {0x66, 0x01, 0x00, 0xAC},
                    }));
}

TEST(CommandTableTest, EachGroupAndCodePairNamesOneCommand)
{
    ASSERT_EQ(CommandTable().size(), 11u);
    for (const CommandInfo& info : CommandTable()) {
        EXPECT_EQ(FindCommand(info.group, info.code), &info) << info.name;
        EXPECT_EQ(&InfoOf(info.command), &info) << info.name;
    }
    EXPECT_EQ(FindCommand(kFlightGroup, 0xAA)->command, Command::ImuCalibration);
    EXPECT_EQ(FindCommand(kLimitsGroup, 0xAA)->command, Command::RangeLimit);
    EXPECT_EQ(FindCommand(kLimitsGroup, 0xAD), nullptr);
    EXPECT_EQ(FindCommand(0x77, 0xAC), nullptr);
    EXPECT_EQ(InfoOf(Command::AuxGain).name, "AuxGain");
}

} // namespace
} // namespace protocol
