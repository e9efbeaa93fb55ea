#pragma once
// The protocol steps of the YMODEM sender: waiting for the receiver's start
// character, sending a block until it is accepted, ending a file with EOT, sending
// one file (TVaXYModemThread), and the batch with its header and closing blocks
// (TVaYModemThread).
#include "VaProtocolThread.h"
#include "YModemFrame.h"

#include <QString>
#include <QStringList>

#include <array>
#include <cstdint>

namespace uploader {

class TVaXYModemThread : public TVaProtocolThread {
public:
    TVaXYModemThread(TVaXYModem& owner, const TransferSettings& settings);

protected:
    void RemoteCan() override;

    void RemoteTxStartup();
    // Sends the packet buffer's first `size` bytes as block `number` until accepted.
    void WritePacket(uint32_t number, std::size_t size);
    void WriteEOT();
    // Sends one file; always ends by an abort, with exit code 0 when the file went out.
    [[noreturn]] void WriteFile(const QString& path);
    void FileInfo(const QString& name, int size);
    void PacketEvent(int packet, int byteCount);
    void ResetPacket() { packet_.fill(0); }

    uint8_t* Packet() { return packet_.data(); }

private:
    void WriteByte(uint8_t byte) { WritePort(&byte, 1); }

    TVaXYModem& owner_;
    uint8_t startChar_ = ymodem::StartCrc;
    std::array<uint8_t, ymodem::LongBlock> packet_{};
    std::array<uint8_t, ymodem::MaxFrame> frame_{};
};

class TVaYModemThread : public TVaXYModemThread {
public:
    TVaYModemThread(TVaYModem& owner, const TransferSettings& settings, QStringList files);

protected:
    void Upload() override;
    void Download() override;

private:
    void RefuseOversizedFiles();

    const QStringList files_;
};

} // namespace uploader
