#pragma once
// Plausible flight for the console to show: the attitude rocks, the heading turns,
// the position drifts, the battery drains, the sticks sweep (so the flight-mode
// switches on CH5 and CH6 cross their thresholds) and the motors follow the
// throttle. Calibrations show in the data: an IMU calibration holds the craft level
// for a moment, a stick calibration swings every stick end to end.
//
// Quantities are in the console's units; the protocol unit turns them into frames.
#include "Telemetry.h"

#include <cstddef>

namespace sim {

// The stored settings as the telemetry echoes them, in the console's units.
struct SettingsEcho {
    double gyroGain = 0;
    double auxGain = 0;
    double altGain = 0;
    double lowVoltage = 0;
    int airframe = 0;
    int receiverType = 0;
    int rangeLimit = 0;
    int heightLimit = 0;
    int armedSpeed = 0;
};

class FlightModel {
public:
    static constexpr double ImuCalibrationSeconds = 3.0;
    static constexpr std::size_t FrameTypes = 13;

    // The quantities of frame type 0xA0 + index at t seconds after the start.
    protocol::Telemetry sample(std::size_t index, double t, const SettingsEcho& settings) const;

    void startImuCalibration(double t) { imuCalibrationStart_ = t; }
    void setStickCalibration(bool on) { stickCalibration_ = on; }
    bool imuCalibrating(double t) const;

private:
    struct Sticks {
        double aileron, elevator, throttle, rudder, mode5, mode6; // microseconds, 1000..2000
    };
    struct Attitude {
        double roll, pitch, heading; // degrees
        double rollRate, pitchRate, yawRate;
    };

    Sticks sticks(double t) const;
    Attitude attitude(double t) const;
    std::array<double, 8> motors(double t, int airframe) const;

    double imuCalibrationStart_ = -1e9;
    bool stickCalibration_ = false;
};

} // namespace sim
