// flightdesk against the simulated controller in its own process: the real
// window on the offscreen platform, the real port code on the simulator's
// pseudo-terminal, the controller's settings stored and echoed by the simulator.
#include "ConsoleWindowFixture.h"
#include "SettingsOnPty.h"
#include "SimulatorProcess.h"

#include <QAbstractSlider>
#include <QHash>
#include "WidgetsEdit.h"
#include <QProgressBar>

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

namespace {

using settingstest::Action;
using settingstest::Pick;
using settingstest::Slide;
using settingstest::Type;

// The simulator moves every live quantity many times a second; the deadline
// only bounds a hang (the sanitizer build is several times slower).
constexpr int Deadline = 10000;

class FlightdeskOnSimulator : public consoletest::ConsoleWindow {
protected:
    void SetUp() override
    {
        std::string error;
        ASSERT_TRUE(simulator.Start({}, error)) << error;
        StartWindow({simulator.Link()});
        ASSERT_EQ(form->bsSkinComboBox1->Text(), simulator.Link());
    }

    void Connect()
    {
        Click("bsSkinButton2");
        ASSERT_TRUE(form->Comm1->PortOpen()) << ::testing::PrintToString(capture.texts());
    }

    e2e::SimulatorProcess simulator;
};

// The airframe tile that Image4 shows, found among the tiles of Image3's strip.
std::string ShownTile(const console::TForm1& form)
{
    constexpr int Tile = 137;
    const QImage shown = form.Image4->Picture().convertToFormat(QImage::Format_RGB32);
    for (int n = 0; n < 8; ++n)
        if (form.Image3->Picture().copy(n * Tile, 0, Tile, Tile).convertToFormat(QImage::Format_RGB32) == shown)
            return "tile " + std::to_string(n);
    return "no tile";
}

// What a control shows, as text: an edit's text, a gauge's or slider's value,
// a picture's fingerprint, the airframe tile.
std::string Shown(const console::TForm1& form, const char* name)
{
    const QObject* control = form.findChild<QObject*>(QString::fromLatin1(name));
    if (!control)
        return std::string("no control ") + name;
    if (control == form.Image4)
        return ShownTile(form);
    if (const auto* edit = qobject_cast<const platform::TEdit*>(control))
        return edit->Text();
    if (const auto* slider = qobject_cast<const QAbstractSlider*>(control))
        return std::to_string(slider->value());
    if (const auto* gauge = qobject_cast<const QProgressBar*>(control))
        return std::to_string(gauge->value());
    if (const auto* image = qobject_cast<const platform::TImage*>(control)) {
        const QImage& picture = image->Picture();
        return "picture " + std::to_string(qHashBits(picture.constBits(), static_cast<size_t>(picture.sizeInBytes())));
    }
    return std::string("unreadable control ") + name;
}

// --- live telemetry ---

struct LiveGroup {
    const char* name;
    std::vector<const char*> controls;
    bool moving; // changes within a second in flight; otherwise it only has to leave its start texts
};

void PrintTo(const LiveGroup& g, std::ostream* out) { *out << g.name; }

class LiveTelemetry : public FlightdeskOnSimulator, public ::testing::WithParamInterface<LiveGroup> {
protected:
    std::vector<std::string> Snapshot() const
    {
        std::vector<std::string> texts;
        for (const char* name : GetParam().controls)
            texts.push_back(Shown(*form, name));
        return texts;
    }
};

TEST_P(LiveTelemetry, GroupShowsTheControllersValuesAndFollowsThem)
{
    const auto atStart = Snapshot();
    Connect();
    ASSERT_TRUE(QTest::qWaitFor([&] { return Snapshot() != atStart; }, Deadline))
        << "still " << ::testing::PrintToString(atStart) << "\nsimulator: " << simulator.Output();
    if (!GetParam().moving)
        return;
    const auto shown = Snapshot();
    EXPECT_TRUE(QTest::qWaitFor([&] { return Snapshot() != shown; }, Deadline))
        << "stuck at " << ::testing::PrintToString(shown);
}

INSTANTIATE_TEST_SUITE_P(
    OnSimulator, LiveTelemetry,
    ::testing::Values(
        LiveGroup{"attitude", {"Image1", "bsSkinEdit1", "bsSkinEdit2", "bsSkinEdit3"}, true},
        LiveGroup{"heading", {"Image2", "bsSkinEdit31", "bsSkinEdit37"}, true},
        LiveGroup{"gyro", {"bsSkinEdit4", "bsSkinEdit5", "bsSkinEdit6"}, true},
        LiveGroup{"accelerometer", {"bsSkinEdit29", "bsSkinEdit32", "bsSkinEdit33"}, true},
        LiveGroup{"magnetometer", {"bsSkinEdit13", "bsSkinEdit17", "bsSkinEdit28"}, true},
        LiveGroup{"gps", {"bsSkinEdit26", "bsSkinEdit27", "bsSkinEdit30"}, true},
        LiveGroup{"altitude", {"bsSkinEdit18", "bsSkinEdit24"}, true},
        LiveGroup{"sticks",
                  {"bsSkinEdit10", "bsSkinEdit11", "bsSkinEdit12", "bsSkinEdit19", "bsSkinGauge1", "bsSkinGauge2",
                   "bsSkinGauge3", "bsSkinGauge4"},
                  true},
        LiveGroup{"mode_switches", {"bsSkinEdit20", "bsSkinEdit21", "bsSkinSlider5", "bsSkinSlider6"}, true},
        LiveGroup{"motors",
                  {"bsSkinEdit48", "bsSkinEdit49", "bsSkinEdit50", "bsSkinEdit51", "bsSkinEdit52", "bsSkinEdit53",
                   "bsSkinEdit54", "bsSkinEdit55"},
                  true},
        // A pack drains by a tenth of a volt in about 25 s, and the version is fixed.
        LiveGroup{"battery_and_version", {"bsSkinEdit25", "bsSkinEdit36"}, false}),
    [](const auto& info) { return std::string(info.param.name); });

// --- settings: what Save sends comes back as the controller's echo ---

struct Setting {
    const char* name;
    Action change;        // what the user does before Save
    const char* save;     // the Save button
    const char* echo;     // where the controller's value is shown
    std::string changed;  // the echo after Save
    std::string standard; // the echo of the controller's default
};

void PrintTo(const Setting& s, std::ostream* out) { *out << s.name; }

const std::vector<Setting>& Settings()
{
    static const std::vector<Setting> settings{
        {"gyro_gain_typed", Type("bsSkinEdit23", "24"), "bsSkinButton7", "bsSkinEdit22", "24.00", "16.00"},
        {"aux_gain_slider", Slide("bsSkinSlider1", {75}), "bsSkinButton3", "bsSkinEdit7", "7.50", "6.80"},
        {"alt_gain_slider", Slide("bsSkinSlider2", {17}), "bsSkinButton4", "bsSkinEdit9", "17", "12"},
        {"low_voltage_slider", Slide("bsSkinSlider3", {112}), "bsSkinButton5", "bsSkinEdit15", "11.2", "10.8"},
        {"airframe_choice", Pick("bsSkinComboBox2", "Fh8"), "bsSkinButton6", "Image4", "tile 5", "tile 1"},
        {"receiver_choice", Pick("bsSkinComboBox3", "SBUS"), "bsSkinButton8", "bsSkinEdit34", "SBUS", "PWM"},
        {"armed_speed_choice", Pick("bsSkinComboBox4", "Off"), "bsSkinButton14", "bsSkinEdit47", "Off", "Low"},
        {"range_limit_clamped", Type("bsSkinEdit44", "6000"), "bsSkinButton12", "bsSkinEdit43", "5000", "1000"},
        {"height_limit", Type("bsSkinEdit46", "750"), "bsSkinButton13", "bsSkinEdit45", "750", "500"},
    };
    return settings;
}

class SettingsOnSimulator : public FlightdeskOnSimulator {
protected:
    void SetUp() override
    {
        FlightdeskOnSimulator::SetUp();
        if (HasFatalFailure())
            return;
        Connect();
        // The first echo moves the sliders: a change made before it would be
        // overwritten by the controller's report.
        ASSERT_TRUE(EchoesAre(&Setting::standard)) << Mismatches(&Setting::standard);
    }

