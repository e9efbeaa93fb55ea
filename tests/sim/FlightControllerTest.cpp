// The flight controller over a real pseudo-terminal, read the way the console reads
// it: bytes from the line through the protocol's decoder.
#include "CommandFrame.h"
#include "HistoryLog.h"
#include "Simulator.h"
#include "TelemetryDecoder.h"
#include "TempDir.h"
#include "ToolSide.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <ostream>
#include <set>

using namespace std::chrono_literals;
using simtest::TempDir;
using simtest::ToolSide;

namespace {

struct Stream {
    std::vector<uint8_t> bytes;
    std::vector<protocol::Telemetry> frames;

    template <typename Quantities>
    std::vector<Quantities> all() const
    {
        std::vector<Quantities> found;
        for (const auto& frame : frames)
            if (const auto* q = std::get_if<Quantities>(&frame))
                found.push_back(*q);
        return found;
    }
    template <typename Quantities>
    std::optional<Quantities> last() const
    {
        const auto found = all<Quantities>();
        return found.empty() ? std::nullopt : std::optional<Quantities>(found.back());
    }
};

class FlightControllerOverPty : public ::testing::Test {
protected:
    void SetUp() override
    {
        sim::SimulatorOptions options;
        options.linkPath = dir / "link";
        simulator = std::make_unique<sim::Simulator>(options);
        std::string error;
        ASSERT_TRUE(simulator->open(error)) << error;
        simulator->start();
    }

    // Reads and decodes until done(stream) holds or the time-out passes.
    Stream read(ToolSide& tool, const std::function<bool(const Stream&)>& done, std::chrono::milliseconds timeout = 10s)
    {
        Stream stream;
        protocol::TelemetryDecoder decoder;
        tool.readUntil(
            [&](const std::vector<uint8_t>& bytes) {
                for (std::size_t i = stream.bytes.size(); i < bytes.size(); ++i)
                    decoder.push(bytes[i], [&](const protocol::Telemetry& t) { stream.frames.push_back(t); });
                stream.bytes = bytes;
                return done(stream);
            },
            timeout);
        return stream;
    }

    // Sends what a Save button of the console sends for this text.
    void save(ToolSide& console, protocol::Command command, const std::string& text)
    {
        const auto frame = protocol::BuildCommandFrame(command, text, '.');
        ASSERT_TRUE(frame.has_value()) << text;
        console.write(std::vector<uint8_t>(frame->bytes.begin(), frame->bytes.end()));
    }
    void send(ToolSide& console, protocol::Command command, uint16_t value)
    {
        const auto frame = protocol::BuildCommandFrame(command, value);
        console.write(std::vector<uint8_t>(frame.bytes.begin(), frame.bytes.end()));
    }

    bool logged(const std::string& text) const { return simtest::Logged(simulator->history(), text); }

    TempDir dir;
    std::unique_ptr<sim::Simulator> simulator;
};

std::set<std::size_t> TypesSeen(const Stream& s)
{
    std::set<std::size_t> types;
    for (const auto& f : s.frames)
        types.insert(f.index());
    return types;
}

} // namespace

TEST_F(FlightControllerOverPty, SendsWholeFramesOfAllThirteenTypesWithMovingValues)
{
    ToolSide console(simulator->path());
    ASSERT_TRUE(console.isOpen());
    // Two seconds of flight: the attitude, heading, sticks and position all move.
    const auto start = std::chrono::steady_clock::now();
    const Stream s = read(console, [&](const Stream&) { return std::chrono::steady_clock::now() - start > 2s; }, 5s);

    EXPECT_EQ(TypesSeen(s).size(), 13u);
    // Nothing but whole frames from the first byte on: each byte belongs to one.
    EXPECT_LT(s.bytes.size() - s.frames.size() * 9, 9u);
    const auto distinct = [](const auto& values) { return std::set(values.begin(), values.end()).size(); };
    std::vector<float> rolls, headings;
    for (const auto& a : s.all<protocol::AttitudeTelemetry>())
        rolls.push_back(a.roll);
    std::vector<int> mode5;
    for (const auto& c : s.all<protocol::Channels4To6Telemetry>())
        mode5.push_back(c.ch5);
    std::vector<double> heading;
    for (const auto& b : s.all<protocol::BatteryHeadingTelemetry>())
        heading.push_back(b.heading);
    EXPECT_GT(distinct(rolls), 10u);
    EXPECT_GT(distinct(mode5), 10u);
    EXPECT_GT(distinct(heading), 10u);
}

