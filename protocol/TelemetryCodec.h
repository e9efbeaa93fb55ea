#pragma once
// Frame ⇄ quantities. Decoding is what the console does with every accepted
// frame; encoding is its inverse, for the simulator and the tests, so that
// nothing outside this unit needs to know where a quantity sits in a frame.
#include "Telemetry.h"
#include "TelemetryFrame.h"

#include <optional>

namespace protocol {

// The quantities of a valid frame; empty when the frame's header, type or
// trailer is wrong.
std::optional<Telemetry> DecodeTelemetry(const TelemetryFrame& frame);

// The frame that decodes to these quantities as nearly as the format allows:
// each value goes through the inverse scale and is rounded to the nearest word
// (or byte), clamped into its range. An empty choice is written as the first
// index past its list, so that it decodes as empty again. Bytes that carry no
// quantity are zero.
TelemetryFrame EncodeTelemetry(const Telemetry& telemetry);

} // namespace protocol
