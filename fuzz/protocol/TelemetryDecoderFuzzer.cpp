// Any byte stream, cut into reads anywhere: the decoder must neither crash nor
// disagree with itself. The first input byte chooses where the reads are cut;
// every accepted frame must be a valid frame whose quantities survive a trip
// through the encoder, and the same stream fed whole must yield the same
// frames in the same order.
#include "TelemetryCodec.h"
#include "TelemetryDecoder.h"

#include <algorithm>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <vector>

namespace {

std::vector<protocol::Telemetry> DecodeInReads(std::span<const std::uint8_t> stream, std::size_t readSize)
{
    protocol::TelemetryDecoder decoder;
    std::vector<protocol::Telemetry> decoded;
    const auto collect = [&](const protocol::Telemetry& t) {
        if (!decoder.window().isValid())
            std::abort();
        const auto again = protocol::DecodeTelemetry(protocol::EncodeTelemetry(t));
        if (!again || !(*again == t))
            std::abort();
        decoded.push_back(t);
    };
    for (std::size_t at = 0; at < stream.size(); at += readSize)
        decoder.push(stream.subspan(at, std::min(readSize, stream.size() - at)), collect);
    return decoded;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    const std::size_t readSize = 1 + data[0] % 16;
    const std::span<const std::uint8_t> stream(data + 1, size - 1);
    if (DecodeInReads(stream, readSize) != DecodeInReads(stream, stream.size() + 1))
        std::abort();
    return 0;
}
