// How fast the sender moves a firmware image: against lrzsz's own YMODEM sender to
// the same receiver over a pty, and as a share of a real 115200-baud line through a
// relay that paces every byte as a UART would.
#include "PipedPeer.h"
#include "SenderRig.h"

#include <QCoreApplication>

#include <benchmark/benchmark.h>

#include <chrono>

using namespace ymodem_test;
using Clock = std::chrono::steady_clock;

namespace {

constexpr int LineBytesPerSecond = 11520; // 115200 baud, 8N1: ten bits a byte

double Seconds(Clock::duration d) { return std::chrono::duration<double>(d).count(); }

// Our sender to rb; the wall time from Execute to rb's exit, or a negative value
// when the file did not arrive intact.
double OwnSenderToRb(const std::vector<uint8_t>& bytes)
{
    PtyPair pty;
    QTemporaryDir source, target;
    SenderRig rig(pty.slavePath());
    rig.sender.Files().append(WriteFile(source, "fw.fcu", bytes));
    const auto start = Clock::now();
    rig.sender.Execute();
    PipedPeer rb(pty.master(), {"/usr/bin/rb", "-b"}, target.path().toStdString());
    if (!rig.WaitForEnd(std::chrono::seconds(120)) ||
        !RunEventsUntil([&] { return rb.Exited(); }, std::chrono::seconds(30)))
        return -1;
    const double elapsed = Seconds(Clock::now() - start);
    return rig.record.exitCode == 0 && ReadWholeFile(target.filePath("fw.fcu")) == bytes ? elapsed : -1;
}

// lrzsz's sb with 1K blocks to rb over the same kind of pty.
double LrzszSenderToRb(const std::vector<uint8_t>& bytes)
{
    PtyPair pty;
    QTemporaryDir source, target;
    const QString path = WriteFile(source, "fw.fcu", bytes);
    const auto start = Clock::now();
    PipedPeer sb(pty.slave(), {"/usr/bin/sb", "-k", "-b", path.toStdString()}, source.path().toStdString());
    PipedPeer rb(pty.master(), {"/usr/bin/rb", "-b"}, target.path().toStdString());
    if (!RunEventsUntil([&] { return sb.Exited() && rb.Exited(); }, std::chrono::seconds(120)))
        return -1;
    const double elapsed = Seconds(Clock::now() - start);
    return ReadWholeFile(target.filePath("fw.fcu")) == bytes ? elapsed : -1;
}

void BM_SenderBesideLrzszSb_256KiB(benchmark::State& state)
{
    const auto bytes = TestBytes(256 * 1024);
    double own = 0, theirs = 0;
    for (auto _ : state) {
        const double a = OwnSenderToRb(bytes);
        const double b = LrzszSenderToRb(bytes);
        if (a < 0 || b < 0) {
            state.SkipWithError("a transfer failed");
            return;
        }
        own += a;
        theirs += b;
        state.SetIterationTime(a);
    }
    const double n = static_cast<double>(state.iterations());
    state.counters["own_s"] = own / n;
    state.counters["sb_s"] = theirs / n;
    state.counters["own_over_sb"] = own / theirs; // target: at most 1
}
BENCHMARK(BM_SenderBesideLrzszSb_256KiB)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);

// The data phase on a paced line: from the header's acceptance (OnFileInfo) to the
// last block's acknowledgement, file bytes per second over the line rate.
void BM_SenderLineShare_115200(benchmark::State& state)
{
    const auto bytes = TestBytes(64 * 1024); // whole blocks: no padding counted as data
    double share = 0;
    for (auto _ : state) {
        PtyPair pty;
        QTemporaryDir source, target;
        SenderRig rig(pty.slavePath());
        rig.sender.Files().append(WriteFile(source, "fw.fcu", bytes));
        Clock::time_point first, last;
        rig.sender.OnFileInfo = [&](platform::TObject*, const QString&, int) { first = Clock::now(); };
        rig.sender.OnPacketEvent = [&](platform::TObject*, int, int) { last = Clock::now(); };
        rig.sender.Execute();
        PipedPeer rb(pty.master(), {"/usr/bin/rb", "-b"}, target.path().toStdString(), LineBytesPerSecond);
        if (!rig.WaitForEnd(std::chrono::seconds(120)) || rig.record.exitCode != 0 ||
            !RunEventsUntil([&] { return rb.Exited(); }, std::chrono::seconds(30)) ||
            ReadWholeFile(target.filePath("fw.fcu")) != bytes) {
            state.SkipWithError("the paced transfer failed");
            return;
        }
        const double seconds = Seconds(last - first);
        share += static_cast<double>(bytes.size()) / seconds / LineBytesPerSecond;
        state.SetIterationTime(seconds);
    }
    // Target: at least 97 %; 1024 data bytes in a 1029-byte block allow 99.5 %.
    state.counters["line_share_pct"] = 100.0 * share / static_cast<double>(state.iterations());
}
BENCHMARK(BM_SenderLineShare_115200)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv); // the sender hands its events to this thread
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
