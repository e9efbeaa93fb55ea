// The upload flow without a window: the boot loader is played on a real pty and
// the YMODEM part is received by lrzsz's rb.
#include "BootLoaderLine.h"
#include "Exception.h"
#include "Messages.h"
#include "UploadFlow.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <ostream>

namespace {

using namespace fwloader_test;
using uploader::UploadFlow;

const std::string Ready = "Start Upload Firmware!!";
const std::string Signal = "Got Flight Controller Signal!!";
const std::string Starting = "Firmware Transfer Starting...";
const std::string Finished = "Firmware Transfer Finished...";

// Deterministic firmware bytes with zeros among them, so that padding and data
// are told apart only by position.
std::vector<uint8_t> FirmwareBytes(std::size_t size)
{
    std::vector<uint8_t> bytes(size);
    uint32_t state = 0x2545F491u;
    for (auto& byte : bytes) {
        state = state * 1103515245u + 12345u;
        byte = static_cast<uint8_t>(state >> 23);
    }
    return bytes;
}

// The message of the error an action raises, empty when it raises none.
std::string ErrorOf(const std::function<void()>& action)
{
    try {
        action();
    } catch (const platform::Exception& error) {
        return error.what();
    }
    return {};
}

// Everything the flow tells a view, in order.
struct FlowRecord {
    std::vector<std::string> log;
    std::string heard; // the boot loader's texts as the flow read them
    int reads = 0;
    std::vector<std::pair<int, std::string>> progress; // gauge, percentage text
};

void Record(UploadFlow& flow, FlowRecord& record)
{
    flow.OnLog = [&record](platform::TObject*, const std::string& line) { record.log.push_back(line); };
    flow.OnBootLoaderText = [&record](platform::TObject*, const std::string& text) {
        record.heard += text;
        ++record.reads;
    };
    flow.OnProgress = [&record, &flow](platform::TObject*) {
        record.progress.emplace_back(flow.GaugePercent(), flow.PercentText());
    };
}

class UploadFlowOnPty : public ::testing::Test {
protected:
    UploadFlowOnPty()
        : flow(nullptr, serial::PortDiscovery({line.Path()}, [] { return std::vector<std::string>{}; }))
    {
        Record(flow, record);
        flow.FormActivate(nullptr);
    }

    std::string Firmware(const std::string& name, const std::vector<uint8_t>& bytes)
    {
        const std::string path = files.filePath(QString::fromStdString(name)).toStdString();
        std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                                    static_cast<std::streamsize>(bytes.size()));
        return path;
    }

    void Connect(const std::string& firmwarePath)
    {
        ASSERT_TRUE(flow.ChooseFirmware(firmwarePath));
        flow.ConnectClick(nullptr);
        ASSERT_TRUE(flow.VaComm1->IsOpen());
        ASSERT_EQ(flow.ConnectCaption(), "DisConnect");
    }

    // One text in one read; returns when the flow has handled it.
    void Say(const std::string& text)
    {
        said += text;
        line.Say(text);
        ASSERT_TRUE(WaitFor([&] { return record.heard.size() >= said.size(); })) << "flow read: " << record.heard;
        ASSERT_EQ(record.heard, said);
    }

    // The handshake up to the sender waiting for rb, then rb until the upload
    // ended and, unless rb was left behind by a closed port, rb too.
    std::unique_ptr<YModemReceiver> Upload(bool receiverFinishes = true)
    {
        auto receiver = line.StartReceiver();
        Say("OK");
        EXPECT_EQ(line.Heard(1, 10s), "1");
        Say("C");
        EXPECT_TRUE(flow.Uploading());
        receiver->Attach();
        EXPECT_TRUE(WaitFor([&] { return !flow.Uploading() && (receiver->Finished() || !receiverFinishes); }, 60s))
            << receiver->Diagnostics();
        return receiver;
    }

    // The log of one successful upload, from the boot loader's "OK" on.
    static std::vector<std::string> SuccessfulUploadLog(const std::string& path, std::size_t size)
    {
        return {Ready, Signal, Starting, "File:" + path, "Size:" + std::to_string(size) + " bytes", Finished};
    }

    // A receiver that answers the first EOT with NAK costs one counted error;
    // rb answers with ACK. Either is a successful upload.
    static std::vector<std::string> WithoutEotRetry(std::vector<std::string> log)
    {
        std::erase(log, "Upload Error!! ErrCode:-16 ErrCnt:1");
        return log;
    }

    BootLoaderLine line;
    platform::MessageCapture messages;
    QTemporaryDir files;
    UploadFlow flow;
    FlowRecord record;
    std::string said;
};

// --- the handshake ---

