// What each Save and calibration button puts on the wire, read at the
// controller's end of a real pseudo-terminal; what a text that is not a number
// does; and that nothing leaves while the window is disconnected.
#include "SettingsOnPty.h"

#include <QElapsedTimer>

namespace settingstest {
namespace {

struct WireCase {
    const char* name;
    Action action; // what the user does before the click; empty: nothing
    const char* button;
    Bytes expected;
    std::vector<std::pair<const char*, std::string>> texts = {}; // what edits show afterwards
};

void PrintTo(const WireCase& c, std::ostream* os) { *os << c.name; }

class SaveButtons : public SettingsOnPty, public ::testing::WithParamInterface<WireCase> {};

TEST_P(SaveButtons, PutTheirFrameOnTheWire)
{
    const WireCase& c = GetParam();
    if (c.action)
        c.action(*form);
    Click(c.button);
    EXPECT_EQ(WrittenUpToMarker(c.expected.size()), Then(c.expected, StopCalibrationFrame));
    for (const auto& [edit, text] : c.texts)
        EXPECT_EQ(Edit(edit)->Text(), text) << edit;
    EXPECT_TRUE(capture.texts().empty()) << ::testing::PrintToString(capture.texts());
}

INSTANTIATE_TEST_SUITE_P(
    Settings, SaveButtons,
    ::testing::Values(
        // Parameter columns: the value edit's text counts, never the slider.
        WireCase{"GyroUntouchedSendsItsTextNotTheSlider", {}, "bsSkinButton7", {0x55, 0x10, 0x00, 0xAC}},
        WireCase{"GyroTypedFractionIsTruncated", Type("bsSkinEdit23", "16.7"), "bsSkinButton7",
                 {0x55, 0x10, 0x00, 0xAC}},
        WireCase{"GyroTypedNegativeInTwosComplement", Type("bsSkinEdit23", "-5"), "bsSkinButton7",
                 {0x55, 0xFB, 0xFF, 0xAC}},
        WireCase{"GyroTypedBeyondSixteenBitsKeepsTheLowBits", Type("bsSkinEdit23", "70000"), "bsSkinButton7",
                 {0x55, 0x70, 0x11, 0xAC}},
        WireCase{"GyroTypedBeyondTheSliderIsSentAsTyped", Type("bsSkinEdit23", " 1e2 "), "bsSkinButton7",
                 {0x55, 0x64, 0x00, 0xAC}, {{"bsSkinEdit23", " 1e2 "}}},
        WireCase{"AuxUntouched", {}, "bsSkinButton3", {0x55, 0x44, 0x00, 0xAB}},
        WireCase{"AuxSliderAt68", Slide("bsSkinSlider1", {68}), "bsSkinButton3", {0x55, 0x44, 0x00, 0xAB},
                 {{"bsSkinEdit8", "6.8"}}},
        WireCase{"AuxSliderBackTo60IsWhole", Slide("bsSkinSlider1", {70, 60}), "bsSkinButton3",
                 {0x55, 0x3C, 0x00, 0xAB}, {{"bsSkinEdit8", "6"}}},
        WireCase{"AltUntouched", {}, "bsSkinButton4", {0x55, 0xB0, 0x04, 0xAD}},
        WireCase{"AltSliderAtItsMaximum", Slide("bsSkinSlider2", {20}), "bsSkinButton4", {0x55, 0xD0, 0x07, 0xAD},
                 {{"bsSkinEdit14", "20"}}},
        WireCase{"LowVoltageUntouched", {}, "bsSkinButton5", {0x55, 0x6C, 0x00, 0xAE}},
        WireCase{"LowVoltageSliderAtItsMinimum", Slide("bsSkinSlider3", {30}), "bsSkinButton5",
                 {0x55, 0x1E, 0x00, 0xAE}, {{"bsSkinEdit16", "3"}}},
        WireCase{"LowVoltageSliderAtItsMaximum", Slide("bsSkinSlider3", {250}), "bsSkinButton5",
                 {0x55, 0xFA, 0x00, 0xAE}, {{"bsSkinEdit16", "25"}}},
        // Limits: clamped on the wire, the edit keeps what was typed.
        WireCase{"RangeUntouched", {}, "bsSkinButton12", {0x66, 0xE8, 0x03, 0xAA}},
        WireCase{"RangeAboveTheLimitIsClamped", Type("bsSkinEdit44", "6000"), "bsSkinButton12",
                 {0x66, 0x88, 0x13, 0xAA}, {{"bsSkinEdit44", "6000"}}},
        WireCase{"RangeMinusOneIsClamped", Type("bsSkinEdit44", "-1"), "bsSkinButton12", {0x66, 0x88, 0x13, 0xAA}},
        WireCase{"RangeBeyondSixteenBitsKeepsTheLowBits", Type("bsSkinEdit44", "70000"), "bsSkinButton12",
                 {0x66, 0x70, 0x11, 0xAA}},
        WireCase{"HeightUntouched", {}, "bsSkinButton13", {0x66, 0xF4, 0x01, 0xAB}},
        WireCase{"HeightAboveTheLimitIsClamped", Type("bsSkinEdit46", "3000"), "bsSkinButton13",
                 {0x66, 0xC4, 0x09, 0xAB}, {{"bsSkinEdit46", "3000"}}},
        // Choices: with nothing picked the list's initial text is sent.
        WireCase{"AirframeUntouchedSendsX4", {}, "bsSkinButton6", {0x55, 0x01, 0x00, 0xAF}},
        WireCase{"AirframePicked", Pick("bsSkinComboBox2", "QAV250"), "bsSkinButton6", {0x55, 0x07, 0x00, 0xAF}},
        WireCase{"ReceiverUntouchedSendsPwm", {}, "bsSkinButton8", {0x55, 0x00, 0x00, 0xBB}},
        WireCase{"ReceiverPicked", Pick("bsSkinComboBox3", "PPM"), "bsSkinButton8", {0x55, 0x02, 0x00, 0xBB}},
        WireCase{"ReceiverListShowingNothingSendsNothing",
                 [](console::TForm1& form) { form.bsSkinComboBox3->SetItemIndex(-1); }, "bsSkinButton8", {}},
        WireCase{"ArmedSpeedUntouchedSendsHigh", {}, "bsSkinButton14", {0x66, 0x00, 0x00, 0xAC}},
        WireCase{"ArmedSpeedPicked", Pick("bsSkinComboBox4", "Off"), "bsSkinButton14", {0x66, 0x02, 0x00, 0xAC}},
        // Calibrations: fixed frames, no state kept.
        WireCase{"StartStickCalibration", {}, "bsSkinButton9", {0x55, 0x01, 0x00, 0xBA}},
        WireCase{"StopStickCalibrationWithoutAStart", {}, "bsSkinButton10", {0x55, 0x00, 0x00, 0xBA}},
        WireCase{"ImuCalibrationSharesRangeLimitsCode", {}, "bsSkinButton11", {0x55, 0x01, 0x00, 0xAA}}),
    [](const ::testing::TestParamInfo<WireCase>& info) { return std::string(info.param.name); });

struct ErrorCase {
    const char* name;
    const char* edit;
    const char* typed;
    const char* button;
    const char* report;
};

void PrintTo(const ErrorCase& c, std::ostream* os) { *os << c.name; }

class TextThatIsNotANumber : public SettingsOnPty, public ::testing::WithParamInterface<ErrorCase> {};

TEST_P(TextThatIsNotANumber, IsReportedAndSendsNothing)
{
    const ErrorCase& c = GetParam();
    Type(c.edit, c.typed)(*form);
    Click(c.button);
    ASSERT_EQ(capture.messages().size(), 1u) << ::testing::PrintToString(capture.texts());
    EXPECT_EQ(capture.messages()[0].text, c.report);
    EXPECT_EQ(capture.messages()[0].icon, platform::MessageIcon::Error);
    EXPECT_EQ(WrittenUpToMarker(0), StopCalibrationFrame);
    EXPECT_EQ(Edit(c.edit)->Text(), c.typed) << "the text stays for the user to correct";
}

INSTANTIATE_TEST_SUITE_P(
    Settings, TextThatIsNotANumber,
    ::testing::Values(
        ErrorCase{"GyroWord", "bsSkinEdit23", "abc", "bsSkinButton7", "'abc' is not a valid floating point value."},
        ErrorCase{"GyroEmpty", "bsSkinEdit23", "", "bsSkinButton7", "'' is not a valid floating point value."},
        ErrorCase{"GyroWithAForeignSeparator", "bsSkinEdit23", "16,7", "bsSkinButton7",
                  "'16,7' is not a valid floating point value."},
        ErrorCase{"RangeWithAFraction", "bsSkinEdit44", "12.5", "bsSkinButton12",
                  "'12.5' is not a valid integer value."},
        ErrorCase{"HeightBeyondThirtyTwoBits", "bsSkinEdit46", "3000000000", "bsSkinButton13",
                  "'3000000000' is not a valid integer value."}),
    [](const ::testing::TestParamInfo<ErrorCase>& info) { return std::string(info.param.name); });

// The flag, not the state of the port, decides: with the flag cleared on an
// open port, no button writes a byte.
TEST_F(SettingsOnPty, ClearedConnectedFlagWritesNothingEvenOnAnOpenPort)
{
    session->PortConnected = 0;
    for (const char* button : {"bsSkinButton7", "bsSkinButton3", "bsSkinButton4", "bsSkinButton5", "bsSkinButton12",
                               "bsSkinButton13", "bsSkinButton6", "bsSkinButton8", "bsSkinButton14", "bsSkinButton9",
                               "bsSkinButton10", "bsSkinButton11", "bsSkinButton15"})
        Click(button);
    session->PortConnected = 1;
    EXPECT_EQ(WrittenUpToMarker(0), StopCalibrationFrame);
    EXPECT_TRUE(capture.texts().empty()) << ::testing::PrintToString(capture.texts());
}

class DisconnectedSettings : public consoletest::ConsoleWindow {
protected:
    void SetUp() override { StartWindow({}); }
};

// Before any connection the port component would complain that no port is
// open; the panels must not get that far.
TEST_F(DisconnectedSettings, ButtonsShowNoMessageAndDefaultsStillResetTheTexts)
{
    Type("bsSkinEdit44", "4000")(*form);
    for (const char* button : {"bsSkinButton7", "bsSkinButton3", "bsSkinButton4", "bsSkinButton5", "bsSkinButton12",
                               "bsSkinButton13", "bsSkinButton6", "bsSkinButton8", "bsSkinButton14", "bsSkinButton9",
                               "bsSkinButton10", "bsSkinButton11"})
        Click(button);
    EXPECT_TRUE(capture.texts().empty()) << ::testing::PrintToString(capture.texts());

    QElapsedTimer elapsed;
    elapsed.start();
    Click("bsSkinButton15");
    EXPECT_GE(elapsed.elapsed(), 900) << "every step pauses, sent or not";
    EXPECT_EQ(form->bsSkinEdit44->Text(), "1000");
    EXPECT_TRUE(capture.texts().empty()) << ::testing::PrintToString(capture.texts());
}

TEST_F(DisconnectedSettings, TextThatIsNotANumberIsReportedAnyway)
{
    Type("bsSkinEdit46", "high")(*form);
    Click("bsSkinButton13");
    EXPECT_EQ(capture.texts(), std::vector<std::string>{"'high' is not a valid integer value."});
}

} // namespace
} // namespace settingstest
