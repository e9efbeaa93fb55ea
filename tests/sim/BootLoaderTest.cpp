// The boot loader over a real pseudo-terminal, with lrzsz's sb as the sender. sb is
// attached through pipes by socat, because lrzsz would reset a terminal it is given.
#include "BootLoader.h"
#include "HistoryLog.h"
#include "Simulator.h"
#include "TempDir.h"
#include "ToolSide.h"
#include "YmodemBlocks.h"

#include <QProcess>

#include <gtest/gtest.h>

#include <ostream>

using namespace std::chrono_literals;
using simtest::Bytes;
using simtest::TempDir;
using simtest::ToolSide;

namespace {

class BootLoaderOverPty : public ::testing::Test {
protected:
    void startSimulator(sim::ReceiverFaults faults, bool once)
    {
        sim::SimulatorOptions options;
        options.linkPath = dir / "link";
        options.bootLoader = true;
        options.boot.outPath = dir / "stored.fcu";
        options.boot.once = once;
        options.boot.faults = faults;
        options.boot.announceInterval = 200ms;
        options.boot.timing.startInterval = 200ms;
        options.boot.timing.idleLimit = 5s;
        simulator = std::make_unique<sim::Simulator>(options);
        std::string error;
        ASSERT_TRUE(simulator->open(error)) << error;
        simulator->start();
    }

    // The uploader's part before the transfer: "OK" in, "1" out, "C" in.
    void handshake()
    {
        ToolSide host(simulator->path());
        ASSERT_TRUE(host.isOpen());
        const std::string announced = host.readText("OKOK");
        EXPECT_EQ(announced.substr(0, 4), "OKOK") << "announces itself again until answered";
        host.write("1");
        EXPECT_NE(host.readText("C").find('C'), std::string::npos);
    }

    // sb sends the file; its exit code (0: success).
    int sendWithLrzsz(const std::string& file)
    {
        QProcess socat;
        socat.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        socat.start("socat", {QString::fromStdString(simulator->path() + ",raw,echo=0"),
                             QString::fromStdString("EXEC:sb -k " + file + ",pipes")});
        if (!socat.waitForFinished(60000)) {
            socat.kill();
            socat.waitForFinished();
            return -1;
        }
        return socat.exitCode();
    }

    sim::UploadResult awaitUpload()
    {
        EXPECT_TRUE(simulator->waitFor([](const sim::SimHistory& h) { return !h.uploads.empty(); }, 30s));
        const auto history = simulator->history();
        return history.uploads.empty() ? sim::UploadResult{} : history.uploads.front();
    }

    bool logged(const std::string& text) const { return simtest::Logged(simulator->history(), text); }

    TempDir dir;
    std::unique_ptr<sim::Simulator> simulator;
};

struct UploadCase {
    const char* name;
    std::size_t size;
    sim::ReceiverFaults faults;
    const char* logLine; // what the simulator must report, besides the outcome
};

void PrintTo(const UploadCase& c, std::ostream* os) { *os << c.name; }

class BootLoaderUpload : public BootLoaderOverPty, public ::testing::WithParamInterface<UploadCase> {};

sim::ReceiverFaults Faults(void (*set)(sim::ReceiverFaults&))
{
    sim::ReceiverFaults f;
    set(f);
    return f;
}

} // namespace

TEST_P(BootLoaderUpload, StoresAFileByteIdenticalToWhatLrzszSent)
{
    const UploadCase& c = GetParam();
    const std::string firmware = dir / "firmware.fcu";
    simtest::WriteFile(firmware, simtest::Filled(c.size, 3));
    startSimulator(c.faults, true);
    handshake();

    EXPECT_EQ(sendWithLrzsz(firmware), 0);
    const sim::UploadResult result = awaitUpload();
    EXPECT_TRUE(result.succeeded) << result.reason;
    EXPECT_EQ(result.senderName, "firmware.fcu");
    EXPECT_EQ(result.bytes, c.size);
    EXPECT_EQ(simtest::ReadFile(dir / "stored.fcu"), simtest::ReadFile(firmware));
    EXPECT_TRUE(logged(c.logLine)) << c.logLine;
}