struct HandshakeCase {
    const char* name;
    std::vector<std::string> reads; // each arrives in a read of its own
    std::vector<std::string> log;
    std::string answer;
};

void PrintTo(const HandshakeCase& c, std::ostream* out) { *out << c.name; }

class Handshake : public UploadFlowOnPty, public ::testing::WithParamInterface<HandshakeCase> {};

TEST_P(Handshake, AnswersOnlyWholeTexts)
{
    Connect(Firmware("fw.fcu", FirmwareBytes(10)));
    for (const std::string& text : GetParam().reads)
        Say(text);
    EXPECT_EQ(record.reads, static_cast<int>(GetParam().reads.size()));
    EXPECT_EQ(record.log, GetParam().log);
    // One byte more than expected may still arrive: wait a while for it.
    EXPECT_EQ(line.Heard(GetParam().answer.size() + 1, 300ms), GetParam().answer);
    EXPECT_FALSE(flow.Uploading());
}

INSTANTIATE_TEST_SUITE_P(
    BootLoaderTexts, Handshake,
    ::testing::Values(HandshakeCase{"OkInOneRead", {"OK"}, {Ready}, "1"},
                      HandshakeCase{"OkSplitOverTwoReads", {"O", "K"}, {}, ""},
                      HandshakeCase{"OkWithLineEnd", {"OK\r\n"}, {}, ""},
                      HandshakeCase{"OkInLowerCase", {"ok"}, {}, ""},
                      HandshakeCase{"OkAfterNoise", {std::string("\0OK", 3)}, {}, ""},
                      HandshakeCase{"NoFirmwareOnBoard", {"NO"}, {"Can't Find Any Firmware!!"}, ""},
                      HandshakeCase{"TwoOksTwoAnswers", {"OK", "OK"}, {Ready, Ready}, "11"},
                      HandshakeCase{"StartSplitFromOthers", {"CC"}, {}, ""}),
    [](const auto& info) { return std::string(info.param.name); });

// --- uploads to rb ---

TEST_F(UploadFlowOnPty, UploadsFirmwareByteIdenticalWithLogAndProgress)
{
    const std::vector<uint8_t> firmware = FirmwareBytes(1500);
    const std::string path = Firmware("fw.fcu", firmware);
    Connect(path);

    const auto receiver = Upload();

    EXPECT_EQ(receiver->ReceivedFile("fw.fcu"), firmware) << receiver->Diagnostics();
    EXPECT_EQ(WithoutEotRetry(record.log), SuccessfulUploadLog(path, firmware.size()));
    // Gauge to 0 at the start, the label untouched; then 1024 and 1500 of 1500.
    const std::vector<std::pair<int, std::string>> progress{{0, "0%"}, {68, "68%"}, {100, "100%"}};
    EXPECT_EQ(record.progress, progress);
    EXPECT_EQ(flow.FirmwareSize(), 1500);
    // Listening again on the same open port.
    EXPECT_EQ(flow.VaYModem1->Comm(), nullptr);
    EXPECT_TRUE(flow.VaComm1->IsOpen());
    EXPECT_EQ(flow.ConnectCaption(), "DisConnect");
    EXPECT_TRUE(messages.messages().empty());
}

TEST_F(UploadFlowOnPty, SecondUploadInTheSameRunAndAnEmptyFirmwareEndsAtFullPercent)
{
    const std::vector<uint8_t> first = FirmwareBytes(3000);
    const std::string firstPath = Firmware("first.fcu", first);
    Connect(firstPath);
    const auto firstReceiver = Upload();
    ASSERT_EQ(firstReceiver->ReceivedFile("first.fcu"), first) << firstReceiver->Diagnostics();

    const std::string emptyPath = Firmware("empty.fcu", {});
    ASSERT_TRUE(flow.ChooseFirmware(emptyPath));
    record.log.clear();
    record.progress.clear();
    const auto secondReceiver = Upload();

    EXPECT_TRUE(QFileInfo::exists(secondReceiver->Folder() + "/empty.fcu")) << secondReceiver->Diagnostics();
    EXPECT_EQ(secondReceiver->ReceivedFile("empty.fcu").size(), 0u);
    EXPECT_EQ(WithoutEotRetry(record.log), SuccessfulUploadLog(emptyPath, 0));
    // The previous upload's percentage stays until the new one's first block.
    const std::vector<std::pair<int, std::string>> progress{{0, "100%"}, {100, "100%"}};
    EXPECT_EQ(record.progress, progress);
}

