// Decoder throughput on a long mixed stream: all thirteen frame types with
// changing values, and a stretch of line noise every few frames, cut into
// reads of the size a 10 ms tick brings at 115200 baud. The figure to compare
// is frames/s against the line's own 1280 frames/s (printed beside
// it): the decoder must not be what limits the console.
#include "TelemetryCodec.h"
#include "TelemetryDecoder.h"

#include <benchmark/benchmark.h>

#include <algorithm>

#include <cstdint>
#include <random>
#include <span>
#include <vector>

namespace {

constexpr double kLineRateFramesPerSecond = 115200.0 / 10 / protocol::kTelemetryFrameSize;
constexpr std::size_t kBytesPerTick = 115;

struct RecordedStream {
    std::vector<std::uint8_t> bytes;
    std::size_t frames = 0;
};

RecordedStream RecordMixedStream()
{
    RecordedStream stream;
    std::mt19937 random(1280);
    for (int i = 0; i < 20000; ++i) {
        protocol::TelemetryFrame frame = protocol::TelemetryFrame::OfType(static_cast<std::uint8_t>(0xA0 + i % 13));
        for (std::size_t w = 0; w < 3; ++w)
            frame.setWord(w, static_cast<std::uint16_t>(18000 + (i * 37 + w * 1000) % 12000));
        stream.bytes.insert(stream.bytes.end(), frame.bytes.begin(), frame.bytes.end());
        if (i % 10 == 9) {
            // Noise without the trailer byte, so it never completes a frame.
            for (int n = 0; n < 7; ++n) {
                const auto b = static_cast<std::uint8_t>(random());
                stream.bytes.push_back(b == protocol::kTelemetryTrailer ? 0 : b);
            }
        }
    }
    protocol::TelemetryDecoder counter;
    for (const std::uint8_t b : stream.bytes)
        stream.frames += counter.push(b).has_value();
    return stream;
}

void BM_DecodeMixedStream(benchmark::State& state)
{
    static const RecordedStream stream = RecordMixedStream();
    const std::span<const std::uint8_t> bytes(stream.bytes);
    protocol::TelemetryDecoder decoder;
    std::size_t frames = 0;
    for (auto _ : state) {
        for (std::size_t at = 0; at < bytes.size(); at += kBytesPerTick) {
            decoder.push(bytes.subspan(at, std::min(kBytesPerTick, bytes.size() - at)),
                         [&frames](const protocol::Telemetry& t) {
                             benchmark::DoNotOptimize(t);
                             ++frames;
                         });
        }
    }
    state.counters["frames/s"] = benchmark::Counter(static_cast<double>(frames), benchmark::Counter::kIsRate);
    state.counters["line frames/s"] = kLineRateFramesPerSecond;
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes.size()));
}
BENCHMARK(BM_DecodeMixedStream)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
