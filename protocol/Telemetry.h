#pragma once
// What each telemetry frame type carries, as the quantities the console shows.
//
// A decoded frame is a `Telemetry`: a std::variant with one small struct per
// frame type, in type order (alternative i is type 0xA0 + i). A consumer
// visits it, e.g.
//     decoder.push(byte, [&](const protocol::Telemetry& t) {
//         std::visit([&](const auto& quantities) { Show(quantities); }, t);
//     });
// with one Show overload per struct. A variant rather than a callback
// interface keeps the decoder free of any knowledge of who listens, and lets
// tests and the simulator compare and store decoded frames as plain values.
//
// Precision is part of the format: the quantities marked float are held in
// single precision (scaled and offset in double, then rounded once to float),
// so the console prints exactly what the controller's own tool would.
#include <array>
#include <cstdint>
#include <optional>
#include <variant>

namespace protocol {

// 0xA0: degrees, W × 0.01 − 180.
struct AttitudeTelemetry {
    float roll = 0, pitch = 0, yaw = 0;
    friend bool operator==(const AttitudeTelemetry&, const AttitudeTelemetry&) = default;
};

// 0xA1: W × 0.01 − 300.
struct GyroTelemetry {
    float gyroX = 0, gyroY = 0, gyroZ = 0;
    friend bool operator==(const GyroTelemetry&, const GyroTelemetry&) = default;
};

// 0xA2: "CH1 A", "CH2 E", "CH3 T", each W div 12.
struct Channels1To3Telemetry {
    int ch1 = 0, ch2 = 0, ch3 = 0;
    friend bool operator==(const Channels1To3Telemetry&, const Channels1To3Telemetry&) = default;
};

// 0xA3: "CH4 R", "CH5", "CH6", each W div 12.
struct Channels4To6Telemetry {
    int ch4 = 0, ch5 = 0, ch6 = 0;
    friend bool operator==(const Channels4To6Telemetry&, const Channels4To6Telemetry&) = default;
};

// 0xA4: gyro gain echo W0 × 0.01, airframe index p2 (empty when not 0..7),
// version p3 × 0.1, AUX gain echo W2 × 0.1.
struct GainsTelemetry {
    float gyroGain = 0;
    std::optional<int> airframe;
    double version = 0;
    float auxGain = 0;
    friend bool operator==(const GainsTelemetry&, const GainsTelemetry&) = default;
};

// 0xA5: battery volts W0 × 0.1, azimuth W1 × 0.01, heading degrees W2 × 0.01.
struct BatteryHeadingTelemetry {
    double battery = 0, azimuth = 0, heading = 0;
    friend bool operator==(const BatteryHeadingTelemetry&, const BatteryHeadingTelemetry&) = default;
};

// 0xA6: altitude cm W0 − 32768, climb rate cm/s W1 − 32768, Alt gain echo W2 × 0.01.
struct AltitudeTelemetry {
    int altitude = 0, altVel = 0;
    double altGain = 0;
    friend bool operator==(const AltitudeTelemetry&, const AltitudeTelemetry&) = default;
};

// 0xA7: latitude W0 × 0.01 − 90, longitude W1 × 0.01 − 180 (degrees), HAC W2.
struct PositionTelemetry {
    double latitude = 0, longitude = 0;
    int hac = 0;
    friend bool operator==(const PositionTelemetry&, const PositionTelemetry&) = default;
};

// 0xA8: W × 0.01 − 1.
struct MagnetometerTelemetry {
    double mx = 0, my = 0, mz = 0;
    friend bool operator==(const MagnetometerTelemetry&, const MagnetometerTelemetry&) = default;
};

// 0xA9: W × 0.01 − 10.
struct AccelerometerTelemetry {
    double ax = 0, ay = 0, az = 0;
    friend bool operator==(const AccelerometerTelemetry&, const AccelerometerTelemetry&) = default;
};

// 0xAA: receiver type echo p1 (empty when not 0..2), low-voltage echo
// W1 × 0.1, motor outputs M1, M2 from p4, p5 as p × 38 × 0.0104.
struct ReceiverTelemetry {
    std::optional<int> receiverType;
    double lowVoltage = 0;
    double m1 = 0, m2 = 0;
    friend bool operator==(const ReceiverTelemetry&, const ReceiverTelemetry&) = default;
};

// 0xAB: range limit W0 and height limit W1 in metres, armed speed echo W2
// (empty when not 0..2).
struct LimitsTelemetry {
    int rangeLimit = 0, heightLimit = 0;
    std::optional<int> armedSpeed;
    friend bool operator==(const LimitsTelemetry&, const LimitsTelemetry&) = default;
};

// 0xAC: motor outputs M3..M8 (motors[0] is M3) from p0..p5 as p × 38 × 0.0104.
struct MotorsTelemetry {
    std::array<double, 6> motors{};
    friend bool operator==(const MotorsTelemetry&, const MotorsTelemetry&) = default;
};

using Telemetry = std::variant<AttitudeTelemetry, GyroTelemetry, Channels1To3Telemetry, Channels4To6Telemetry,
                               GainsTelemetry, BatteryHeadingTelemetry, AltitudeTelemetry, PositionTelemetry,
                               MagnetometerTelemetry, AccelerometerTelemetry, ReceiverTelemetry, LimitsTelemetry,
                               MotorsTelemetry>;

static_assert(std::variant_size_v<Telemetry> == 13, "one alternative per frame type 0xA0..0xAC");

// The frame type that carries these quantities.
inline std::uint8_t TelemetryTypeOf(const Telemetry& telemetry)
{
    return static_cast<std::uint8_t>(0xA0 + telemetry.index());
}

} // namespace protocol
