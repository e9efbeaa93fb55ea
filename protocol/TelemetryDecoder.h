#pragma once
// Finds telemetry frames in the received byte stream and decodes them.
//
// The controller sends no length and no checksum, so the decoder keeps the last
// nine bytes received (the sync window, all zero at first) and tests it after
// every byte: header 0x55, type 0xA0..0xAC, trailer 0xBB. There is no hunting
// state and no skip after a match, so frames sent back to back are each found
// once, when their trailer arrives, and a frame split across reads is found
// when its last byte comes. The window is never cleared: keep one decoder for
// the whole run of the program, across reads, disconnects and reconnects.
//
// Typical use, one read of the port at a time:
//     for (std::uint8_t b : Comm1->ReadInputByte())
//         decoder.push(b, [&](const protocol::Telemetry& t) { show(t); });
#include "Telemetry.h"
#include "TelemetryFrame.h"

#include <cstdint>
#include <optional>
#include <span>

namespace protocol {

class TelemetryDecoder {
public:
    // Shifts one byte into the window; returns the decoded quantities when that
    // byte completed a frame.
    std::optional<Telemetry> push(std::uint8_t byte);

    // Same, handing an accepted frame's quantities to `consumer` (any callable
    // taking const Telemetry&) before returning, so frames reach it in stream
    // order and each is dealt with before the next byte is looked at.
    template <typename Consumer>
    void push(std::uint8_t byte, Consumer&& consumer)
    {
        if (auto telemetry = push(byte))
            consumer(*telemetry);
    }

    template <typename Consumer>
    void push(std::span<const std::uint8_t> bytes, Consumer&& consumer)
    {
        for (const std::uint8_t byte : bytes)
            push(byte, consumer);
    }

    // The last nine bytes received, oldest first.
    const TelemetryFrame& window() const { return window_; }

private:
    TelemetryFrame window_{};
};

} // namespace protocol
