// The sender's cases that do not share the shape of a reply table: what goes into
// the header, block numbers past 255, files that cannot be sent, an overflowing
// receive queue, and the component's life around a running worker.
#include "ScriptedReceiver.h"
#include "SenderRig.h"
#include "YModemFrame.h"

#include "Exception.h"
#include "Messages.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QTest>

#include <gtest/gtest.h>

#include <ostream>
#include <thread>

using namespace ymodem_test;
using uploader::ymodem::CAN;
using uploader::ymodem::SOH;
using uploader::ymodem::STX;

namespace {

class SenderTest : public ::testing::Test {
protected:
    // Runs one transfer of `files` against a receiver with the script; stops the
    // receiver once the line is quiet after the end.
    void Run(const QStringList& files, ReceiverScript script = {})
    {
        rig.sender.Files() = files;
        receiver = std::make_unique<ScriptedReceiver>(pty, std::move(script));
        rig.sender.Execute();
        receiver->Start();
        ASSERT_TRUE(rig.WaitForEnd());
        rig.comm.Close();
        receiver->Stop();
    }

    PtyPair pty;
    QTemporaryDir dir;
    SenderRig rig{pty.slavePath()};
    std::unique_ptr<ScriptedReceiver> receiver;
};

TEST_F(SenderTest, OneFileGoesOutAsHeaderPaddedBlocksEotAndClosingBlock)
{
    const auto bytes = TestBytes(1500);
    const QString path = WriteFile(dir, "images/v2/fw.fcu", bytes);
    Run({path});

    ASSERT_EQ(rig.record.exitCode, 0);
    EXPECT_EQ(rig.record.files, (std::vector<std::pair<QString, int>>{{path, 1500}}));
    // The header names the file without its folders, in a 128-byte block.
    const auto headers = receiver->FramesOf(FrameKind::Header);
    ASSERT_EQ(headers.size(), 1u);
    EXPECT_EQ(headers[0].lead, SOH);
    EXPECT_EQ(receiver->HeaderText(), std::string("fw.fcu\0" "1500", 11));
    EXPECT_TRUE(std::all_of(headers[0].data.begin() + 11, headers[0].data.end(), [](uint8_t b) { return b == 0; }));
    // Two 1024-byte blocks; the second holds 476 file bytes and 548 zeros.
    const auto data = receiver->FramesOf(FrameKind::Data);
    ASSERT_EQ(data.size(), 2u);
    EXPECT_EQ(data[0].lead, STX);
    EXPECT_EQ(data[1].lead, STX);
    EXPECT_EQ(std::vector<uint8_t>(data[1].data.begin(), data[1].data.begin() + 476),
              std::vector<uint8_t>(bytes.begin() + 1024, bytes.end()));
    EXPECT_TRUE(std::all_of(data[1].data.begin() + 476, data[1].data.end(), [](uint8_t b) { return b == 0; }));
    const auto frames = receiver->Frames();
    ASSERT_EQ(frames.size(), 5u);
    EXPECT_EQ(frames[3].kind, FrameKind::Eot);
    EXPECT_EQ(frames[4].kind, FrameKind::Closing);
}

TEST_F(SenderTest, Block256GoesOutNumberedZero)
{
    const auto bytes = TestBytes(256 * 1024 + 10);
    Run({WriteFile(dir, "big.fcu", bytes)});

    ASSERT_EQ(rig.record.exitCode, 0);
    const auto data = receiver->FramesOf(FrameKind::Data);
    ASSERT_EQ(data.size(), 257u);
    EXPECT_EQ(data[255].number, 0x00);
    EXPECT_EQ(data[255].complement, 0xFF);
    EXPECT_EQ(data[256].number, 0x01);
    EXPECT_EQ(rig.record.packets[255], std::make_pair(256, 256 * 1024));
    EXPECT_EQ(receiver->ReceivedFile(), bytes);
}

TEST_F(SenderTest, MissingFileIsAnnouncedWithSizeMinusOneThenCancelled)
{
    Run({dir.filePath("missing.fcu")});

    EXPECT_EQ(rig.record.exitCode, -12);
    EXPECT_EQ(receiver->HeaderText(), std::string("missing.fcu\0-1", 14));
    EXPECT_TRUE(rig.record.files.empty());
    EXPECT_TRUE(receiver->EndedWithCanCan());
}

TEST_F(SenderTest, EmptyListSendsOnlyTheClosingBlock)
{
    Run({});

    EXPECT_EQ(rig.record.exitCode, 0);
    EXPECT_EQ(rig.record.ends, 1);
    const auto frames = receiver->Frames();
    ASSERT_EQ(frames.size(), 1u);
    EXPECT_EQ(frames[0].kind, FrameKind::Closing);
}

TEST_F(SenderTest, FileBeyondThirtyTwoBitsIsRefusedBeforeAnythingIsSent)
{
    platform::MessageCapture messages;
    const QString path = dir.filePath("huge.fcu");
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        ASSERT_TRUE(file.resize(qint64(1) << 31)); // sparse: takes no room
    }
    Run({WriteFile(dir, "small.fcu", TestBytes(10)), path});

