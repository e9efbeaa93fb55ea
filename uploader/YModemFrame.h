#pragma once
// The bytes the YMODEM sender puts on the wire: control bytes, the header block's
// data and the framing of one block. Plain functions over bytes, so the frame
// layout is checked without a port or a thread.
#include <cstddef>
#include <cstdint>
#include <string>

namespace uploader::ymodem {

constexpr uint8_t SOH = 0x01;
constexpr uint8_t STX = 0x02;
constexpr uint8_t EOT = 0x04;
constexpr uint8_t ACK = 0x06;
constexpr uint8_t NAK = 0x15;
constexpr uint8_t CAN = 0x18;
constexpr uint8_t StartCrc = 'C';
constexpr uint8_t StartStreaming = 'G';

constexpr std::size_t ShortBlock = 128; // header, closing block, checksum-mode data
constexpr std::size_t LongBlock = 1024; // data blocks in CRC mode
constexpr std::size_t MaxFrame = 3 + LongBlock + 2;

// The name the receiver is told: the path after its last '\' or ':' (the separators of
// the system the boot loader was written for) or '/' (ours).
std::string HeaderName(const std::string& path);

// Fills a 128-byte header block: name, 0x00, the size in decimal, zeros to the end;
// cut at 128 bytes when name and size need more.
void BuildHeaderData(const std::string& name, int32_t size, uint8_t* block);

// Writes one framed block to `out` (room for MaxFrame bytes) and returns its length:
// SOH or STX by size, the number's low 8 bits and their complement, the data, then
// the CRC-16 high byte first, or the one-byte sum when `checksum` is set.
std::size_t EncodeFrame(uint32_t number, const uint8_t* data, std::size_t size, bool checksum,
                        uint8_t* out);

} // namespace uploader::ymodem
