// fwloader flashing the simulated boot loader in its own process: the real
// window on the offscreen platform, its buttons, the real port code and YMODEM
// sender on one side, the simulator's receiver on the other, and the firmware
// the simulator stored compared byte for byte; a failed upload must say so.
#include "MainWindow.h"
#include "Messages.h"
#include "SimulatorProcess.h"
#include "WidgetsLook.h"

#include <QApplication>
#include <QFile>
#include <QTest>

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <ostream>
#include <vector>

namespace {


// An upload of 100 kB takes a few seconds, several times that under the
// sanitizers; the deadline only bounds a hang.
constexpr int UploadDeadline = 120000;

using Bytes = std::vector<uint8_t>;

// 100 kB that are no whole number of blocks and end in the padding byte, so a
// receiver that trims padding instead of keeping the announced size fails.
Bytes Firmware()
{
    Bytes firmware(100000);
    for (std::size_t i = 0; i < firmware.size(); ++i)
        firmware[i] = static_cast<uint8_t>((i * 2654435761u) >> 13);
    std::fill(firmware.end() - 5, firmware.end(), uint8_t{0x1A});
    return firmware;
}

void Write(const std::string& path, const Bytes& bytes)
{
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

Bytes Read(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), {});
}

std::vector<std::string> LogLines(const QPlainTextEdit* memo)
{
    std::vector<std::string> lines;
    for (const QString& line : memo->toPlainText().split(QLatin1Char('\n'), Qt::SkipEmptyParts))
        lines.push_back(line.toStdString());
    return lines;
}

bool StartsWith(const std::vector<std::string>& log, const char* prefix)
{
    return std::any_of(log.begin(), log.end(), [&](const std::string& line) { return line.starts_with(prefix); });
}

struct UploadCase {
    const char* name;
    QStringList faults; // the simulator's options that disturb the upload
    bool succeeds;      // the boot loader ends up with the firmware
};

void PrintTo(const UploadCase& c, std::ostream* out) { *out << c.name; }

class FwloaderUpload : public ::testing::TestWithParam<UploadCase> {
protected:
    static void SetUpTestSuite() { platform::ApplyLook(*qApp); }
};

TEST_P(FwloaderUpload, StoresTheFirmwareByteForByteOrSaysItFailed)
{
    const UploadCase& c = GetParam();
    e2e::SimulatorProcess simulator;
    const std::string stored = simulator.PathOf("stored.fcu");
    std::string error;
    ASSERT_TRUE(simulator.Start(QStringList{"--bootloader", "--once", "--out", QString::fromStdString(stored)} +
                                    c.faults,
                                error))
        << error;
    const std::string firmwarePath = simulator.PathOf("novalk.fcu");
    const Bytes firmware = Firmware();
    Write(firmwarePath, firmware);

    platform::MessageCapture messages;
    uploader::TForm1 form(serial::PortDiscovery({simulator.Link()}, [] { return std::vector<std::string>{}; }));
    form.OpenDialog1->SetRunner([&](QWidget*, const QString&) { return QString::fromStdString(firmwarePath); });
    form.show();
    ASSERT_EQ(form.bsSkinComboBox1->Text(), simulator.Link());
    QTest::mouseClick(form.bsSkinButton3, Qt::LeftButton);
    QTest::mouseClick(form.bsSkinButton2, Qt::LeftButton);
    ASSERT_TRUE(form.Flow->VaComm1->IsOpen()) << ::testing::PrintToString(messages.texts());

    // Told to take one upload, the simulator exits when it is over: 0 when it
    // stored the firmware, 1 when the upload failed.
    ASSERT_TRUE(simulator.WaitForExit(std::chrono::milliseconds(UploadDeadline)))
        << "log: " << ::testing::PrintToString(LogLines(form.bsSkinMemo1)) << "\nsimulator: " << simulator.Output();
    EXPECT_EQ(simulator.ExitCode(), c.succeeds ? 0 : 1) << simulator.Output();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !form.Flow->Uploading(); }, UploadDeadline));

    const std::vector<std::string> log = LogLines(form.bsSkinMemo1);
    ASSERT_FALSE(log.empty());
    EXPECT_EQ(log.front(), "Start Upload Firmware!!");
    EXPECT_NE(std::find(log.begin(), log.end(), "Size:100000 bytes"), log.end());
    EXPECT_EQ(log.back(), "Firmware Transfer Finished...");
    EXPECT_EQ(StartsWith(log, "Upload Failed!!"), !c.succeeds) << ::testing::PrintToString(log);
    EXPECT_TRUE(messages.texts().empty()) << ::testing::PrintToString(messages.texts());
    if (!c.succeeds) {
        EXPECT_FALSE(QFile::exists(QString::fromStdString(stored)));
        return;
    }
    EXPECT_TRUE(Read(stored) == firmware) << "stored " << Read(stored).size() << " bytes";
    EXPECT_EQ(form.bsSkinLabel1->text(), "100%");
    // A disturbed upload shows its retries in the log; an undisturbed one none.
    EXPECT_EQ(StartsWith(log, "Upload Error!!"), !c.faults.isEmpty()) << ::testing::PrintToString(log);
}

INSTANTIATE_TEST_SUITE_P(
    OnSimulator, FwloaderUpload,
    ::testing::Values(UploadCase{"clean_line", {}, true},
                      UploadCase{"first_eot_refused", {"--nak-first-eot"}, true},
                      UploadCase{"block_refused_once", {"--nak-block", "7"}, true},
                      UploadCase{"block_and_first_eot_refused", {"--nak-block", "50", "--nak-first-eot"}, true},
                      UploadCase{"garbled_reply", {"--garbage"}, false},
                      UploadCase{"boot_loader_cancels", {"--cancel"}, false}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