    EXPECT_EQ(rig.record.exitCode, -12);
    EXPECT_TRUE(receiver->Frames().empty());
    ASSERT_EQ(messages.messages().size(), 1u);
    EXPECT_NE(messages.messages()[0].text.find("huge.fcu"), std::string::npos);
    EXPECT_EQ(messages.messages()[0].icon, platform::MessageIcon::Error);
}

TEST_F(SenderTest, ReceiveQueueOverflowCancelsWithMinus14)
{
    // While the file-info handler runs, the worker waits and nothing is handed on:
    // 6000 bytes pile up in the port and reach the sender as one chunk afterwards.
    rig.sender.OnFileInfo = [this](platform::TObject*, const QString&, int) {
        const std::string flood(6000, 'x');
        pty.Write(flood);
        // Not an event loop: that would hand the bytes on while they arrive.
        const QDeadlineTimer deadline(10000);
        while (rig.comm.InQue() < 6000 && !deadline.hasExpired())
            std::this_thread::yield();
    };
    Run({WriteFile(dir, "fw.fcu", TestBytes(1500))});

    EXPECT_EQ(rig.record.exitCode, -14);
    EXPECT_TRUE(receiver->EndedWithCanCan());
}

TEST_F(SenderTest, FileThatShrinksWhileSendingIsCancelledNotPaddedOut)
{
    const QString path = WriteFile(dir, "fw.fcu", TestBytes(1500));
    // The file is open and its length taken when OnFileInfo runs.
    rig.sender.OnFileInfo = [&](platform::TObject*, const QString&, int) { QFile::resize(path, 100); };
    Run({path});

    EXPECT_EQ(rig.record.exitCode, -7);
    EXPECT_TRUE(receiver->FramesOf(FrameKind::Data).empty());
    EXPECT_TRUE(receiver->EndedWithCanCan());
}

TEST_F(SenderTest, ReadOnlyFileIsSent)
{
    const auto bytes = TestBytes(700);
    const QString path = WriteFile(dir, "fw.fcu", bytes);
    QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::ReadGroup | QFileDevice::ReadOther);
    Run({path});

    EXPECT_EQ(rig.record.exitCode, 0);
    EXPECT_EQ(receiver->ReceivedFile(), bytes);
}

TEST_F(SenderTest, ChangingFilesDuringATransferAffectsOnlyTheNextOne)
{
    const auto bytes = TestBytes(1500);
    const QString first = WriteFile(dir, "first.fcu", bytes);
    const QString second = WriteFile(dir, "second.fcu", TestBytes(10, 2));
    rig.sender.OnFileInfo = [&](platform::TObject*, const QString&, int) { rig.sender.Files() = {second}; };
    Run({first});

    EXPECT_EQ(rig.record.exitCode, 0);
    EXPECT_EQ(receiver->HeaderText(), std::string("first.fcu\0" "1500", 14));
    EXPECT_EQ(receiver->ReceivedFile(), bytes);
}

struct SettingCase {
    const char* name;
    uploader::TVaTransferMode mode;
    int maxErrors;
    int exitCode;
    std::size_t errorEvents;
};

void PrintTo(const SettingCase& c, std::ostream* os) { *os << c.name; }

class SenderSetting : public SenderTest, public ::testing::WithParamInterface<SettingCase> {};