TEST_F(UploadFlowOnPty, FirmwareCannotBeReplacedWhileUploading)
{
    const std::vector<uint8_t> firmware = FirmwareBytes(5000);
    const std::string path = Firmware("fw.fcu", firmware);
    const std::string other = Firmware("other.fcu", FirmwareBytes(700));
    Connect(path);
    std::vector<bool> replaced;
    const auto recordProgress = flow.OnProgress;
    flow.OnProgress = [&](platform::TObject* sender) {
        recordProgress(sender);
        EXPECT_FALSE(flow.CanChooseFirmware());
        replaced.push_back(flow.ChooseFirmware(other));
    };

    const auto receiver = Upload();

    EXPECT_EQ(replaced, std::vector<bool>(replaced.size(), false));
    EXPECT_EQ(replaced.size(), 1u + 5u); // the start and five blocks
    EXPECT_EQ(flow.FirmwarePath(), path);
    EXPECT_EQ(flow.VaYModem1->Files(), QStringList{QString::fromStdString(path)});
    EXPECT_EQ(receiver->ReceivedFile("fw.fcu"), firmware);
    // Once the upload is over the choice is free again.
    EXPECT_TRUE(flow.ChooseFirmware(other));
    EXPECT_EQ(flow.VaYModem1->Files(), QStringList{QString::fromStdString(other)});
}

TEST_F(UploadFlowOnPty, DisconnectDuringUploadEndsWithTimeOutsAndFinishedLine)
{
    flow.VaYModem1->SetTimeout(200);
    Connect(Firmware("fw.fcu", FirmwareBytes(5000)));
    // The user clicks "DisConnect" right after the first block went through.
    std::size_t logAtDisconnect = 0;
    const auto recordProgress = flow.OnProgress;
    flow.OnProgress = [&](platform::TObject* sender) {
        recordProgress(sender);
        if (flow.GaugePercent() > 0 && flow.ConnectCaption() == "DisConnect") {
            flow.ConnectClick(nullptr);
            logAtDisconnect = record.log.size();
        }
    };

    const auto receiver = Upload(false);

    EXPECT_EQ(flow.ConnectCaption(), "Connect");
    EXPECT_FALSE(flow.VaComm1->IsOpen());
    EXPECT_EQ(record.progress.back(), (std::pair<int, std::string>{20, "20%"}));
    // From then on every wait times out, up to the tenth error, which ends it
    // with a failure line. On a quiet machine none came before, so the count
    // runs from 1.
    ASSERT_GT(logAtDisconnect, 0u);
    ASSERT_GE(record.log.size(), logAtDisconnect + 3);
    const std::vector<std::string> after(record.log.begin() + static_cast<long>(logAtDisconnect), record.log.end());
    EXPECT_EQ(after.back(), Finished);
    EXPECT_EQ(after[after.size() - 2], "Upload Failed!! ExitCode:-9");
    const std::size_t errors = after.size() - 2;
    for (std::size_t i = 0; i < errors; ++i)
        EXPECT_EQ(after[i], "Upload Error!! ErrCode:-1 ErrCnt:" + std::to_string(10 - errors + i));
    EXPECT_EQ(after[errors - 1], "Upload Error!! ErrCode:-1 ErrCnt:9");
}

// --- connecting ---

TEST_F(UploadFlowOnPty, ConnectWithoutFirmwareAsksForOneAndStaysClosed)
{
    flow.ConnectClick(nullptr);

    ASSERT_EQ(messages.messages().size(), 1u);
    EXPECT_EQ(messages.messages()[0].text, "No Firmware File\nPlease Open Firmware File");
    EXPECT_EQ(messages.messages()[0].caption, "Error");
    EXPECT_EQ(messages.messages()[0].icon, platform::MessageIcon::None);
    EXPECT_EQ(flow.ConnectCaption(), "Connect");
    EXPECT_FALSE(flow.VaComm1->IsOpen());
}

TEST_F(UploadFlowOnPty, DisconnectClosesAndTheNextConnectListensAgain)
{
    Connect(Firmware("fw.fcu", FirmwareBytes(10)));
    flow.ConnectClick(nullptr);
    EXPECT_EQ(flow.ConnectCaption(), "Connect");
    EXPECT_FALSE(flow.VaComm1->IsOpen());

    flow.ConnectClick(nullptr);
    ASSERT_TRUE(flow.VaComm1->IsOpen());
    Say("NO");
    EXPECT_EQ(record.log, std::vector<std::string>{"Can't Find Any Firmware!!"});
}

TEST(UploadFlowPorts, ConnectWithoutAPortDoesNothing)
{
    platform::MessageCapture messages;
    UploadFlow flow(nullptr, serial::PortDiscovery({}, [] { return std::vector<std::string>{}; }));
    flow.FormActivate(nullptr);
    ASSERT_EQ(flow.PortIndex(), -1);

    flow.ConnectClick(nullptr);

    EXPECT_EQ(flow.ConnectCaption(), "Connect");
    EXPECT_TRUE(messages.messages().empty());
}

