// The sender against arbitrary reply streams: whatever the receiver says, the
// transfer must end with one of its exit codes and one OnTransferEnd, within a
// bounded time, having sent only well-formed blocks and no more of them than the
// replies allow. The port is the device layer's in-process fake; replies go to the
// sender as the port hands them on, in chunks the input chooses.
#include "FakeSerialDevice.h"
#include "VaComm.h"
#include "Vacrc32.h"
#include "Vaprotocol.h"
#include "YModemFrame.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

using namespace uploader::ymodem;

namespace {

constexpr int FileSize = 1500;      // two data blocks in CRC mode, twelve with sums
constexpr int FileBlocksAtMost = 12;

void Fail(const char* why)
{
    std::fprintf(stderr, "ymodem sender fuzz: %s\n", why);
    std::abort();
}

const QString& FirmwarePath()
{
    static QTemporaryDir dir;
    static const QString path = [] {
        const QString p = dir.filePath("fw.fcu");
        QFile file(p);
        file.open(QIODevice::WriteOnly);
        file.write(QByteArray(FileSize, '\x5A'));
        return p;
    }();
    return path;
}

void EnsureApplication()
{
    static int argc = 1;
    static char name[] = "ymodem_sender_fuzz";
    static char* argv[] = {name, nullptr};
    if (!QCoreApplication::instance())
        new QCoreApplication(argc, argv); // lives for the whole run
}

// Walks what the sender wrote; aborts on a malformed block, on CAN anywhere but the
// very end, or on more sends than the replies can have asked for.
void CheckWritten(const std::vector<uint8_t>& out, std::size_t repliesFed)
{
    std::size_t i = 0, sends = 0;
    while (i < out.size()) {
        const uint8_t lead = out[i];
        if (lead == EOT) {
            ++sends;
            ++i;
        } else if (lead == CAN) {
            if (out.size() - i != 2 || out[i + 1] != CAN)
                Fail("CAN that is not the final pair");
            i += 2;
        } else if (lead == SOH || lead == STX) {
            const std::size_t size = lead == STX ? LongBlock : ShortBlock;
            if (out.size() - i < 3 + size + 1)
                Fail("block cut short");
            if (out[i + 2] != static_cast<uint8_t>(255 - out[i + 1]))
                Fail("block number and complement disagree");
            const uint8_t* data = &out[i + 3];
            const uint16_t crc = uploader::Crc16(data, size);
            const std::size_t rest = out.size() - i - 3 - size;
            if (rest >= 2 && out[i + 3 + size] == (crc >> 8) && out[i + 4 + size] == (crc & 0xFF))
                i += 3 + size + 2;
            else if (out[i + 3 + size] == uploader::Checksum8(data, size))
                i += 3 + size + 1;
            else
                Fail("block check value wrong");
            ++sends;
        } else {
            Fail("byte outside any block");
        }
    }
    // Each send answers one reply, except the blocks of streaming mode, which follow
    // one another unasked, and the first.
    if (sends > repliesFed + FileBlocksAtMost + 2)
        Fail("more sends than the replies allow");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    EnsureApplication();
    auto line = std::make_shared<serial::FakeLine>();
    serial::TVaComm comm(nullptr, serial::FakeDeviceFactory(line));
    comm.Open();
    uploader::TVaYModem sender;
    sender.SetComm(&comm);
    sender.SetTimeout(2);
    sender.Files() = {FirmwarePath()};
    int ends = 0, exitCode = 1, errors = 0;
    sender.OnTransferEnd = [&](platform::TObject*, int code) {
        ++ends;
        exitCode = code;
    };
    sender.OnError = [&](platform::TObject*, int, int count) {
        ++errors;
        if (count >= sender.MaxErrors())
            Fail("OnError raised at the error limit");
    };
    sender.Execute();

    // The input is a series of chunks: a length byte (0xFF: a 5000-byte flood),
    // then that many reply bytes. A chunk goes in whenever the sender has written or
    // counted an error since the last one, as a receiver answers what it sees.
    QTimer wake;
    wake.start(1);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    std::size_t at = 0, fed = 0, lastWritten = SIZE_MAX;
    int lastErrors = -1;
    std::vector<uint8_t> flood(5000, 'x');
    while (ends == 0) {
        if (std::chrono::steady_clock::now() > deadline)
            Fail("the transfer did not end");
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        const std::size_t written = line->written().size();
        if (at < size && (written != lastWritten || sender.GetErrorCount() != lastErrors)) {
            lastWritten = written;
            lastErrors = sender.GetErrorCount();
            const uint8_t length = data[at++];
            if (length == 0xFF) {
                sender.DataChanged(flood.data(), static_cast<int>(flood.size()));
                fed += flood.size();
            } else {
                const std::size_t n = std::min<std::size_t>(length % 16 + 1, size - at);
                sender.DataChanged(data + at, static_cast<int>(n));
                at += n;
                fed += n;
            }
        }
    }
    QCoreApplication::processEvents(); // a second end would show here

    const int codes[] = {0, -3, -4, -5, -7, -9, -12, -14};
    if (ends != 1 || std::find(std::begin(codes), std::end(codes), exitCode) == std::end(codes))
        Fail("not exactly one end with a known exit code");
    if (errors >= sender.MaxErrors())
        Fail("too many OnError events");
    if (sender.GetIsActive())
        Fail("still active after the end");
    CheckWritten(line->written(), fed);
    // For reading a corpus: which way each input ended.
    if (std::getenv("YMODEM_FUZZ_TRACE"))
        std::fprintf(stderr, "exit %d after %zu reply bytes, %zu bytes sent\n", exitCode, fed,
                     line->written().size());
    return 0;
}
