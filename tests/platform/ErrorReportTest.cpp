#include "Application.h"
#include "Messages.h"
#include "Exception.h"

#include <gtest/gtest.h>

using platform::MessageCapture;
using platform::MessageIcon;

struct FullStopCase {
    const char* message;
    const char* shown;
};

void PrintTo(const FullStopCase& c, std::ostream* os) { *os << '"' << c.message << '"'; }

class ErrorReportText : public ::testing::TestWithParam<FullStopCase> {};

TEST_P(ErrorReportText, AddsFullStopOnlyAfterCharactersSortingAfterIt)
{
    EXPECT_EQ(platform::ErrorReportText(GetParam().message), GetParam().shown);
}

INSTANTIATE_TEST_SUITE_P(Cases, ErrorReportText,
    ::testing::Values(FullStopCase{"'abc' is not a valid integer value", "'abc' is not a valid integer value."},
                      FullStopCase{"Done.", "Done."},
                      FullStopCase{"Ends with a dash -", "Ends with a dash -"},
                      FullStopCase{"Transfer already in progress...", "Transfer already in progress..."},
                      FullStopCase{"Count: 5", "Count: 5."},
                      FullStopCase{"", ""}));

TEST(RunGuarded, ShowsTheErrorWithIconAndTitleAndEndsOnlyTheHandler)
{
    MessageCapture capture;
    platform::SetApplicationTitle("");
    bool after = false;
    platform::RunGuarded([&] {
        throw platform::EConvertError("'x' is not a valid floating point value");
        after = true;
    });
    ASSERT_EQ(capture.messages().size(), 1u);
    EXPECT_EQ(capture.messages()[0].text, "'x' is not a valid floating point value.");
    EXPECT_EQ(capture.messages()[0].caption, "");
    EXPECT_EQ(capture.messages()[0].icon, MessageIcon::Error);
    EXPECT_FALSE(after);
}

TEST(ShowMessage, GoesThroughTheSinkWithoutIcon)
{
    MessageCapture capture;
    platform::ShowMessage("COM Port is not opened yet!");
    ASSERT_EQ(capture.texts(), std::vector<std::string>{"COM Port is not opened yet!"});
    EXPECT_EQ(capture.messages()[0].icon, MessageIcon::None);
}