TEST_F(FlightControllerOverPty, EchoesTheDefaultSettings)
{
    ToolSide console(simulator->path());
    const Stream s = read(console, [](const Stream& s) {
        return s.last<protocol::GainsTelemetry>() && s.last<protocol::AltitudeTelemetry>() &&
               s.last<protocol::ReceiverTelemetry>() && s.last<protocol::LimitsTelemetry>();
    });
    const auto gains = s.last<protocol::GainsTelemetry>().value();
    EXPECT_FLOAT_EQ(gains.gyroGain, 16.0f);
    EXPECT_FLOAT_EQ(gains.auxGain, 6.8f);
    EXPECT_EQ(gains.airframe, 1);
    EXPECT_DOUBLE_EQ(s.last<protocol::AltitudeTelemetry>()->altGain, 12.0);
    EXPECT_NEAR(s.last<protocol::ReceiverTelemetry>()->lowVoltage, 10.8, 1e-9);
    EXPECT_EQ(s.last<protocol::ReceiverTelemetry>()->receiverType, 0);
    const auto limits = s.last<protocol::LimitsTelemetry>().value();
    EXPECT_EQ(limits.rangeLimit, 1000);
    EXPECT_EQ(limits.heightLimit, 500);
    EXPECT_EQ(limits.armedSpeed, 1);
}

TEST_F(FlightControllerOverPty, KeepsRunningWhileTheLineIsClosedAndServesTheNextTool)
{
    {
        ToolSide first(simulator->path());
        EXPECT_EQ(TypesSeen(read(first, [](const Stream& s) { return TypesSeen(s).size() == 13; })).size(), 13u);
    }
    EXPECT_TRUE(simulator->waitFor(
        [](const sim::SimHistory& h) {
            return std::any_of(h.log.begin(), h.log.end(),
                               [](const std::string& l) { return l.find("the tool closed") != std::string::npos; });
        },
        10s));
    ToolSide second(simulator->path());
    const Stream s = read(second, [](const Stream& s) { return TypesSeen(s).size() == 13; });
    EXPECT_EQ(TypesSeen(s).size(), 13u);
    EXPECT_LT(s.bytes.size() - s.frames.size() * 9, 9u) << "no stale partial frame from before";
}

struct SaveCase {
    const char* name;
    protocol::Command command;
    const char* text;
    bool (*echoed)(const Stream&); // the telemetry now shows the saved value
};

void PrintTo(const SaveCase& c, std::ostream* os) { *os << c.name; }

class FlightControllerSave : public FlightControllerOverPty, public ::testing::WithParamInterface<SaveCase> {};

TEST_P(FlightControllerSave, ChangesTheEchoedSettingAndLogsTheCommand)
{
    const SaveCase& c = GetParam();
    ToolSide console(simulator->path());
    read(console, [](const Stream& s) { return TypesSeen(s).size() == 13; });
    EXPECT_FALSE(c.echoed(read(console, [](const Stream& s) { return TypesSeen(s).size() == 13; })))
        << "the default already shows the value: the case proves nothing";

    save(console, c.command, c.text);
    EXPECT_TRUE(c.echoed(read(console, c.echoed)));
    const auto commands = simulator->history().commands;
    ASSERT_EQ(commands.size(), 1u);
    EXPECT_EQ(commands[0].name, protocol::InfoOf(c.command).name);
    EXPECT_TRUE(logged("command ")) << "every command goes to the log";
}

