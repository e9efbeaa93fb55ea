#include "FlightController.h"

#include "TelemetryCodec.h"

#include <algorithm>
#include <cstdio>
#include <utility>

namespace sim {

namespace {

// Frames go out in small batches rather than one by one: the tools read every
// 10 ms, so finer spacing would only cost wake-ups.
constexpr auto BatchInterval = std::chrono::milliseconds(5);

} // namespace

FlightController::FlightController(double framesPerSecond, SimEvents events)
    : events_(std::move(events)), pacer_(framesPerSecond)
{
}

void FlightController::start(TimePoint now)
{
    start_ = now;
    lastPoll_ = now;
    pacer_.restart(now);
    events_.Log("flight controller: telemetry ready; settings at their defaults");
}

void FlightController::receive(const uint8_t* data, std::size_t length, TimePoint now)
{
    for (std::size_t i = 0; i < length; ++i)
        if (const auto command = commands_.push(data[i]))
            handle(*command, now);
}

void FlightController::handle(const protocol::ReceivedCommand& command, TimePoint now)
{
    using protocol::Command;
    const auto& info = protocol::InfoOf(command.command);
    const auto frame = protocol::BuildCommandFrame(command.command, command.value);
    char wire[16];
    std::snprintf(wire, sizeof wire, "%02X %02X %02X %02X", frame.bytes[0], frame.bytes[1], frame.bytes[2],
                  frame.bytes[3]);
    std::string effect;
    switch (command.command) {
    case Command::ImuCalibration:
        if (command.value == 1) {
            model_.startImuCalibration(seconds(now));
            effect = "IMU calibration started: level for a moment";
        } else {
            effect = "ignored (only 1 starts it)";
        }
        break;
    case Command::StickCalibration:
        if (command.value <= 1) {
            model_.setStickCalibration(command.value == 1);
            effect = command.value == 1 ? "RC stick calibration started: sticks to their ends"
                                        : "RC stick calibration stopped";
        } else {
            effect = "ignored (1 starts, 0 stops)";
        }
        break;
    default:
        settings_.set(command.command, command.value);
        effect = "now " + ControllerSettings::Shown(command.command, command.value);
        break;
    }
    events_.Log("command " + std::string(wire) + ": " + std::string(info.name) + " " +
                std::to_string(command.value) + ", " + effect);
    if (events_.command)
        events_.command(ReceivedCommand{info.group, info.code, command.value, std::string(info.name)});
}

void FlightController::poll(TimePoint now)
{
    lastPoll_ = now;
    if (!listening_)
        return; // frames nobody can read are not worth making
    const double t = seconds(now);
    const SettingsEcho echo = settings_.echo();
    for (auto due = pacer_.take(now); due > 0; --due) {
        const auto frame = protocol::EncodeTelemetry(model_.sample(nextType_, t, echo));
        output_.insert(output_.end(), frame.bytes.begin(), frame.bytes.end());
        nextType_ = (nextType_ + 1) % FlightModel::FrameTypes;
    }
}

TimePoint FlightController::deadline() const
{
    if (!listening_)
        return TimePoint::max();
    return std::max(pacer_.nextDue(), lastPoll_ + BatchInterval);
}

std::vector<uint8_t> FlightController::takeOutput()
{
    return std::exchange(output_, {});
}

void FlightController::peerChanged(bool present, TimePoint now)
{
    // A console that connects gets the stream from now on, not what it missed.
    listening_ = present;
    if (present)
        pacer_.restart(now);
}

} // namespace sim
