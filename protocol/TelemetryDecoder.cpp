#include "TelemetryDecoder.h"

#include "TelemetryCodec.h"

#include <algorithm>

namespace protocol {

std::optional<Telemetry> TelemetryDecoder::push(std::uint8_t byte)
{
    auto& bytes = window_.bytes;
    std::copy(bytes.begin() + 1, bytes.end(), bytes.begin());
    bytes.back() = byte;
    return DecodeTelemetry(window_);
}

} // namespace protocol
