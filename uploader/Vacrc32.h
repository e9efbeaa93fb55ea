#pragma once
// The block check values of the YMODEM sender: CRC-16/XMODEM, kept one byte at a time
// (the definition is shared with the simulator's receiver), and the one-byte sum that
// receivers starting with NAK expect.
#include <array>
#include <cstddef>
#include <cstdint>

#include "Crc16Xmodem.h"

namespace uploader {

inline constexpr const std::array<uint16_t, 256>& Crc16Table = protocol::Crc16XmodemTable;

// One step of the running CRC: the new value after `data` entered `crc`.
uint16_t CalcCRC16(uint8_t data, uint16_t crc);

uint16_t Crc16(const uint8_t* data, std::size_t size);

// The low 8 bits of the sum of the bytes.
uint8_t Checksum8(const uint8_t* data, std::size_t size);

} // namespace uploader