INSTANTIATE_TEST_SUITE_P(Cases, BootLoaderUpload,
    ::testing::Values(
        UploadCase{"one_byte", 1, {}, "upload succeeded: 1 bytes"},
        UploadCase{"short_last_block", 1500, {}, "header: \"firmware.fcu\", 1500 bytes"},
        UploadCase{"exact_blocks", 4096, {}, "upload succeeded: 4096 bytes"},
        UploadCase{"block_numbers_wrap_past_255", 300 * 1024 + 77, {}, "upload succeeded: 307277 bytes"},
        UploadCase{"nak_of_a_sound_block", 5000, Faults([](auto& f) { f.nakBlock = 2; }), "NAK of sound block 2"},
        UploadCase{"nak_of_the_first_eot", 5000, Faults([](auto& f) { f.nakFirstEot = true; }),
                   "NAK of the first EOT"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(BootLoaderOverPty, CancelOnRequestStopsTheSenderAndStoresNothing)
{
    const std::string firmware = dir / "firmware.fcu";
    simtest::WriteFile(firmware, simtest::Filled(5000));
    sim::ReceiverFaults faults;
    faults.cancel = true;
    startSimulator(faults, true);
    handshake();

    EXPECT_NE(sendWithLrzsz(firmware), 0);
    const sim::UploadResult result = awaitUpload();
    EXPECT_FALSE(result.succeeded);
    EXPECT_TRUE(result.storedPath.empty());
    EXPECT_FALSE(std::filesystem::exists(dir / "stored.fcu"));
}

TEST_F(BootLoaderOverPty, GreetsTheNextToolAfterAnUploadAndRemovesItsLinkWhenStopped)
{
    const std::string firmware = dir / "firmware.fcu";
    simtest::WriteFile(firmware, simtest::Filled(2000));
    startSimulator({}, false);
    handshake();
    EXPECT_EQ(sendWithLrzsz(firmware), 0);
    EXPECT_TRUE(awaitUpload().succeeded);
    EXPECT_TRUE(simulator->waitFor(
        [](const sim::SimHistory& h) { return simtest::Logged(h, "announcing \"OK\" to the next one"); }, 30s))
        << "the sender's leaving was not noticed";

    ToolSide host(simulator->path());
    EXPECT_NE(host.readText("OK").find("OK"), std::string::npos);
    host.close();
    simulator->stop();
    EXPECT_FALSE(std::filesystem::exists(std::filesystem::symlink_status(dir / "link")));
}

// An uploader answers every "OK" with "1": a boot loader that greeted the tool still
// connected after an upload would make it send the same firmware over and over.
TEST(BootLoaderAfterAnUpload, KeepsQuietUntilTheToolLeaves)
{
    TempDir dir;
    sim::BootLoaderOptions options;
    options.outPath = dir / "stored.fcu";
    std::vector<sim::UploadResult> uploads;
    sim::SimEvents events;
    events.upload = [&](const sim::UploadResult& r) { uploads.push_back(r); };
    sim::BootLoader boot(options, events);
    auto now = sim::Clock::now();
    boot.start(now);
    boot.peerChanged(true, now);
    boot.takeOutput();

    const Bytes data = simtest::Filled(100);
    for (const Bytes& input : {Bytes{'1'}, simtest::Header("fw.fcu", "100"), simtest::Block(1, data),
                               Bytes{sim::YmodemReceiver::EOT}, Bytes{sim::YmodemReceiver::EOT},
                               simtest::Block(0, {}, 128)})
        boot.receive(input.data(), input.size(), now);
    ASSERT_EQ(uploads.size(), 1u);
    ASSERT_TRUE(uploads.front().succeeded) << uploads.front().reason;
    boot.takeOutput();

    now += std::chrono::minutes(1);
    boot.poll(now);
    EXPECT_TRUE(boot.takeOutput().empty()) << "greeted the tool that just uploaded";

    boot.peerChanged(false, now);
    boot.peerChanged(true, now);
    const Bytes greeting = boot.takeOutput();
    EXPECT_EQ(std::string(greeting.begin(), greeting.end()), "OK");
}
