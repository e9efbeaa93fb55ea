// Reading numbers typed by the user: what is accepted, what value it gives,
// and the exact message of a rejection.
#include "Exception.h"
#include "NumberFormat.h"

#include <gtest/gtest.h>

#include <cmath>
#include <ostream>
#include <string>

namespace {

struct FloatCase {
    const char* name;
    const char* text;
    char separator;
    double expected;
};

void PrintTo(const FloatCase& c, std::ostream* os) { *os << c.name << " '" << c.text << "'"; }

class StrToFloatAccepts : public testing::TestWithParam<FloatCase> {};

TEST_P(StrToFloatAccepts, ReadsValue)
{
    const double value = platform::StrToFloat(GetParam().text, GetParam().separator);
    EXPECT_DOUBLE_EQ(value, GetParam().expected);
    EXPECT_EQ(std::signbit(value), std::signbit(GetParam().expected));
}

const FloatCase kFloatAccepted[] = {
    {"Whole", "16", '.', 16.0},
    {"BlanksAround", "  16.7  ", '.', 16.7},
    {"Tabs", "\t3\t", '.', 3.0},
    {"Negative", "-5", '.', -5.0},
    {"ExplicitPlus", "+5", '.', 5.0},
    {"Exponent", "1e3", '.', 1000.0},
    {"ExponentUpperCaseNegative", "1E-2", '.', 0.01},
    {"ExponentWithPlus", "2.5e+1", '.', 25.0},
    {"NoIntegerDigits", ".5", '.', 0.5},
    {"NoFractionDigits", "5.", '.', 5.0},
    {"DecimalComma", "6,8", ',', 6.8},
    {"NegativeZero", "-0", '.', -0.0},
    {"UnderflowReadsZero", "1e-400", '.', 0.0},
    {"UnderflowLongFraction", "0.0000001e-320", '.', 0.0},
    {"LargeButInRange", "1.5e308", '.', 1.5e308},
};

INSTANTIATE_TEST_SUITE_P(Texts, StrToFloatAccepts, testing::ValuesIn(kFloatAccepted),
                         [](const auto& info) { return std::string(info.param.name); });

struct RejectCase {
    const char* name;
    const char* text;
    char separator;
};

void PrintTo(const RejectCase& c, std::ostream* os) { *os << c.name << " '" << c.text << "'"; }

class StrToFloatRejects : public testing::TestWithParam<RejectCase> {};

TEST_P(StrToFloatRejects, NamesTextAsItStood)
{
    try {
        platform::StrToFloat(GetParam().text, GetParam().separator);
        FAIL() << "accepted";
    } catch (const platform::EConvertError& error) {
        EXPECT_EQ(std::string(error.what()),
                  "'" + std::string(GetParam().text) + "' is not a valid floating point value");
    }
}

const RejectCase kFloatRejected[] = {
    {"Empty", "", '.'},
    {"OnlyBlanks", "   ", '.'},
    {"Letters", "abc", '.'},
    {"TwoSeparators", "1.2.3", '.'},
    {"CommaWhenPointExpected", "1,5", '.'},
    {"PointWhenCommaExpected", "1.5", ','},
    {"ExponentWithoutMantissa", "e5", '.'},
    {"ExponentWithoutDigits", "1e", '.'},
    {"ExponentSignWithoutDigits", "1e+", '.'},
    {"DoubleSign", "--1", '.'},
    {"MixedSigns", "+-1", '.'},
    {"InnerBlank", "1 2", '.'},
    {"Hexadecimal", "0x10", '.'},
    {"Overflow", "1e400", '.'},
    {"Infinity", "inf", '.'},
    {"NotANumber", "nan", '.'},
    {"SeparatorAlone", ".", '.'},
    {"SignAlone", "-", '.'},
    {"TrailingLetters", "1.5abc", '.'},
    {"BlankBeforeSeparator", "12 ,5", ','},
};

INSTANTIATE_TEST_SUITE_P(Texts, StrToFloatRejects, testing::ValuesIn(kFloatRejected),
                         [](const auto& info) { return std::string(info.param.name); });

struct IntCase {
    const char* name;
    const char* text;
    std::int32_t expected;
};

void PrintTo(const IntCase& c, std::ostream* os) { *os << c.name << " '" << c.text << "'"; }

class StrToIntAccepts : public testing::TestWithParam<IntCase> {};

TEST_P(StrToIntAccepts, ReadsValue)
{
    EXPECT_EQ(platform::StrToInt(GetParam().text), GetParam().expected);
}

const IntCase kIntAccepted[] = {
    {"Plain", "1000", 1000},
    {"BlanksBeforeNegative", "  -1", -1},
    {"ExplicitPlus", "+5", 5},
    {"LeadingZeros", "007", 7},
    {"BeyondSixteenBits", "70000", 70000},
    {"Largest", "2147483647", 2147483647},
    {"Smallest", "-2147483648", -2147483647 - 1},
};

INSTANTIATE_TEST_SUITE_P(Texts, StrToIntAccepts, testing::ValuesIn(kIntAccepted),
                         [](const auto& info) { return std::string(info.param.name); });

class StrToIntRejects : public testing::TestWithParam<RejectCase> {};

TEST_P(StrToIntRejects, NamesTextAsItStood)
{
    try {
        platform::StrToInt(GetParam().text);
        FAIL() << "accepted";
    } catch (const platform::EConvertError& error) {
        EXPECT_EQ(std::string(error.what()), "'" + std::string(GetParam().text) + "' is not a valid integer value");
    }
}

const RejectCase kIntRejected[] = {
    {"Empty", "", '.'},
    {"OnlyBlanks", "  ", '.'},
    {"JustAboveRange", "2147483648", '.'},
    {"JustBelowRange", "-2147483649", '.'},
    {"FarBeyondRange", "99999999999999999999999", '.'},
    {"Fraction", "1.5", '.'},
    {"Exponent", "1e3", '.'},
    {"TrailingBlank", "5 ", '.'},
    {"Letters", "abc", '.'},
    {"SignAlone", "-", '.'},
    {"DoubleSign", "--5", '.'},
    {"Hexadecimal", "0x10", '.'},
};

INSTANTIATE_TEST_SUITE_P(Texts, StrToIntRejects, testing::ValuesIn(kIntRejected),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
