#include "VaYModemThread.h"

#include "Application.h"
#include "Exception.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cstdint>
#include <limits>

namespace uploader {

using namespace ymodem;

namespace {

// Tries before the sender gives up waiting for a start character or for the ACK of EOT.
constexpr int StartupTries = 10;
constexpr int EotTries = 10;
constexpr qint64 LargestFile = std::numeric_limits<int32_t>::max();

} // namespace

// --- one file ---

TVaXYModemThread::TVaXYModemThread(TVaXYModem& owner, const TransferSettings& settings)
    : TVaProtocolThread(owner, settings), owner_(owner)
{
}

void TVaXYModemThread::RemoteCan()
{
    const uint8_t cancel[2] = {CAN, CAN};
    WritePort(cancel, sizeof cancel);
}

void TVaXYModemThread::RemoteTxStartup()
{
    for (int i = 0; i < StartupTries; ++i) {
        const int c = ReadChar();
        if (c == StartCrc || c == StartStreaming || c == NAK) {
            startChar_ = static_cast<uint8_t>(c);
            return;
        }
        if (c == 0) {
            RemoteCan();
            SetExitCode(-3);
        }
        ErrorEvent(-16, false);
    }
    SetExitCode(-5);
}

void TVaXYModemThread::WritePacket(uint32_t number, std::size_t size)
{
    for (;;) {
        if (CancelRequested()) {
            RemoteCan();
            SetExitCode(-3);
        }
        const std::size_t length =
            EncodeFrame(number, packet_.data(), size, startChar_ == NAK, frame_.data());
        WritePort(frame_.data(), length);
        if (startChar_ == StartStreaming) {
            if (PeekChar() == CAN)
                SetExitCode(-4);
            return;
        }
        switch (ReadChar()) {
        case ACK:
            return;
        case NAK:
            ErrorEvent(-15, true);
            break;
        case CAN:
            SetExitCode(-4);
        case 0:
            break; // cancelled, or a stray 0x00: the cancel check decides
        default:
            SetExitCode(-5);
        }
    }
}

void TVaXYModemThread::WriteEOT()
{
    for (int i = 0; i < EotTries; ++i) {
        WriteByte(EOT);
        const int c = ReadChar();
        if (c == ACK)
            return;
        if (c == 0) {
            RemoteCan();
            SetExitCode(-3);
        }
        ErrorEvent(-16, false);
    }
    SetExitCode(-5);
}

void TVaXYModemThread::WriteFile(const QString& path)
{
    // Read access is all the sender needs; asking for more would refuse a firmware
    // file the user may read but not write.
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        RemoteCan();
        SetExitCode(-12);
    }
    const qint64 length = file.size();
    if (length > LargestFile) { // grown since the header went out
        RemoteCan();
        SetExitCode(-12);
    }
    FileInfo(path, static_cast<int>(length));
    RemoteTxStartup();

    // An empty file goes out as its header alone: a block of padding would reach the
    // receiver as data, since receivers read a size of 0 as "size unknown" and keep
    // the whole block.
    if (length == 0) {
        WriteEOT();
        SetExitCode(0);
    }
    const std::size_t blockSize = startChar_ == NAK ? ShortBlock : LongBlock;
    uint32_t block = 0;
    qint64 position = 0;
    for (;;) {
        ++block;
        ResetPacket();
        // Never more than the length announced, and never fewer than asked for: a file
        // that shrinks or grows under the sender must not make it send stale zeros
        // forever or more bytes than the header promised.
        const qint64 wanted = std::min<qint64>(static_cast<qint64>(blockSize), length - position);
        if (wanted > 0) {
            if (file.read(reinterpret_cast<char*>(packet_.data()), wanted) != wanted) {
                RemoteCan();
                SetExitCode(-7);
            }
            position += wanted;
        }
        WritePacket(block, blockSize);
        PacketEvent(static_cast<int>(block), static_cast<int>(position));
        if (position >= length) {
            WriteEOT();
            SetExitCode(0);
        }
    }
}

void TVaXYModemThread::FileInfo(const QString& name, int size)
{
    Synchronize([&] { platform::Raise(owner_.OnFileInfo, &owner_, name, size); });
}

void TVaXYModemThread::PacketEvent(int packet, int byteCount)
{
    Synchronize([&] { platform::Raise(owner_.OnPacketEvent, &owner_, packet, byteCount); });
}

// --- the batch ---

TVaYModemThread::TVaYModemThread(TVaYModem& owner, const TransferSettings& settings,
                                 QStringList files)
    : TVaXYModemThread(owner, settings), files_(std::move(files))
{
}

void TVaYModemThread::RefuseOversizedFiles()
{
    for (const QString& path : files_) {
        const QFileInfo info(path);
        if (info.isFile() && info.size() > LargestFile) {
            const std::string text = "Cannot send " + path.toStdString() +
                                     ": YMODEM carries at most 2147483647 bytes per file";
            Synchronize([&] { platform::ShowException(platform::Exception(text)); });
            SetExitCode(-12);
        }
    }
}

void TVaYModemThread::Upload()
{
    // A file the header cannot describe is refused before a byte goes out, so the
    // receiver is left waiting for a transfer that never began rather than half a file.
    RefuseOversizedFiles();
    for (const QString& path : files_) {
        RemoteTxStartup();
        const QFileInfo info(path);
        const int32_t size = info.isFile() ? static_cast<int32_t>(info.size()) : -1;
        BuildHeaderData(HeaderName(QFile::encodeName(path).toStdString()), size, Packet());
        WritePacket(0, ShortBlock);
        try {
            WriteFile(path);
        } catch (const TransferAbort& abort) {
            if (abort.exitCode != 0)
                throw;
        }
    }
    RemoteTxStartup();
    ResetPacket();
    WritePacket(0, ShortBlock);
    SetExitCode(0);
}

void TVaYModemThread::Download()
{
    // The receiving side is not part of this system: end at once instead of
    // reporting a transfer that never happened as a success.
    RemoteCan();
    SetExitCode(-3);
}

} // namespace uploader