    // Waits until every setting's echo shows the given column.
    bool EchoesAre(std::string Setting::*column)
    {
        return QTest::qWaitFor([&] { return Mismatches(column).empty(); }, Deadline);
    }

    std::string Mismatches(std::string Setting::*column) const
    {
        std::string wrong;
        for (const Setting& s : Settings())
            if (Shown(*form, s.echo) != s.*column)
                wrong += std::string(s.name) + " shows " + Shown(*form, s.echo) + ", not " + s.*column + "\n";
        return wrong;
    }

    void ChangeAndSave(const Setting& s)
    {
        s.change(*form);
        Click(s.save);
    }
};

class SettingEcho : public SettingsOnSimulator, public ::testing::WithParamInterface<Setting> {};

TEST_P(SettingEcho, SavedValueComesBackInTheCurrentValueField)
{
    const Setting& s = GetParam();
    ChangeAndSave(s);
    EXPECT_TRUE(QTest::qWaitFor([&] { return Shown(*form, s.echo) == s.changed; }, Deadline))
        << s.echo << " shows " << Shown(*form, s.echo) << ", not " << s.changed;
    EXPECT_TRUE(capture.texts().empty()) << ::testing::PrintToString(capture.texts());
}

INSTANTIATE_TEST_SUITE_P(OnSimulator, SettingEcho, ::testing::ValuesIn(Settings()),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(SettingsOnSimulator, DefaultAllSettingBringsEveryEchoBackToItsDefault)
{
    for (const Setting& s : Settings())
        ChangeAndSave(s);
    ASSERT_TRUE(EchoesAre(&Setting::changed)) << Mismatches(&Setting::changed);

    Click("bsSkinButton15");
    EXPECT_TRUE(EchoesAre(&Setting::standard)) << Mismatches(&Setting::standard);
    EXPECT_TRUE(capture.texts().empty()) << ::testing::PrintToString(capture.texts());
}

} // namespace
