// How long the settings buttons take from the click to the bytes at the
// controller's end of a pseudo-terminal: one Save, and "Default All Setting",
// whose nine blocking pauses make it the one slow action of the window.
#include "ConsoleSession.h"
#include "MainWindow.h"
#include "Messages.h"
#include "PtyPair.h"

#include <QApplication>

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <memory>

namespace {

// The real window, connected to a pseudo-terminal the benchmark reads.
struct ConnectedWindow {
    ConnectedWindow()
        : session(serial::PortDiscovery({pty.slavePath()}, [] { return std::vector<std::string>{}; })),
          form(session)
    {
        form.show();
        form.bsSkinButton1->click(); // lists the pseudo-terminal first and selects it
        form.bsSkinButton2->click();
    }
    ~ConnectedWindow() { form.Comm1->SetPortOpen(false); }

    platform::MessageCapture capture;
    serialtest::PtyPair pty;
    console::ConsoleSession session;
    console::TForm1 form;
};

void Measure(benchmark::State& state, platform::TButton* button, ConnectedWindow& window, std::size_t bytes)
{
    for (auto _ : state) {
        button->click();
        if (window.pty.readMaster(bytes).size() != bytes)
            state.SkipWithError("the frames did not arrive");
    }
    if (!window.capture.texts().empty())
        state.SkipWithError(window.capture.texts().front().c_str());
}

void BM_SaveClickToPeer(benchmark::State& state)
{
    ConnectedWindow window;
    Measure(state, window.form.bsSkinButton7, window, 4);
}
BENCHMARK(BM_SaveClickToPeer)->UseRealTime()->Unit(benchmark::kMicrosecond);

void BM_DefaultAllSettingClickToPeer(benchmark::State& state)
{
    ConnectedWindow window;
    Measure(state, window.form.bsSkinButton15, window, 36);
}
BENCHMARK(BM_DefaultAllSettingClickToPeer)->UseRealTime()->Iterations(3)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
