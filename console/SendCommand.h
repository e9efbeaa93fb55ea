#pragma once
// The one way a command frame leaves the console. Commands are one-way: nothing
// is awaited after a frame, the controller's telemetry is the only feedback.
#include "CommandFrame.h"

#include <cstdint>
#include <vector>

namespace serial {
class TComm;
}

namespace console {

// Writes the frame's four bytes into the frame buffer, in wire order.
void FillFrameBuffer(std::vector<std::uint8_t>& frameBuffer, const protocol::CommandFrame& frame);

// Hands the frame buffer to the port component while the window counts as
// connected; otherwise writes nothing and shows nothing. The component's result
// is not looked at and nothing is retried: without a reply a lost frame could
// not be told from a delivered one anyway.
void SendCommand(const std::vector<std::uint8_t>& frameBuffer, int portConnected, serial::TComm& comm);

} // namespace console
