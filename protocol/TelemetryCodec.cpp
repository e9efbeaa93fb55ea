#include "TelemetryCodec.h"

#include "SettingChoices.h"

#include <cmath>
#include <cstddef>
#include <type_traits>

namespace protocol {
namespace {

// --- Field kinds: where a quantity sits and how its raw value is scaled. ---
// Each quantity of the format is one constant of these kinds below, used by
// both directions, so decode and encode cannot drift apart.

template <unsigned Max>
unsigned RoundIntoRange(double raw)
{
    if (!(raw > 0.0)) // also catches NaN
        return 0;
    if (raw >= Max)
        return Max;
    return static_cast<unsigned>(std::lround(raw));
}

// W × scale − offset. The product is formed in double on the exact integer and
// the offset subtracted afterwards; a float quantity is rounded only at the end.
struct ScaledWord {
    std::size_t word;
    double scale;
    double offset;

    double decode(const TelemetryFrame& frame) const
    {
        const double scaled = frame.word(word) * scale;
        return scaled - offset;
    }
    void encode(TelemetryFrame& frame, double value) const
    {
        frame.setWord(word, static_cast<std::uint16_t>(RoundIntoRange<0xFFFF>((value + offset) / scale)));
    }
};

// W − offset, an exact integer.
struct OffsetWord {
    std::size_t word;
    int offset;

    int decode(const TelemetryFrame& frame) const { return frame.word(word) - offset; }
    void encode(TelemetryFrame& frame, int value) const
    {
        frame.setWord(word, static_cast<std::uint16_t>(RoundIntoRange<0xFFFF>(double(value) + offset)));
    }
};

// W div 12: the remote-control channels.
struct ChannelWord {
    std::size_t word;
    static constexpr int kDivisor = 12;

    int decode(const TelemetryFrame& frame) const { return frame.word(word) / kDivisor; }
    void encode(TelemetryFrame& frame, int value) const
    {
        frame.setWord(word, static_cast<std::uint16_t>(RoundIntoRange<0xFFFF>(double(value) * kDivisor)));
    }
};

// p × scale.
struct ScaledByte {
    std::size_t byte;
    double scale;

    double decode(const TelemetryFrame& frame) const { return frame.payload(byte) * scale; }
    void encode(TelemetryFrame& frame, double value) const
    {
        frame.setPayload(byte, static_cast<std::uint8_t>(RoundIntoRange<0xFF>(value / scale)));
    }
};

// Motor output: the integer product p × 38 first, then × 0.0104 in double.
struct MotorByte {
    std::size_t byte;

    double decode(const TelemetryFrame& frame) const { return (frame.payload(byte) * 38) * 0.0104; }
    void encode(TelemetryFrame& frame, double value) const
    {
        frame.setPayload(byte, static_cast<std::uint8_t>(RoundIntoRange<0xFF>(value / 0.0104 / 38)));
    }
};

// An index into a list of names; values past the list are ignored.
template <typename Raw>
struct Choice {
    std::size_t position; // word index for a word, payload index for a byte
    int count;

