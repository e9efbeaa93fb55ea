// "Default All Setting" and the way the panels follow the controller's echo,
// seen from the controller's end of a real pseudo-terminal.
#include "SettingsOnPty.h"

#include <QElapsedTimer>

namespace settingstest {
namespace {

using consoletest::PayloadFrame;

const Bytes NineDefaults{
    0x55, 0x10, 0x00, 0xAC, // gyro gain 16
    0x55, 0x44, 0x00, 0xAB, // AUX gain 6.8
    0x55, 0xB0, 0x04, 0xAD, // Alt gain 12
    0x55, 0x6C, 0x00, 0xAE, // low voltage 10.8
    0x55, 0x01, 0x00, 0xAF, // airframe "X4"
    0x55, 0x00, 0x00, 0xBB, // receiver "PWM"
    0x66, 0xE8, 0x03, 0xAA, // range limit 1000
    0x66, 0xF4, 0x01, 0xAB, // height limit 500
    0x66, 0x01, 0x00, 0xAC, // armed speed "Low"
};

// Everything the user can change, changed away from the defaults.
void ChangeEverything(console::TForm1& form)
{
    Type("bsSkinEdit23", "30")(form);
    Type("bsSkinEdit44", "4000")(form);
    Type("bsSkinEdit46", "100")(form);
    Slide("bsSkinSlider1", {90})(form);
    Slide("bsSkinSlider2", {18})(form);
    Slide("bsSkinSlider3", {200})(form);
    Pick("bsSkinComboBox2", "QAV250")(form);
    Pick("bsSkinComboBox3", "PPM")(form);
    Pick("bsSkinComboBox4", "Off")(form);
}

TEST_F(SettingsOnPty, DefaultAllSendsTheNineDefaultsInOrderAndResetsOnlyTheValueTexts)
{
    ChangeEverything(*form);
    const int gyroSlider = form->bsSkinSlider4->Position();

    QElapsedTimer elapsed;
    elapsed.start();
    Click("bsSkinButton15");
    // A loose lower bound only: nine pauses of 100 ms, however fast the machine.
    EXPECT_GE(elapsed.elapsed(), 900);

    EXPECT_EQ(WrittenUpToMarker(NineDefaults.size()), Then(NineDefaults, StopCalibrationFrame));
    EXPECT_EQ(form->bsSkinEdit23->Text(), "16");
    EXPECT_EQ(form->bsSkinEdit8->Text(), "6.8");
    EXPECT_EQ(form->bsSkinEdit14->Text(), "12");
    EXPECT_EQ(form->bsSkinEdit16->Text(), "10.8");
    EXPECT_EQ(form->bsSkinEdit44->Text(), "1000");
    EXPECT_EQ(form->bsSkinEdit46->Text(), "500");
    // The sliders wait for the controller's report; the lists keep the user's pick.
    EXPECT_EQ(form->bsSkinSlider4->Position(), gyroSlider);
    EXPECT_EQ(form->bsSkinSlider1->Position(), 90);
    EXPECT_EQ(form->bsSkinSlider2->Position(), 18);
    EXPECT_EQ(form->bsSkinSlider3->Position(), 200);
    EXPECT_EQ(form->bsSkinComboBox2->Text(), "QAV250");
    EXPECT_EQ(form->bsSkinComboBox3->Text(), "PPM");
    EXPECT_EQ(form->bsSkinComboBox4->Text(), "Off");
    EXPECT_EQ(form->bsSkinEdit22->Text(), "0");
    EXPECT_TRUE(capture.texts().empty()) << ::testing::PrintToString(capture.texts());
}

TEST_F(SettingsOnPty, DefaultAllLeavesOutTheChoiceOfAListThatShowsNothing)
{
    form->bsSkinComboBox3->SetItemIndex(-1);
    Click("bsSkinButton15");
    Bytes withoutReceiver = NineDefaults;
    withoutReceiver.erase(withoutReceiver.begin() + 20, withoutReceiver.begin() + 24);
    EXPECT_EQ(WrittenUpToMarker(withoutReceiver.size()), Then(withoutReceiver, StopCalibrationFrame));
}

// The controller echoes its gains; Save sends what the echo put into the value
// edit, until the user moves the slider, which a repeated echo leaves alone.
TEST_F(SettingsOnPty, SaveSendsTheEchoedValueUntilTheUserMovesTheSlider)
{
    const Bytes gains = PayloadFrame(0xA4, {0x40, 0x06, 1, 12, 68, 0}); // gyro 16.00, AUX 6.80
    Send({gains});
    ASSERT_EQ(form->bsSkinEdit7->Text(), "6.80");
    EXPECT_EQ(form->bsSkinSlider1->Position(), 68);
    EXPECT_EQ(form->bsSkinEdit8->Text(), "6.8");
    Click("bsSkinButton3");
    Click("bsSkinButton7");
    EXPECT_EQ(WrittenUpToMarker(8), Then({0x55, 0x44, 0x00, 0xAB, 0x55, 0x10, 0x00, 0xAC}, StopCalibrationFrame));

    Slide("bsSkinSlider1", {90})(*form);
    Send({gains});
    EXPECT_EQ(form->bsSkinSlider1->Position(), 90) << "an unchanged echo does not pull the slider back";
    Click("bsSkinButton3");
    EXPECT_EQ(WrittenUpToMarker(4), Then({0x55, 0x5A, 0x00, 0xAB}, StopCalibrationFrame));

    Send({PayloadFrame(0xA4, {0x40, 0x06, 1, 12, 72, 0})});
    EXPECT_EQ(form->bsSkinEdit8->Text(), "7.2") << "a new value does";
    Click("bsSkinButton3");
    EXPECT_EQ(WrittenUpToMarker(4), Then({0x55, 0x48, 0x00, 0xAB}, StopCalibrationFrame));
    EXPECT_TRUE(capture.texts().empty()) << ::testing::PrintToString(capture.texts());
}

// Written and read back with the user's separator: the defaults and slider texts
// use it, and sending them reads it.
TEST_F(SettingsOnPtyWithComma, ValueTextsUseTheLocaleSeparatorBothWays)
{
    Slide("bsSkinSlider1", {68})(*form);
    ASSERT_EQ(form->bsSkinEdit8->Text(), "6,8");
    Click("bsSkinButton3");
    Type("bsSkinEdit23", "16,7")(*form);
    Click("bsSkinButton7");
    EXPECT_EQ(WrittenUpToMarker(8), Then({0x55, 0x44, 0x00, 0xAB, 0x55, 0x10, 0x00, 0xAC}, StopCalibrationFrame));

    Click("bsSkinButton15");
    EXPECT_EQ(form->bsSkinEdit8->Text(), "6,8");
    EXPECT_EQ(form->bsSkinEdit16->Text(), "10,8");
    EXPECT_EQ(WrittenUpToMarker(NineDefaults.size()), Then(NineDefaults, StopCalibrationFrame));
    EXPECT_TRUE(capture.texts().empty()) << ::testing::PrintToString(capture.texts());
}

} // namespace
} // namespace settingstest