INSTANTIATE_TEST_SUITE_P(Cases, FlightControllerSave,
    ::testing::Values(
        SaveCase{"gyro_gain", protocol::Command::GyroGain, "25",
                 [](const Stream& s) { auto g = s.last<protocol::GainsTelemetry>(); return g && g->gyroGain == 25.0f; }},
        SaveCase{"aux_gain", protocol::Command::AuxGain, "7.5",
                 [](const Stream& s) { auto g = s.last<protocol::GainsTelemetry>(); return g && g->auxGain == 7.5f; }},
        SaveCase{"alt_gain", protocol::Command::AltGain, "9",
                 [](const Stream& s) { auto a = s.last<protocol::AltitudeTelemetry>(); return a && a->altGain == 9.0; }},
        SaveCase{"low_voltage", protocol::Command::LowVoltage, "11.1",
                 [](const Stream& s) {
                     auto r = s.last<protocol::ReceiverTelemetry>();
                     return r && std::abs(r->lowVoltage - 11.1) < 1e-9;
                 }},
        SaveCase{"airframe", protocol::Command::AirframeType, "QAV250",
                 [](const Stream& s) { auto g = s.last<protocol::GainsTelemetry>(); return g && g->airframe == 7; }},
        SaveCase{"receiver", protocol::Command::ReceiverType, "SBUS",
                 [](const Stream& s) { auto r = s.last<protocol::ReceiverTelemetry>(); return r && r->receiverType == 1; }},
        SaveCase{"range_limit", protocol::Command::RangeLimit, "6000",
                 [](const Stream& s) { auto l = s.last<protocol::LimitsTelemetry>(); return l && l->rangeLimit == 5000; }},
        SaveCase{"height_limit", protocol::Command::HeightLimit, "300",
                 [](const Stream& s) { auto l = s.last<protocol::LimitsTelemetry>(); return l && l->heightLimit == 300; }},
        SaveCase{"armed_speed", protocol::Command::ArmedSpeed, "Off",
                 [](const Stream& s) { auto l = s.last<protocol::LimitsTelemetry>(); return l && l->armedSpeed == 2; }}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(FlightControllerOverPty, ImuCalibrationHoldsTheCraftLevelForAMoment)
{
    ToolSide console(simulator->path());
    read(console, [](const Stream& s) { return TypesSeen(s).size() == 13; });
    send(console, protocol::Command::ImuCalibration, 1);
    // Twenty attitude frames in a row, level: no rocking craft passes through level that long.
    const auto levelRun = [](const Stream& s) {
        int run = 0;
        for (const auto& a : s.all<protocol::AttitudeTelemetry>()) {
            run = (a.roll == 0.0f && a.pitch == 0.0f) ? run + 1 : 0;
            if (run == 20)
                return true;
        }
        return false;
    };
    EXPECT_TRUE(levelRun(read(console, levelRun)));
    EXPECT_TRUE(logged("IMU calibration started"));
}

TEST_F(FlightControllerOverPty, StickCalibrationSwingsTheSticksEndToEndUntilStopped)
{
    ToolSide console(simulator->path());
    send(console, protocol::Command::StickCalibration, 1);
    const auto fullTravel = [](const Stream& s) {
        const auto channels = s.all<protocol::Channels1To3Telemetry>();
        const auto [low, high] = std::minmax_element(channels.begin(), channels.end(),
            [](const auto& a, const auto& b) { return a.ch1 < b.ch1; });
        return !channels.empty() && low->ch1 <= 1010 && high->ch1 >= 1990;
    };
    EXPECT_TRUE(fullTravel(read(console, fullTravel)));
    send(console, protocol::Command::StickCalibration, 0);
    EXPECT_TRUE(simulator->waitFor([](const sim::SimHistory& h) { return h.commands.size() == 2; }, 10s));
    EXPECT_TRUE(logged("RC stick calibration started"));
    EXPECT_TRUE(logged("RC stick calibration stopped"));
}
