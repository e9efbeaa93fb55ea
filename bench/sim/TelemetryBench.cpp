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
#include <memory>
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

// A simulator running on a link in a folder of its own; stopped, and the folder
// removed, when the benchmark ends. Without a simulator the benchmark is skipped.
struct RunningSimulator {
    RunningSimulator(benchmark::State& state, sim::SimulatorOptions options)
    {
        char pattern[] = "/tmp/novalk-sim-bench-XXXXXX";
        dir = ::mkdtemp(pattern);
        options.linkPath = (dir / "link").string();
        simulator = std::make_unique<sim::Simulator>(options);
        std::string error;
        if (!simulator->open(error)) {
            state.SkipWithError(error.c_str());
            simulator.reset();
            return;
        }
        simulator->start();
    }
    ~RunningSimulator()
    {
        simulator.reset(); // stops it and removes its link
        std::filesystem::remove_all(dir);
    }

    std::filesystem::path dir;
    std::unique_ptr<sim::Simulator> simulator;
};

// Frames a console receives in one second of reading the simulator's line.
void BM_PacedStreamOverPty(benchmark::State& state)
{
    RunningSimulator running(state, {});
    if (!running.simulator)
        return;
    const int fd = ::open(running.simulator->path().c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
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
    sim::SimulatorOptions options;
    options.bootLoader = state.range(0) == 1;
    RunningSimulator running(state, options);
    if (!running.simulator)
        return;
    double cpu = 0, wall = 0;
    for (auto _ : state) {
        const double cpuBefore = ProcessCpuSeconds();
        const auto start = std::chrono::steady_clock::now();
        std::this_thread::sleep_for(std::chrono::seconds(1)); // the measured interval, not a wait for a condition
        wall += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        cpu += ProcessCpuSeconds() - cpuBefore;
    }
    state.counters["% of a core"] = 100 * cpu / wall;
}
BENCHMARK(BM_IdleWithoutTool)->Arg(0)->Arg(1)->ArgName("bootloader")->Iterations(2)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

BENCHMARK_MAIN();