    Raw raw(const TelemetryFrame& frame) const
    {
        if constexpr (std::is_same_v<Raw, std::uint16_t>)
            return frame.word(position);
        else
            return frame.payload(position);
    }
    std::optional<int> decode(const TelemetryFrame& frame) const
    {
        const int value = raw(frame);
        return value < count ? std::optional<int>(value) : std::nullopt;
    }
    void encode(TelemetryFrame& frame, std::optional<int> value) const
    {
        constexpr unsigned kMax = std::is_same_v<Raw, std::uint16_t> ? 0xFFFF : 0xFF;
        const auto stored = static_cast<Raw>(RoundIntoRange<kMax>(value.value_or(count)));
        if constexpr (std::is_same_v<Raw, std::uint16_t>)
            frame.setWord(position, stored);
        else
            frame.setPayload(position, stored);
    }
};
using ChoiceWord = Choice<std::uint16_t>;
using ChoiceByte = Choice<std::uint8_t>;

// --- The layout of every frame type. ---

constexpr ScaledWord kRoll{0, 0.01, 180}, kPitch{1, 0.01, 180}, kYaw{2, 0.01, 180};                 // 0xA0
constexpr ScaledWord kGyroX{0, 0.01, 300}, kGyroY{1, 0.01, 300}, kGyroZ{2, 0.01, 300};              // 0xA1
constexpr ChannelWord kChannelA{0}, kChannelB{1}, kChannelC{2};                                      // 0xA2, 0xA3
constexpr ScaledWord kGyroGain{0, 0.01, 0};                                                          // 0xA4
constexpr ChoiceByte kAirframe{2, static_cast<int>(kAirframeNames.size())};
constexpr ScaledByte kVersion{3, 0.1};
constexpr ScaledWord kAuxGain{2, 0.1, 0};
constexpr ScaledWord kBattery{0, 0.1, 0}, kAzimuth{1, 0.01, 0}, kHeading{2, 0.01, 0};               // 0xA5
constexpr OffsetWord kAltitude{0, 32768}, kAltVel{1, 32768};                                         // 0xA6
constexpr ScaledWord kAltGain{2, 0.01, 0};
constexpr ScaledWord kLatitude{0, 0.01, 90}, kLongitude{1, 0.01, 180};                              // 0xA7
constexpr OffsetWord kHac{2, 0};
constexpr ScaledWord kMagX{0, 0.01, 1}, kMagY{1, 0.01, 1}, kMagZ{2, 0.01, 1};                       // 0xA8
constexpr ScaledWord kAccX{0, 0.01, 10}, kAccY{1, 0.01, 10}, kAccZ{2, 0.01, 10};                    // 0xA9
constexpr ChoiceByte kReceiverType{1, static_cast<int>(kReceiverTypeNames.size())};                 // 0xAA
constexpr ScaledWord kLowVoltage{1, 0.1, 0};
constexpr MotorByte kMotor1{4}, kMotor2{5};
constexpr OffsetWord kRangeLimit{0, 0}, kHeightLimit{1, 0};                                          // 0xAB
constexpr ChoiceWord kArmedSpeed{2, static_cast<int>(kArmedSpeedNames.size())};
constexpr MotorByte kMotors3To8[6] = {{0}, {1}, {2}, {3}, {4}, {5}};                                 // 0xAC

// --- Decoding, one function per type. ---

Telemetry DecodeAttitude(const TelemetryFrame& f)
{
    return AttitudeTelemetry{static_cast<float>(kRoll.decode(f)), static_cast<float>(kPitch.decode(f)),
                             static_cast<float>(kYaw.decode(f))};
}

Telemetry DecodeGyro(const TelemetryFrame& f)
{
    return GyroTelemetry{static_cast<float>(kGyroX.decode(f)), static_cast<float>(kGyroY.decode(f)),
                         static_cast<float>(kGyroZ.decode(f))};
}

Telemetry DecodeChannels1To3(const TelemetryFrame& f)
{
    return Channels1To3Telemetry{kChannelA.decode(f), kChannelB.decode(f), kChannelC.decode(f)};
}

Telemetry DecodeChannels4To6(const TelemetryFrame& f)
{
    return Channels4To6Telemetry{kChannelA.decode(f), kChannelB.decode(f), kChannelC.decode(f)};
}

Telemetry DecodeGains(const TelemetryFrame& f)
{
    return GainsTelemetry{static_cast<float>(kGyroGain.decode(f)), kAirframe.decode(f), kVersion.decode(f),
                          static_cast<float>(kAuxGain.decode(f))};
}

Telemetry DecodeBatteryHeading(const TelemetryFrame& f)
{
    return BatteryHeadingTelemetry{kBattery.decode(f), kAzimuth.decode(f), kHeading.decode(f)};
}

Telemetry DecodeAltitude(const TelemetryFrame& f)
{
    return AltitudeTelemetry{kAltitude.decode(f), kAltVel.decode(f), kAltGain.decode(f)};
}

Telemetry DecodePosition(const TelemetryFrame& f)
{
    return PositionTelemetry{kLatitude.decode(f), kLongitude.decode(f), kHac.decode(f)};
}

Telemetry DecodeMagnetometer(const TelemetryFrame& f)
{
    return MagnetometerTelemetry{kMagX.decode(f), kMagY.decode(f), kMagZ.decode(f)};
}

Telemetry DecodeAccelerometer(const TelemetryFrame& f)
{
    return AccelerometerTelemetry{kAccX.decode(f), kAccY.decode(f), kAccZ.decode(f)};
}

Telemetry DecodeReceiver(const TelemetryFrame& f)
{
    return ReceiverTelemetry{kReceiverType.decode(f), kLowVoltage.decode(f), kMotor1.decode(f), kMotor2.decode(f)};
}

Telemetry DecodeLimits(const TelemetryFrame& f)
{
    return LimitsTelemetry{kRangeLimit.decode(f), kHeightLimit.decode(f), kArmedSpeed.decode(f)};
}

Telemetry DecodeMotors(const TelemetryFrame& f)
{
    MotorsTelemetry motors;
    for (std::size_t i = 0; i < motors.motors.size(); ++i)
        motors.motors[i] = kMotors3To8[i].decode(f);
    return motors;
}

using Decoder = Telemetry (*)(const TelemetryFrame&);
constexpr Decoder kDecoders[] = {
    DecodeAttitude,       DecodeGyro,         DecodeChannels1To3,  DecodeChannels4To6, DecodeGains,
    DecodeBatteryHeading, DecodeAltitude,     DecodePosition,      DecodeMagnetometer, DecodeAccelerometer,
    DecodeReceiver,       DecodeLimits,       DecodeMotors,
};
static_assert(std::size(kDecoders) == std::variant_size_v<Telemetry>);

// --- Encoding, one overload per quantities struct. ---

void Encode(TelemetryFrame& f, const AttitudeTelemetry& q)
{
    kRoll.encode(f, q.roll);
    kPitch.encode(f, q.pitch);
    kYaw.encode(f, q.yaw);
}

void Encode(TelemetryFrame& f, const GyroTelemetry& q)
{
    kGyroX.encode(f, q.gyroX);
    kGyroY.encode(f, q.gyroY);
    kGyroZ.encode(f, q.gyroZ);
}

void Encode(TelemetryFrame& f, const Channels1To3Telemetry& q)
{
    kChannelA.encode(f, q.ch1);
    kChannelB.encode(f, q.ch2);
    kChannelC.encode(f, q.ch3);
}

void Encode(TelemetryFrame& f, const Channels4To6Telemetry& q)
{
    kChannelA.encode(f, q.ch4);
    kChannelB.encode(f, q.ch5);
    kChannelC.encode(f, q.ch6);
}

void Encode(TelemetryFrame& f, const GainsTelemetry& q)
{
    kGyroGain.encode(f, q.gyroGain);
    kAirframe.encode(f, q.airframe);
    kVersion.encode(f, q.version);
    kAuxGain.encode(f, q.auxGain);
}

void Encode(TelemetryFrame& f, const BatteryHeadingTelemetry& q)
{
    kBattery.encode(f, q.battery);
    kAzimuth.encode(f, q.azimuth);
    kHeading.encode(f, q.heading);
}

void Encode(TelemetryFrame& f, const AltitudeTelemetry& q)
{
    kAltitude.encode(f, q.altitude);
    kAltVel.encode(f, q.altVel);
    kAltGain.encode(f, q.altGain);
}

void Encode(TelemetryFrame& f, const PositionTelemetry& q)
{
    kLatitude.encode(f, q.latitude);
    kLongitude.encode(f, q.longitude);
    kHac.encode(f, q.hac);
}

void Encode(TelemetryFrame& f, const MagnetometerTelemetry& q)
{
    kMagX.encode(f, q.mx);
    kMagY.encode(f, q.my);
    kMagZ.encode(f, q.mz);
}

void Encode(TelemetryFrame& f, const AccelerometerTelemetry& q)
{
    kAccX.encode(f, q.ax);
    kAccY.encode(f, q.ay);
    kAccZ.encode(f, q.az);
}

void Encode(TelemetryFrame& f, const ReceiverTelemetry& q)
{
    kReceiverType.encode(f, q.receiverType);
    kLowVoltage.encode(f, q.lowVoltage);
    kMotor1.encode(f, q.m1);
    kMotor2.encode(f, q.m2);
}

void Encode(TelemetryFrame& f, const LimitsTelemetry& q)
{
    kRangeLimit.encode(f, q.rangeLimit);
    kHeightLimit.encode(f, q.heightLimit);
    kArmedSpeed.encode(f, q.armedSpeed);
}

void Encode(TelemetryFrame& f, const MotorsTelemetry& q)
{
    for (std::size_t i = 0; i < q.motors.size(); ++i)
        kMotors3To8[i].encode(f, q.motors[i]);
}

} // namespace

std::optional<Telemetry> DecodeTelemetry(const TelemetryFrame& frame)
{
    if (!frame.isValid())
        return std::nullopt;
    return kDecoders[frame.type() - kFirstTelemetryType](frame);
}

TelemetryFrame EncodeTelemetry(const Telemetry& telemetry)
{
    TelemetryFrame frame = TelemetryFrame::OfType(TelemetryTypeOf(telemetry));
    std::visit([&frame](const auto& quantities) { Encode(frame, quantities); }, telemetry);
    return frame;
}

} // namespace protocol
