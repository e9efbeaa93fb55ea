// What the serial path costs: the read a receive handler makes each tick, the
// byte path through a pty, the receive rate the 10 ms tick sustains, and the
// processor time an idle tick takes.
#include "Comm.h"
#include "EventLoopWait.h"
#include "FakeSerialDevice.h"
#include "PosixSerialDevice.h"
#include "PtyPair.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>

#include <benchmark/benchmark.h>

#include <ctime>
#include <thread>

using namespace serial;

namespace {

double ProcessCpuSeconds()
{
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

// One tick's worth at 115200 bit/s (about 115 bytes) read as the console's handler does.
void BM_ReadInputByteOneTickOfTelemetry(benchmark::State& state)
{
    auto line = std::make_shared<FakeLine>();
    TComm comm(nullptr, FakeDeviceFactory(line));
    comm.SetPortOpen(true);
    const std::vector<uint8_t> tick(115, 0x55);
    for (auto _ : state) {
        line->input.insert(line->input.end(), tick.begin(), tick.end());
        benchmark::DoNotOptimize(comm.ReadInputByte());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * tick.size()));
    comm.SetPortOpen(false);
}
BENCHMARK(BM_ReadInputByteOneTickOfTelemetry);

// Device to peer: a write of the given size and the peer reading it all.
void BM_PtyWriteToPeer(benchmark::State& state)
{
    serialtest::PtyPair pty;
    PosixSerialDevice device;
    device.open(pty.slavePath());
    const std::vector<uint8_t> data(static_cast<std::size_t>(state.range(0)), 0xA5);
    for (auto _ : state) {
        std::thread reader([&] { benchmark::DoNotOptimize(pty.readMaster(data.size())); });
        uint32_t written = 0;
        device.write(data.data(), static_cast<uint32_t>(data.size()), written);
        reader.join();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * data.size()));
}
BENCHMARK(BM_PtyWriteToPeer)->Arg(4)->Arg(1024)->Arg(65536)->UseRealTime();

// Peer to handler: bytes written at the pty master as fast as it takes them,
// received through the 10 ms tick and a handler that reads each time.
void BM_CommReceiveRateThroughTick(benchmark::State& state)
{
    const std::size_t total = static_cast<std::size_t>(state.range(0));
    for (auto _ : state) {
        serialtest::PtyPair pty;
        TComm comm;
        comm.SetDevicePath(pty.slavePath());
        comm.SetRThreshold(1);
        std::size_t received = 0;
        comm.OnReceiveData = [&](platform::TObject*) { received += comm.ReadInputByte().size(); };
        comm.SetPortOpen(true);
        std::thread writer([&] { pty.writeMaster(std::vector<uint8_t>(total, 0x33)); });
        serialtest::WaitUntil([&] { return received >= total; }, 60000);
        writer.join();
        comm.SetPortOpen(false);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * total));
}
BENCHMARK(BM_CommReceiveRateThroughTick)->Arg(256 * 1024)->UseRealTime()->Unit(benchmark::kMillisecond);

// Processor time of one tick on an open port with nothing arriving.
void BM_IdleTickCpuTime(benchmark::State& state)
{
    serialtest::PtyPair pty;
    TComm comm;
    comm.SetDevicePath(pty.slavePath());
    comm.SetRThreshold(1);
    comm.SetPortOpen(true);
    constexpr int kTicksPerRound = 20;
    for (auto _ : state) {
        // Only the component's timer runs in this loop, so its processor time is the ticks'.
        QEventLoop loop;
        QTimer::singleShot(kTicksPerRound * TComm::PollIntervalMs, &loop, &QEventLoop::quit);
        const double cpuBefore = ProcessCpuSeconds();
        loop.exec();
        state.SetIterationTime((ProcessCpuSeconds() - cpuBefore) / kTicksPerRound);
    }
    comm.SetPortOpen(false);
}
BENCHMARK(BM_IdleTickCpuTime)->UseManualTime()->Iterations(10)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
