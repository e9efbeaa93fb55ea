#pragma once
// The console-wide objects that exist before the window and live until the
// process ends: the port scan, the command frame being sent, the bytes of the
// current read, the connected flag and the telemetry decoder, whose sync window
// lives for the whole run (it is never reset, not even across reconnects).
#include "PortDiscovery.h"
#include "TelemetryDecoder.h"

#include <cstdint>
#include <vector>

namespace console {

struct ConsoleSession {
    explicit ConsoleSession(serial::PortDiscovery ports) : Ports(std::move(ports)) {}

    // Stands where the port list and the registry reader stood: each scan asks
    // it for the ports to offer.
    serial::PortDiscovery Ports;
    // The command frame being sent; the window's creation gives it four bytes.
    std::vector<std::uint8_t> FrameBuffer;
    // The bytes of the current read.
    std::vector<std::uint8_t> ReceiveBuffer;
    // 1 after Connect (whatever the outcome of the open), 0 after Disconnect.
    int PortConnected = 0;
    protocol::TelemetryDecoder Decoder;
};

} // namespace console
