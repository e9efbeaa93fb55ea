#pragma once
// One frame of the controller's telemetry stream: 0x55, a type byte
// 0xA0..0xAC, six payload bytes, 0xBB. No length field and no checksum: a
// frame is recognised only by these three marker bytes.
#include <array>
#include <cstddef>
#include <cstdint>

namespace protocol {

constexpr std::size_t kTelemetryFrameSize = 9;
constexpr std::size_t kTelemetryPayloadSize = 6;
constexpr std::uint8_t kTelemetryHeader = 0x55;
constexpr std::uint8_t kTelemetryTrailer = 0xBB;
constexpr std::uint8_t kFirstTelemetryType = 0xA0;
constexpr std::uint8_t kLastTelemetryType = 0xAC;

struct TelemetryFrame {
    std::array<std::uint8_t, kTelemetryFrameSize> bytes{};

    // A frame of the given type with an all-zero payload.
    static TelemetryFrame OfType(std::uint8_t type)
    {
        TelemetryFrame frame;
        frame.bytes[0] = kTelemetryHeader;
        frame.bytes[1] = type;
        frame.bytes[8] = kTelemetryTrailer;
        return frame;
    }

    std::uint8_t type() const { return bytes[1]; }

    // Payload byte p0..p5 (frame offsets 2..7).
    std::uint8_t payload(std::size_t index) const { return bytes[2 + index]; }
    void setPayload(std::size_t index, std::uint8_t value) { bytes[2 + index] = value; }

    // Unsigned little-endian word W0..W2 of the payload.
    std::uint16_t word(std::size_t index) const
    {
        return static_cast<std::uint16_t>(payload(2 * index) | payload(2 * index + 1) << 8);
    }
    void setWord(std::size_t index, std::uint16_t value)
    {
        setPayload(2 * index, static_cast<std::uint8_t>(value & 0xFF));
        setPayload(2 * index + 1, static_cast<std::uint8_t>(value >> 8));
    }

    // True when the nine bytes carry the header, a known type and the trailer.
    bool isValid() const
    {
        return bytes[0] == kTelemetryHeader && bytes[8] == kTelemetryTrailer &&
               type() >= kFirstTelemetryType && type() <= kLastTelemetryType;
    }

    friend bool operator==(const TelemetryFrame&, const TelemetryFrame&) = default;
};

} // namespace protocol
