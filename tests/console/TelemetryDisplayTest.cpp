// Telemetry written to a real pseudo-terminal while the window is connected: the
// texts, colours, gauges, sliders, airframe tile and instruments it produces.
#include "ConsoleWindowFixture.h"

#include "AirframeTiles.h"
#include "Attitude.h"
#include "Heading.h"
#include "Image.h"

#include <QLocale>

#include <variant>

namespace consoletest {
namespace {

// What one control must show after the frames.
struct Check {
    const char* control;
    std::variant<std::string, platform::TColor, int> expected; // text, font colour, gauge or slider value
};

Check TextIs(const char* control, std::string text) { return {control, std::move(text)}; }
Check ColourIs(const char* control, platform::TColor colour) { return {control, colour}; }
Check ValueIs(const char* control, int value) { return {control, value}; }

struct DisplayCase {
    const char* name;
    std::vector<Bytes> frames;
    std::vector<Check> checks;
};

void PrintTo(const DisplayCase& c, std::ostream* os) { *os << c.name; }

constexpr platform::TColor Red = 255;
constexpr platform::TColor Black = 0;

Bytes Channels4To6(int ch4, int ch5, int ch6)
{
    return WordsFrame(0xA3, std::uint16_t(ch4 * 12), std::uint16_t(ch5 * 12), std::uint16_t(ch6 * 12));
}
Bytes Channels1To3(int ch1, int ch2, int ch3)
{
    return WordsFrame(0xA2, std::uint16_t(ch1 * 12), std::uint16_t(ch2 * 12), std::uint16_t(ch3 * 12));
}

std::vector<Check> Ch5Lit(const char* lit)
{
    std::vector<Check> checks;
    for (const char* caption : {"bsSkinEdit35", "bsSkinEdit38", "bsSkinEdit39"})
        checks.push_back(ColourIs(caption, std::string(caption) == lit ? Red : Black));
    return checks;
}
std::vector<Check> Ch6Lit(const char* lit)
{
    std::vector<Check> checks;
    for (const char* caption : {"bsSkinEdit40", "bsSkinEdit41", "bsSkinEdit42"})
        checks.push_back(ColourIs(caption, std::string(caption) == lit ? Red : Black));
    return checks;
}
std::vector<Check> Ch5Unlit() { return {ColourIs("bsSkinEdit35", Black), ColourIs("bsSkinEdit38", Black), ColourIs("bsSkinEdit39", Black)}; }

class TelemetryDisplay : public ConnectedConsole, public ::testing::WithParamInterface<DisplayCase> {
protected:
    void Verify(const Check& check)
    {
        QObject* control = form->findChild<QObject*>(QString::fromLatin1(check.control));
        ASSERT_NE(control, nullptr) << check.control;
        if (const auto* text = std::get_if<std::string>(&check.expected)) {
            EXPECT_EQ(qobject_cast<platform::TEdit*>(control)->Text(), *text) << check.control;
        } else if (const auto* colour = std::get_if<platform::TColor>(&check.expected)) {
            EXPECT_EQ(qobject_cast<platform::TEdit*>(control)->FontColor(), *colour) << check.control;
        } else if (auto* gauge = qobject_cast<platform::TGauge*>(control)) {
            EXPECT_EQ(gauge->Progress(), std::get<int>(check.expected)) << check.control;
        } else {
            EXPECT_EQ(qobject_cast<platform::TSlider*>(control)->Position(), std::get<int>(check.expected))
                << check.control;
        }
    }
};

TEST_P(TelemetryDisplay, ShowsTheFramesWrittenToThePort)
{
    Send(GetParam().frames);
    for (const Check& check : GetParam().checks)
        Verify(check);
    EXPECT_TRUE(capture.texts().empty()) << capture.texts()[0];
}

std::vector<Check> Join(std::vector<Check> a, const std::vector<Check>& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

INSTANTIATE_TEST_SUITE_P(
    EdgeCases, TelemetryDisplay,
    ::testing::Values(
        DisplayCase{"Ch5At1351LightsAltHold", {Channels4To6(1500, 1351, 1351)},
                    Join(Ch5Lit("bsSkinEdit38"), Ch6Lit("bsSkinEdit41"))},
        DisplayCase{"Ch5At1701LightsStabilize", {Channels4To6(1500, 1701, 1701)},
                    Join(Ch5Lit("bsSkinEdit39"), Ch6Lit("bsSkinEdit42"))},
        DisplayCase{"Ch5At1000LightsGps", {Channels4To6(1500, 1000, 1000)},
                    Join(Ch5Lit("bsSkinEdit35"), Ch6Lit("bsSkinEdit40"))},
        DisplayCase{"BoundsLeaveThePreviousHighlight",
                    {Channels4To6(1500, 1351, 1701), Channels4To6(1500, 1350, 1700)},
                    Join(Ch5Lit("bsSkinEdit38"), Ch6Lit("bsSkinEdit42"))},
        DisplayCase{"BoundAtStartLightsNothing", {Channels4To6(1500, 1700, 1350)},
                    Join(Ch5Unlit(), {TextIs("bsSkinEdit20", "1700"), ValueIs("bsSkinSlider5", 1700),
                                      ValueIs("bsSkinSlider6", 1350)})},
        DisplayCase{"GaugesMirrorCh1AndClamp", {Channels1To3(2000, 900, 1250), Channels4To6(1100, 1000, 1000)},
                    {ValueIs("bsSkinGauge1", 1000), ValueIs("bsSkinGauge2", 1000), ValueIs("bsSkinGauge3", 1250),
                     ValueIs("bsSkinGauge4", 1900), TextIs("bsSkinEdit11", "900")}},
        DisplayCase{"Ch1At900FillsTheMirroredGaugeToTheTop", {Channels1To3(900, 1500, 1000)},
                    {ValueIs("bsSkinGauge1", 2000), TextIs("bsSkinEdit10", "900")}},
        DisplayCase{"ChannelWordDividesByTwelve", {WordsFrame(0xA2, 18000, 11, 65535)},
                    {TextIs("bsSkinEdit10", "1500"), TextIs("bsSkinEdit11", "0"), TextIs("bsSkinEdit12", "5461"),
                     ValueIs("bsSkinGauge3", 2000)}},
        DisplayCase{"RollUnclampedInTwoDecimals", {WordsFrame(0xA0, 65535, 0, 18000)},
                    {TextIs("bsSkinEdit1", "475.35"), TextIs("bsSkinEdit2", "-180.00"),
                     TextIs("bsSkinEdit3", "0.00")}},
        DisplayCase{"BatteryAndAltitudeInGeneralFormat",
                    {WordsFrame(0xA5, 126, 0, 0), WordsFrame(0xA6, 0, 32768, 1250)},
                    {TextIs("bsSkinEdit25", "12.6"), TextIs("bsSkinEdit18", "-32768"), TextIs("bsSkinEdit24", "0"),
                     TextIs("bsSkinEdit9", "12.5"), ValueIs("bsSkinSlider2", 12), TextIs("bsSkinEdit14", "12")}},
        DisplayCase{"WholeBatteryHasNoSeparator", {WordsFrame(0xA5, 120, 4500, 35999)},
                    {TextIs("bsSkinEdit25", "12"), TextIs("bsSkinEdit31", "45"), TextIs("bsSkinEdit37", "359.99")}},
        DisplayCase{"VersionInOneDecimal", {PayloadFrame(0xA4, {0x40, 0x06, 1, 12, 68, 0})},
                    {TextIs("bsSkinEdit36", "1.2"), TextIs("bsSkinEdit22", "16.00"), TextIs("bsSkinEdit7", "6.80"),
                     ValueIs("bsSkinSlider4", 16), TextIs("bsSkinEdit23", "16"), ValueIs("bsSkinSlider1", 68),
                     TextIs("bsSkinEdit8", "6.8")}},
        DisplayCase{"WholeVersionKeepsItsDecimal", {PayloadFrame(0xA4, {250, 0, 8, 10, 0, 0})},
                    {TextIs("bsSkinEdit36", "1.0"), TextIs("bsSkinEdit22", "2.50"), ValueIs("bsSkinSlider4", 4),
                     TextIs("bsSkinEdit23", "4")}},
        DisplayCase{"ChoicesOutsideTheirListsLeaveTheText",
                    {PayloadFrame(0xAA, {0, 3, 105, 0, 255, 0}), WordsFrame(0xAB, 6000, 2500, 3)},
                    {TextIs("bsSkinEdit34", "PWM"), TextIs("bsSkinEdit47", "High"), TextIs("bsSkinEdit15", "10.5"),
                     ValueIs("bsSkinSlider3", 105), TextIs("bsSkinEdit48", "100.78"), TextIs("bsSkinEdit49", "0.00"),
                     TextIs("bsSkinEdit43", "6000"), TextIs("bsSkinEdit45", "2500")}},
        DisplayCase{"ChoicesInTheirListsShowTheirNames",
                    {PayloadFrame(0xAA, {0, 1, 250, 0, 0, 0}), WordsFrame(0xAB, 0, 0, 2)},
                    {TextIs("bsSkinEdit34", "SBUS"), TextIs("bsSkinEdit47", "Off"), TextIs("bsSkinEdit15", "25"),
                     TextIs("bsSkinEdit16", "25")}},
        DisplayCase{"SensorsInTwoAndFourDecimals",
                    {WordsFrame(0xA1, 30000, 0, 30001), WordsFrame(0xA8, 0, 100, 65535),
                     WordsFrame(0xA9, 0, 1000, 1981), PayloadFrame(0xAC, {255, 1, 0, 128, 2, 3})},
                    {TextIs("bsSkinEdit4", "0.00"), TextIs("bsSkinEdit5", "-300.00"), TextIs("bsSkinEdit6", "0.01"),
                     TextIs("bsSkinEdit13", "-1.00"), TextIs("bsSkinEdit17", "0.00"), TextIs("bsSkinEdit28", "654.35"),
                     TextIs("bsSkinEdit29", "-10.00"), TextIs("bsSkinEdit32", "0.00"), TextIs("bsSkinEdit33", "9.81"),
                     TextIs("bsSkinEdit50", "100.78"), TextIs("bsSkinEdit51", "0.40"), TextIs("bsSkinEdit52", "0.00"),
                     TextIs("bsSkinEdit53", "50.59"), TextIs("bsSkinEdit54", "0.79"), TextIs("bsSkinEdit55", "1.19"),
                     TextIs("bsSkinEdit26", "-90.0000"), TextIs("bsSkinEdit27", "120.0000")}}));

TEST_F(ConnectedConsole, RepeatedGainReportDoesNotPullBackAMovedSlider)
{
    const Bytes gains = PayloadFrame(0xA4, {0x40, 0x06, 1, 12, 68, 0}); // gyro gain 16.00
    Send({gains});
    ASSERT_EQ(form->bsSkinSlider4->Position(), 16);
    form->bsSkinSlider4->SetPosition(30);
    ASSERT_EQ(form->bsSkinEdit23->Text(), "30");
    Send({gains});
    EXPECT_EQ(form->bsSkinSlider4->Position(), 30);
    EXPECT_EQ(form->bsSkinEdit23->Text(), "30");
}

TEST_F(ConnectedConsole, AirframeIndexPicksItsTileAndAnUnknownOneLeavesThePicture)
{
    auto tile = [&](int n) {
        return form->Image3->Picture().copy(137 * n, 0, 137, 137).convertToFormat(QImage::Format_RGB32);
    };
    auto shown = [&] { return form->Image4->Picture().convertToFormat(QImage::Format_RGB32); };
    ASSERT_NE(tile(3), tile(0));

    Send({PayloadFrame(0xA4, {0, 0, 3, 12, 0, 0})});
    EXPECT_EQ(shown(), tile(3));
    Send({PayloadFrame(0xA4, {0, 0, 8, 13, 0, 0})});
    EXPECT_EQ(shown(), tile(3)) << "index 8 leaves the picture";
    EXPECT_EQ(form->bsSkinEdit36->Text(), "1.3") << "while the version is still updated";
    Send({PayloadFrame(0xA4, {0, 0, 7, 13, 0, 0})});
    EXPECT_EQ(shown(), tile(7));
}

// The instruments get the angles in radians with the single-precision factor
// nearest 3.1415/180, the roll unclamped and the heading as printed.
TEST_F(ConnectedConsole, InstrumentsShowTheAnglesOfTheLastFrame)
{
    const double k = static_cast<float>(3.1415 / 180.0);
    // Drawn for every frame: at zero first, then each frame's angles. The window
    // draws only the newest before it paints; the picture must be the same.
    platform::TImage expectedAttitude(nullptr, {0, 0, 105, 105});
    platform::TImage expectedHeading(nullptr, {0, 0, 105, 105});
    instruments::DrawAttitude(0, 0, &expectedAttitude);
    instruments::DrawHeading(0, &expectedHeading);
    instruments::DrawAttitude(double(20.0f) * k, double(-10.0f) * k, &expectedAttitude);
    instruments::DrawHeading(90.0 * k, &expectedHeading);
    instruments::DrawAttitude(double(475.35f) * k, double(-12.5f) * k, &expectedAttitude);
    instruments::DrawHeading(359.99 * k, &expectedHeading);

    Send({WordsFrame(0xA0, 20000, 17000, 18000), WordsFrame(0xA5, 126, 0, 9000),
          WordsFrame(0xA0, 65535, 16750, 18000), WordsFrame(0xA5, 126, 0, 35999)});
    EXPECT_EQ(form->Image1->Picture(), expectedAttitude.Picture());
    EXPECT_EQ(form->Image2->Picture(), expectedHeading.Picture());
}

class DecimalComma : public ConnectedConsole {
protected:
    void SetUp() override
    {
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        ConnectedConsole::SetUp();
    }
    void TearDown() override
    {
        ConnectedConsole::TearDown();
        QLocale::setDefault(QLocale::c());
    }
};

TEST_F(DecimalComma, NumbersAreWrittenAndReadBackWithTheLocaleSeparator)
{
    platform::TImage expectedHeading(nullptr, {0, 0, 105, 105});
    instruments::DrawHeading(0, &expectedHeading);
    instruments::DrawHeading(123.45 * double(static_cast<float>(3.1415 / 180.0)), &expectedHeading);

    Send({WordsFrame(0xA0, 65535, 18000, 18000), WordsFrame(0xA5, 126, 0, 12345),
          PayloadFrame(0xA4, {0x40, 0x06, 1, 12, 68, 0}), Channels4To6(1500, 1351, 1701)});
    EXPECT_EQ(form->bsSkinEdit1->Text(), "475,35");
    EXPECT_EQ(form->bsSkinEdit25->Text(), "12,6");
    EXPECT_EQ(form->bsSkinEdit37->Text(), "123,45");
    EXPECT_EQ(form->Image2->Picture(), expectedHeading.Picture()) << "the heading read back with a comma";
    EXPECT_EQ(form->bsSkinEdit7->Text(), "6,80");
    EXPECT_EQ(form->bsSkinSlider1->Position(), 68);
    EXPECT_EQ(form->bsSkinEdit8->Text(), "6,8");
    EXPECT_EQ(form->bsSkinEdit26->Text(), "-90,0000");
    EXPECT_EQ(form->bsSkinEdit38->FontColor(), Red);
    EXPECT_TRUE(capture.texts().empty()) << capture.texts()[0];
}

} // namespace
} // namespace consoletest
