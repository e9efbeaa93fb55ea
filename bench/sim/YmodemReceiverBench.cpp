// How fast the boot loader's receiver takes a firmware, against the 11520 bytes a
// second that a 115200-baud line can bring it.
#include "Crc16Xmodem.h"
#include "YmodemReceiver.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<uint8_t>;

void AppendBlock(Bytes& stream, uint8_t number, const uint8_t* data, std::size_t size)
{
    stream.push_back(size == 128 ? sim::YmodemReceiver::SOH : sim::YmodemReceiver::STX);
    stream.push_back(number);
    stream.push_back(static_cast<uint8_t>(255 - number));
    stream.insert(stream.end(), data, data + size);
    const uint16_t crc = protocol::Crc16Xmodem(data, size);
    stream.push_back(static_cast<uint8_t>(crc >> 8));
    stream.push_back(static_cast<uint8_t>(crc));
}

// A whole upload of a 256 KiB firmware as a sender puts it on the wire.
Bytes Upload(std::size_t firmwareSize)
{
    Bytes stream;
    Bytes header(128, 0);
    const std::string text = std::string("fw.fcu") + '\0' + std::to_string(firmwareSize);
    std::copy(text.begin(), text.end(), header.begin());
    AppendBlock(stream, 0, header.data(), 128);
    Bytes data(1024);
    for (std::size_t block = 0; block * 1024 < firmwareSize; ++block) {
        for (std::size_t i = 0; i < data.size(); ++i)
            data[i] = static_cast<uint8_t>(block * 31 + i);
        AppendBlock(stream, static_cast<uint8_t>(block + 1), data.data(), 1024);
    }
    stream.push_back(sim::YmodemReceiver::EOT);
    Bytes closing(128, 0);
    AppendBlock(stream, 0, closing.data(), 128);
    return stream;
}

void BM_ReceiveUpload(benchmark::State& state)
{
    const std::size_t firmwareSize = 256 * 1024;
    const Bytes stream = Upload(firmwareSize);
    const auto now = sim::Clock::now();
    const auto start = std::chrono::steady_clock::now();
    for (auto _ : state) {
        sim::YmodemReceiver receiver;
        receiver.begin(now);
        // In chunks the size of one read of a busy line.
        for (std::size_t at = 0; at < stream.size(); at += 256)
            receiver.receive(stream.data() + at, std::min<std::size_t>(256, stream.size() - at), now);
        if (receiver.outcome() != sim::YmodemReceiver::Outcome::Succeeded)
            state.SkipWithError("upload not accepted");
        benchmark::DoNotOptimize(receiver.file().data.data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * stream.size()));
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    state.counters["x line rate"] = static_cast<double>(state.iterations() * stream.size()) / seconds / 11520.0;
}
BENCHMARK(BM_ReceiveUpload)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
