// How much the live display costs: frames per second through decode and display
// update, and the CPU share and memory of a connected window fed at the full
// line rate of 1280 frames/s (115200 bit/s, 9-byte frames, 10 bits a byte)
// through a real pseudo-terminal. Targets: under 5 % of one core, under 60 MB.
// The window is fed two streams: flight as the simulator plays it (settings echoes
// steady, the airframe tile unchanged), and a harsher one in which every quantity
// of every frame moves.
#include "ConsoleSession.h"
#include "ControllerSettings.h"
#include "FlightModel.h"
#include "MainWindow.h"
#include "Messages.h"
#include "PaintCounter.h"
#include "PaintPacer.h"
#include "PtyPair.h"
#include "TelemetryCodec.h"
#include "TelemetryDisplay.h"
#include "TelemetryFrame.h"
#include "WidgetsLook.h"

#include <QApplication>
#include <QEvent>
#include <QEventLoop>
#include <QTimer>

#include <benchmark/benchmark.h>

#include <sys/resource.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <thread>

using consoletest::PaintCounter;

namespace {

constexpr double LineRateFramesPerSecond = 115200.0 / 10 / 9;

// A recorded-like mixed stream: every frame type in turn, with values that move
// as in flight, so that most frames really change their texts.
std::vector<std::uint8_t> MixedStream(int frames)
{
    std::vector<std::uint8_t> stream;
    for (int i = 0; i < frames; ++i) {
        const std::uint8_t type = static_cast<std::uint8_t>(0xA0 + i % 13);
        protocol::TelemetryFrame frame = protocol::TelemetryFrame::OfType(type);
        const double t = i / LineRateFramesPerSecond;
        auto wave = [t](double centre, double amplitude, double hz) {
            return static_cast<std::uint16_t>(centre + amplitude * std::sin(2 * 3.14159 * hz * t));
        };
        frame.setWord(0, wave(18000, 2500, 0.7));
        frame.setWord(1, wave(18000, 1500, 0.5));
        frame.setWord(2, wave(18000, 9000, 0.1));
        if (type == 0xA4 || type == 0xAA || type == 0xAB) {
            frame.setPayload(2, static_cast<std::uint8_t>(i / 13 % 8)); // airframe tile / low voltage
            frame.setPayload(3, 12);
            frame.setPayload(1, static_cast<std::uint8_t>(i / 13 % 3));
        }
        stream.insert(stream.end(), frame.bytes.begin(), frame.bytes.end());
    }
    return stream;
}

// Flight as the simulator plays it at the line rate, its settings at their defaults.
std::vector<std::uint8_t> FlightStream(int frames)
{
    const sim::FlightModel model;
    const sim::SettingsEcho settings = sim::ControllerSettings().echo();
    std::vector<std::uint8_t> stream;
    for (int i = 0; i < frames; ++i) {
        const auto frame = protocol::EncodeTelemetry(
            model.sample(std::size_t(i) % sim::FlightModel::FrameTypes, i / LineRateFramesPerSecond, settings));
        stream.insert(stream.end(), frame.bytes.begin(), frame.bytes.end());
    }
    return stream;
}

enum StreamKind { SimulatedFlight = 0, EverythingMoves = 1 };


struct Window {
    Window()
        : session(serial::PortDiscovery({}, [] { return std::vector<std::string>{}; })), form(session)
    {
        form.show();
        QCoreApplication::processEvents();
    }
    void TakeOffPaintPacer()
    {
        for (auto* pacer : form.findChildren<platform::TPaintPacer*>())
            form.removeEventFilter(pacer);
    }
    console::ConsoleSession session;
    console::TForm1 form;
};

double CpuSecondsOfThisThread()
{
    rusage usage{};
    getrusage(RUSAGE_THREAD, &usage);
    return usage.ru_utime.tv_sec + usage.ru_stime.tv_sec + (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// Decodes and shows `stream`, painting after every `framesPerPaint` frames, and
// returns how many frames it showed. The window's paint pacer must be off
// (TakeOffPaintPacer): this loop runs far faster than the line rate, and the
// pacer would leave most of its paints out.
std::int64_t ShowStream(Window& window, const std::vector<std::uint8_t>& stream, int framesPerPaint)
{
    std::int64_t frames = 0;
    for (const std::uint8_t byte : stream)
        window.session.Decoder.push(byte, [&](const protocol::Telemetry& t) {
            console::ShowTelemetry(window.form, t);
            if (++frames % framesPerPaint == 0)
                QCoreApplication::processEvents();
        });
    return frames;
}

// Decode and show, painting once per 12 frames as the 10 ms tick would.
void BM_DecodeAndDisplay(benchmark::State& state)
{
    Window window;
    window.TakeOffPaintPacer();
    const std::vector<std::uint8_t> stream = MixedStream(13 * 240);
    std::int64_t frames = 0;
    for (auto _ : state)
        frames += ShowStream(window, stream, 12);
    state.counters["frames/s"] = benchmark::Counter(double(frames), benchmark::Counter::kIsRate);
    state.counters["x line rate"] =
        benchmark::Counter(double(frames) / LineRateFramesPerSecond, benchmark::Counter::kIsRate);
}
BENCHMARK(BM_DecodeAndDisplay)->Unit(benchmark::kMillisecond);

// One second of simulated flight at the line rate, shown and painted as often as
// a connected window paints (one paint per PaintIntervalMs).
// Unlike the connected window below, it leaves out the event loop's waiting and
// the port polling, and times only the work of showing; on a shared machine
// that figure is the steadier of the two.
void BM_OneSecondOfFlightShown(benchmark::State& state)
{
    Window window;
    window.TakeOffPaintPacer();
    const int framesPerPaint = int(LineRateFramesPerSecond * console::TForm1::PaintIntervalMs / 1000);
    const std::vector<std::uint8_t> stream = FlightStream(int(LineRateFramesPerSecond));
    ShowStream(window, stream, framesPerPaint); // fills the glyph caches
    PaintCounter rollPaints(window.form.bsSkinEdit1);
    const double cpuBefore = CpuSecondsOfThisThread();
    for (auto _ : state)
        ShowStream(window, stream, framesPerPaint);
    // An iteration is one second of flight: its CPU time over that second.
    const double cpuPerSecondOfFlight = (CpuSecondsOfThisThread() - cpuBefore) / double(state.iterations());
    state.counters["cpu % of one core"] = 100.0 * cpuPerSecondOfFlight;
    state.counters["roll field paints/s of flight"] = double(rollPaints.count) / double(state.iterations());
}
BENCHMARK(BM_OneSecondOfFlightShown)->Unit(benchmark::kMillisecond);

// The window connected to a pty while another thread plays the controller at
// the line rate; the CPU time of the window's thread over the wall time.
void BM_ConnectedWindowAtLineRate(benchmark::State& state)
{
    platform::MessageCapture noBoxes;
    serialtest::PtyPair pty;
    Window window;
    window.session.Ports = serial::PortDiscovery({pty.slavePath()}, [] { return std::vector<std::string>{}; });
    window.form.bsSkinButton1Click(nullptr);
    window.form.bsSkinButton2Click(nullptr);
    if (!window.form.Comm1->PortOpen()) {
        state.SkipWithError("the pty did not open");
        return;
    }
    // The first second fills the glyph caches and the allocator's pools; the
    // share that matters is the steady one after it.
    const double warmUpSeconds = 1.0;
    const double seconds = 6.0;
    const int frameCount = int(LineRateFramesPerSecond * (warmUpSeconds + seconds + 1)) + 13;
    const std::vector<std::uint8_t> stream =
        state.range(0) == SimulatedFlight ? FlightStream(frameCount) : MixedStream(frameCount);
    state.SetLabel(state.range(0) == SimulatedFlight ? "simulated flight" : "every quantity moves");

    auto runEventLoopFor = [](double s) {
        QEventLoop loop;
        QTimer::singleShot(int(s * 1000), &loop, &QEventLoop::quit);
        loop.exec();
    };
    for (auto _ : state) {
        std::atomic<bool> done{false};
        std::thread controller([&] {
            const auto start = std::chrono::steady_clock::now();
            std::size_t sentFrames = 0;
            while (!done) {
                const double elapsed =
                    std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
                const std::size_t due = std::min(stream.size() / 9, std::size_t(elapsed * LineRateFramesPerSecond));
                if (due > sentFrames) {
                    pty.writeMaster({stream.begin() + 9 * sentFrames, stream.begin() + 9 * due});
                    sentFrames = due;
                }
                std::this_thread::sleep_for(std::chrono::milliseconds(5));
            }
        });
        runEventLoopFor(warmUpSeconds);
        PaintCounter rollPaints(window.form.bsSkinEdit1);
        const double cpuBefore = CpuSecondsOfThisThread();
        const auto wallBefore = std::chrono::steady_clock::now();
        runEventLoopFor(seconds);
        const double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - wallBefore).count();
        const double cpu = CpuSecondsOfThisThread() - cpuBefore;
        done = true;
        controller.join();
        state.counters["cpu % of one core"] = 100.0 * cpu / wall;
        state.counters["roll field paints/s"] = rollPaints.count / wall;
    }
    window.form.bsSkinButton2Click(nullptr);

    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    state.counters["peak RSS MB"] = usage.ru_maxrss / 1024.0;
}
// Three runs each, reported as their median: on a shared machine one run in
// several takes half as long again as the others.
BENCHMARK(BM_ConnectedWindowAtLineRate)
    ->Arg(SimulatedFlight)
    ->Arg(EverythingMoves)
    ->Iterations(1)
    ->Repetitions(3)
    ->ComputeStatistics("min", [](const std::vector<double>& v) { return *std::min_element(v.begin(), v.end()); })
    ->ComputeStatistics("max", [](const std::vector<double>& v) { return *std::max_element(v.begin(), v.end()); })
    ->ReportAggregatesOnly(true)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

} // namespace

int main(int argc, char** argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    platform::ApplyLook(app);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