TEST(UploadFlowPorts, PortThatCannotBeOpenedRaisesItsErrorAndTheNextClickCloses)
{
    QTemporaryDir dir;
    const std::string missing = dir.filePath(QStringLiteral("ttyGone")).toStdString();
    UploadFlow flow(nullptr, serial::PortDiscovery({missing}, [] { return std::vector<std::string>{}; }));
    flow.FormActivate(nullptr);
    ASSERT_TRUE(flow.ChooseFirmware(dir.filePath(QStringLiteral("fw.fcu")).toStdString()));

    EXPECT_EQ(ErrorOf([&] { flow.ConnectClick(nullptr); }), "Specified device not found (" + missing + ").");
    EXPECT_EQ(flow.ConnectCaption(), "DisConnect");

    flow.ConnectClick(nullptr);
    EXPECT_EQ(flow.ConnectCaption(), "Connect");
}

TEST(UploadFlowPorts, ComNamesSelectThePortNumber)
{
    std::vector<std::string> system{"COM3", "COM15", "COM16"};
    UploadFlow flow(nullptr, serial::PortDiscovery({}, [&] { return system; }));
    flow.FormActivate(nullptr);
    ASSERT_TRUE(flow.ChooseFirmware("/tmp/fw.fcu"));
    platform::MessageCapture messages;

    const std::vector<std::pair<int, std::string>> expected{{0, "COM3"}, {1, "COM15"}, {2, "COM16"}};
    for (const auto& [index, name] : expected) {
        flow.SetPortIndex(index);
        ErrorOf([&] { flow.ConnectClick(nullptr); }); // whether such a device exists here or not
        EXPECT_EQ(flow.VaComm1->PortName(), name);
        flow.ConnectClick(nullptr);
    }
    EXPECT_EQ(flow.VaComm1->PortNum(), 15);
}

TEST(UploadFlowPorts, FirstActivationFillsLaterOnesKeepTheChoiceAndScanStartsOver)
{
    std::vector<std::string> system{"/dev/ttyUSB0", "/dev/ttyUSB1"};
    UploadFlow flow(nullptr, serial::PortDiscovery({"/dev/pts/7"}, [&] { return system; }));
    int changes = 0;
    flow.OnPortsChange = [&](platform::TObject*) { ++changes; };

    flow.FormActivate(nullptr);
    EXPECT_EQ(flow.Ports(), (std::vector<std::string>{"/dev/pts/7", "/dev/ttyUSB0", "/dev/ttyUSB1"}));
    EXPECT_EQ(flow.PortText(), "/dev/pts/7");

    flow.SetPortIndex(2);
    flow.FormActivate(nullptr); // nothing new: nothing moves
    EXPECT_EQ(flow.Ports().size(), 3u);
    EXPECT_EQ(flow.PortText(), "/dev/ttyUSB1");

    system.insert(system.begin(), "/dev/ttyACM0"); // plugged in meanwhile
    flow.FormActivate(nullptr);
    EXPECT_EQ(flow.Ports(), (std::vector<std::string>{"/dev/pts/7", "/dev/ttyACM0", "/dev/ttyUSB0", "/dev/ttyUSB1"}));
    EXPECT_EQ(flow.PortText(), "/dev/ttyUSB1");

    flow.ScanClick(nullptr);
    EXPECT_EQ(flow.Ports().size(), 4u);
    EXPECT_EQ(flow.PortIndex(), 0);
    EXPECT_EQ(changes, 4);
}

// --- the percentage ---

struct PercentCase {
    int byteCount;
    int firmwareSize;
    int percent;
};

void PrintTo(const PercentCase& c, std::ostream* out)
{
    *out << c.byteCount << " of " << c.firmwareSize << " -> " << c.percent;
}

class Percent : public ::testing::TestWithParam<PercentCase> {};

TEST_P(Percent, IsCutTowardZero)
{
    EXPECT_EQ(uploader::ProgressPercent(GetParam().byteCount, GetParam().firmwareSize), GetParam().percent);
}

INSTANTIATE_TEST_SUITE_P(Blocks, Percent,
                         ::testing::Values(PercentCase{1024, 1500, 68}, PercentCase{1500, 1500, 100},
                                           PercentCase{1, 3, 33}, PercentCase{2, 3, 66},
                                           PercentCase{0, 0, 100}, // an empty file, its one block sent
                                           PercentCase{2147483647, 2147483647, 100},
                                           PercentCase{1024, 2147483647, 0}));

} // namespace