TEST_P(SenderSetting, EndsTheTransferRatherThanRunningOnOrFeigningSuccess)
{
    rig.sender.SetMode(GetParam().mode);
    rig.sender.SetMaxErrors(GetParam().maxErrors);
    rig.sender.SetTimeout(10);
    Run({WriteFile(dir, "fw.fcu", TestBytes(10))}, ReceiverScript{0, "", {}});

    EXPECT_EQ(rig.record.exitCode, GetParam().exitCode);
    EXPECT_EQ(rig.record.errors.size(), GetParam().errorEvents);
}

INSTANTIATE_TEST_SUITE_P(
    Settings, SenderSetting,
    ::testing::Values(SettingCase{"no_error_limit_means_the_first_error_ends", uploader::tmUpload, 0, -9, 0},
                      SettingCase{"limit_of_three", uploader::tmUpload, 3, -9, 2},
                      SettingCase{"receiving_is_not_offered", uploader::tmDownload, 10, -3, 0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(SenderTest, ExecuteWhileRunningRaisesAndLeavesTheTransferAlone)
{
    const auto bytes = TestBytes(3000);
    rig.sender.Files() = {WriteFile(dir, "fw.fcu", bytes)};
    receiver = std::make_unique<ScriptedReceiver>(pty, ReceiverScript{});
    rig.sender.Execute();
    try {
        rig.sender.Execute();
        ADD_FAILURE() << "a second Execute was accepted";
    } catch (const platform::Exception& error) {
        EXPECT_STREQ(error.what(), "Transfer already in progress...");
    }
    receiver->Start();
    ASSERT_TRUE(rig.WaitForEnd());
    receiver->Stop();

    EXPECT_EQ(rig.record.starts, 1);
    EXPECT_EQ(rig.record.ends, 1);
    EXPECT_EQ(rig.record.exitCode, 0);
    EXPECT_EQ(receiver->ReceivedFile(), bytes);
}

TEST_F(SenderTest, HandlerExceptionIsReportedAndTheTransferGoesOn)
{
    platform::MessageCapture messages;
    rig.sender.OnPacketEvent = [](platform::TObject*, int, int) { throw platform::Exception("Bad gauge"); };
    Run({WriteFile(dir, "fw.fcu", TestBytes(1500))});

    EXPECT_EQ(rig.record.exitCode, 0);
    EXPECT_EQ(messages.texts(), (std::vector<std::string>{"Bad gauge.", "Bad gauge."}));
}

TEST_F(SenderTest, CancelSendsCanCanAndEndsWithMinus3)
{
    rig.sender.Files() = {WriteFile(dir, "fw.fcu", TestBytes(10))};
    receiver = std::make_unique<ScriptedReceiver>(pty, ReceiverScript{0, "", {}});
    receiver->Start();
    rig.sender.Execute();
    rig.sender.Cancel();
    ASSERT_TRUE(rig.WaitForEnd());
    receiver->Stop();

    EXPECT_EQ(rig.record.exitCode, -3);
    EXPECT_TRUE(receiver->EndedWithCanCan());
    EXPECT_FALSE(rig.sender.GetIsActive());
}

TEST(SenderDestruction, WaitsForAWorkerBlockedOnItsHandlerAndRaisesNothing)
{
    PtyPair pty;
    QTemporaryDir dir;
    TransferRecord record;
    serial::TVaComm comm;
    comm.SetDevicePath(pty.slavePath());
    comm.Open();
    auto sender = std::make_unique<uploader::TVaYModem>();
    sender->SetComm(&comm);
    sender->SetTimeout(5);
    sender->OnError = [&](platform::TObject*, int code, int count) { record.errors.emplace_back(code, count); };
    sender->OnTransferEnd = [&](platform::TObject*, int code) { record.exitCode = code; };
    sender->Files() = {WriteFile(dir, "fw.fcu", TestBytes(10))};
    sender->Execute();
    // No events run on this thread meanwhile, so the worker's first time-out leaves
    // it waiting for the GUI thread to run OnError.
    while (sender->GetErrorCount() == 0)
        std::this_thread::yield();
    sender.reset();

    QTest::qWait(50); // any late hand-over or end event would run here
    EXPECT_TRUE(record.errors.empty());
    EXPECT_FALSE(record.exitCode.has_value());
    EXPECT_TRUE(pty.ReadUntilQuiet(std::chrono::milliseconds(100)).empty());
}

} // namespace
