// The flight controller's telemetry: how fast frames are made (against the 1280 a
// second the line carries), and how closely the stream over a real pseudo-terminal
// keeps to that rate.
#include "FlightModel.h"
#include "Simulator.h"
#include "TelemetryCodec.h"
#include "TelemetryDecoder.h"

#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <poll.h>
#include <sys/resource.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <thread>

namespace {

constexpr double LineRate = 1280; // frames a second at 115200 baud

void BM_MakeFrames(benchmark::State& state)
{
    sim::FlightModel model;
    sim::SettingsEcho settings;
    settings.airframe = 5;
    double t = 0;
    std::size_t type = 0;
    const auto start = std::chrono::steady_clock::now();
    for (auto _ : state) {
        const auto frame = protocol::EncodeTelemetry(model.sample(type, t, settings));
        benchmark::DoNotOptimize(frame.bytes.data());
        type = (type + 1) % sim::FlightModel::FrameTypes;
        t += 1 / LineRate;
    }
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    state.counters["frames/s"] = static_cast<double>(state.iterations()) / seconds;
    state.counters["x line rate"] = static_cast<double>(state.iterations()) / seconds / LineRate;
}
BENCHMARK(BM_MakeFrames);

// Frames a console receives in one second of reading the simulator's line.
void BM_PacedStreamOverPty(benchmark::State& state)
{
    char pattern[] = "/tmp/novalk-sim-bench-XXXXXX";
    const std::filesystem::path dir = ::mkdtemp(pattern);
    sim::SimulatorOptions options;
    options.linkPath = (dir / "link").string();
    sim::Simulator simulator(options);
    std::string error;
    if (!simulator.open(error)) {
        state.SkipWithError(error.c_str());
        return;
    }
    simulator.start();
    const int fd = ::open(simulator.path().c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    double frames = 0, seconds = 0;
    for (auto _ : state) {
        protocol::TelemetryDecoder decoder;
        std::size_t count = 0;
        const auto start = std::chrono::steady_clock::now();
        while (std::chrono::steady_clock::now() - start < std::chrono::seconds(1)) {
            pollfd p{fd, POLLIN, 0};
            ::poll(&p, 1, 10);
            uint8_t buffer[4096];
            const ssize_t got = ::read(fd, buffer, sizeof buffer);
            for (ssize_t i = 0; i < got; ++i)
                if (decoder.push(buffer[i]))
                    ++count;
        }
        frames += static_cast<double>(count);
        seconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    }
    ::close(fd);
    simulator.stop();
    std::filesystem::remove_all(dir);
    state.counters["frames/s"] = frames / seconds;
    state.counters["% of line rate"] = 100 * frames / seconds / LineRate;
}
BENCHMARK(BM_PacedStreamOverPty)->Iterations(3)->Unit(benchmark::kMillisecond)->UseRealTime();

double ProcessCpuSeconds()
{
    rusage usage {};
    ::getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// The simulator waiting for a tool: without one the line reports a hang-up at once,
// so a careless loop would spin. Reported as the share of one core it takes.
void BM_IdleWithoutTool(benchmark::State& state)
{
    char pattern[] = "/tmp/novalk-sim-bench-XXXXXX";
    const std::filesystem::path dir = ::mkdtemp(pattern);
    sim::SimulatorOptions options;
    options.linkPath = (dir / "link").string();
    options.bootLoader = state.range(0) == 1;
    sim::Simulator simulator(options);
    std::string error;
    if (!simulator.open(error)) {
        state.SkipWithError(error.c_str());
        return;
    }
    simulator.start();
    double cpu = 0, wall = 0;
    for (auto _ : state) {
        const double cpuBefore = ProcessCpuSeconds();
        const auto start = std::chrono::steady_clock::now();
        std::this_thread::sleep_for(std::chrono::seconds(1)); // the measured interval, not a wait for a condition
        wall += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        cpu += ProcessCpuSeconds() - cpuBefore;
    }
    simulator.stop();
    std::filesystem::remove_all(dir);
    state.counters["% of a core"] = 100 * cpu / wall;
}
BENCHMARK(BM_IdleWithoutTool)->Arg(0)->Arg(1)->ArgName("bootloader")->Iterations(2)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

BENCHMARK_MAIN();
