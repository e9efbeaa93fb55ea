#include "FlightModel.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace sim {

namespace {

constexpr double Pi = std::numbers::pi;

double Wave(double t, double period, double phase = 0) { return std::sin(2 * Pi * t / period + phase); }
double WaveRate(double t, double period, double phase = 0) // d/dt of Wave
{
    return 2 * Pi / period * std::cos(2 * Pi * t / period + phase);
}
// 0 → 1 → 0 in straight lines: a switch moved slowly through its whole travel.
double Triangle(double t, double period)
{
    const double phase = std::fmod(t, period) / period;
    return phase < 0.5 ? 2 * phase : 2 - 2 * phase;
}

double Radians(double degrees) { return degrees * Pi / 180; }

// Motors of each airframe in the order of its name list: +4, X4, +6, X6, Y6, Fh8, X8, QAV250.
constexpr int MotorCount[8] = {4, 4, 6, 6, 6, 8, 8, 4};
// X layouts have no motor on the roll or pitch axis.
constexpr bool Crossed[8] = {false, true, false, true, false, false, true, true};

constexpr double Gravity = 9.81;

} // namespace

bool FlightModel::imuCalibrating(double t) const
{
    return t >= imuCalibrationStart_ && t < imuCalibrationStart_ + ImuCalibrationSeconds;
}

FlightModel::Sticks FlightModel::sticks(double t) const
{
    Sticks s;
    if (stickCalibration_) {
        // The pilot pushes every stick to both ends to teach the controller its range.
        s.aileron = 1500 + 500 * Wave(t, 2.0);
        s.elevator = 1500 + 500 * Wave(t, 2.0, Pi / 2);
        s.throttle = 1500 + 500 * Wave(t, 2.5);
        s.rudder = 1500 + 500 * Wave(t, 2.5, Pi / 2);
    } else {
        s.aileron = 1500 + 250 * Wave(t, 7);
        s.elevator = 1500 + 200 * Wave(t, 9, 1);
        s.throttle = 1500 + 300 * Wave(t, 13);
        s.rudder = 1500 + 150 * Wave(t, 11, 2);
    }
    // The mode switches sweep their whole travel, crossing 1350 and 1700 both ways.
    s.mode5 = 1000 + 1000 * Triangle(t, 16);
    s.mode6 = 1000 + 1000 * Triangle(t + 5, 22);
    return s;
}

FlightModel::Attitude FlightModel::attitude(double t) const
{
    Attitude a;
    a.heading = std::fmod(15 * t, 360.0); // a turn every 24 s
    a.yawRate = 15;
    if (imuCalibrating(t)) {
        a.roll = a.pitch = a.rollRate = a.pitchRate = a.yawRate = 0;
        a.heading = std::fmod(15 * imuCalibrationStart_, 360.0);
        return a;
    }
    a.roll = 25 * Wave(t, 6);
    a.rollRate = 25 * WaveRate(t, 6);
    a.pitch = 15 * Wave(t, 8.5, 1);
    a.pitchRate = 15 * WaveRate(t, 8.5, 1);
    return a;
}

std::array<double, 8> FlightModel::motors(double t, int airframe) const
{
    const int frame = std::clamp(airframe, 0, 7);
    const Sticks s = sticks(t);
    const double throttle = std::clamp((s.throttle - 1000) / 1000, 0.0, 1.0) * 100;
    const double roll = (s.aileron - 1500) / 500;
    const double pitch = (s.elevator - 1500) / 500;
    const double yaw = (s.rudder - 1500) / 500;
    std::array<double, 8> out{};
    const int count = MotorCount[frame];
    for (int i = 0; i < count; ++i) {
        const double angle = 2 * Pi * i / count + (Crossed[frame] ? Pi / count : 0);
        const double spin = (i % 2 == 0) ? 1 : -1;
        const double mix = 12 * (roll * std::sin(angle) + pitch * std::cos(angle)) + 6 * yaw * spin;
        out[static_cast<std::size_t>(i)] = std::clamp(throttle + mix, 0.0, 100.0);
    }
    return out;
}

protocol::Telemetry FlightModel::sample(std::size_t index, double t, const SettingsEcho& settings) const
{
    const Attitude a = attitude(t);
    const Sticks s = sticks(t);
    const auto choice = [](int value, int count) -> std::optional<int> {
        return value >= 0 && value < count ? std::optional<int>(value) : std::nullopt;
    };
    switch (index) {
    case 0:
        return protocol::AttitudeTelemetry{float(a.roll), float(a.pitch),
                                           float(a.heading > 180 ? a.heading - 360 : a.heading)};
    case 1:
        return protocol::GyroTelemetry{float(a.rollRate), float(a.pitchRate), float(a.yawRate)};
    case 2:
        return protocol::Channels1To3Telemetry{int(s.aileron), int(s.elevator), int(s.throttle)};
    case 3:
        return protocol::Channels4To6Telemetry{int(s.rudder), int(s.mode5), int(s.mode6)};
    case 4:
        return protocol::GainsTelemetry{float(settings.gyroGain), choice(settings.airframe, 8), 3.1,
                                        float(settings.auxGain)};
    case 5: {
        // A pack drains from 12.6 V to 10.2 V in ten minutes, then a fresh one goes in.
        const double battery = 12.6 - 2.4 * std::fmod(t, 600.0) / 600.0;
        return protocol::BatteryHeadingTelemetry{battery, std::fmod(a.heading + 2.5, 360.0), a.heading};
    }
    case 6: {
        const double altitude = 1500 + 800 * Wave(t, 40);
        const double climb = 800 * WaveRate(t, 40);
        return protocol::AltitudeTelemetry{int(std::lround(altitude)), int(std::lround(climb)), settings.altGain};
    }
    case 7: {
        // A slow circle of about 3 km, so the hundredths of a degree change now and then.
        const double lat = 47.37 + 0.03 * Wave(t, 180);
        const double lon = 8.54 + 0.03 * Wave(t, 180, Pi / 2);
        return protocol::PositionTelemetry{lat, lon, int(std::lround(150 + 60 * Wave(t, 30)))};
    }
    case 8: {
        const double h = Radians(a.heading);
        return protocol::MagnetometerTelemetry{0.45 * std::cos(h), -0.45 * std::sin(h), 0.3};
    }
    case 9: {
        const double roll = Radians(a.roll), pitch = Radians(a.pitch);
        return protocol::AccelerometerTelemetry{-Gravity * std::sin(pitch),
                                                Gravity * std::sin(roll) * std::cos(pitch),
                                                Gravity * std::cos(roll) * std::cos(pitch)};
    }
    case 10: {
        const auto m = motors(t, settings.airframe);
        return protocol::ReceiverTelemetry{choice(settings.receiverType, 3), settings.lowVoltage, m[0], m[1]};
    }
    case 11:
        return protocol::LimitsTelemetry{settings.rangeLimit, settings.heightLimit, choice(settings.armedSpeed, 3)};
    default: {
        const auto m = motors(t, settings.airframe);
        return protocol::MotorsTelemetry{{m[2], m[3], m[4], m[5], m[6], m[7]}};
    }
    }
}

} // namespace sim
