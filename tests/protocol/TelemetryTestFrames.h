#pragma once
// Frames written out byte by byte, as the controller sends them.
#include "TelemetryFrame.h"

#include <array>
#include <cstdint>
#include <vector>

namespace protocol::testing {

inline TelemetryFrame FrameOf(std::uint8_t type, std::array<std::uint8_t, 6> payload)
{
    TelemetryFrame frame = TelemetryFrame::OfType(type);
    for (std::size_t i = 0; i < payload.size(); ++i)
        frame.setPayload(i, payload[i]);
    return frame;
}

inline TelemetryFrame FrameOfWords(std::uint8_t type, std::uint16_t w0, std::uint16_t w1, std::uint16_t w2)
{
    return FrameOf(type, {static_cast<std::uint8_t>(w0), static_cast<std::uint8_t>(w0 >> 8),
                          static_cast<std::uint8_t>(w1), static_cast<std::uint8_t>(w1 >> 8),
                          static_cast<std::uint8_t>(w2), static_cast<std::uint8_t>(w2 >> 8)});
}

inline std::vector<std::uint8_t> BytesOf(const TelemetryFrame& frame)
{
    return {frame.bytes.begin(), frame.bytes.end()};
}

} // namespace protocol::testing
