#pragma once
// The block check values of the YMODEM sender: CRC-16/XMODEM (polynomial 0x1021,
// initial value 0, no reflection, no final XOR) kept one byte at a time through a
// 256-entry table, and the one-byte sum that receivers starting with NAK expect.
#include <array>
#include <cstddef>
#include <cstdint>

namespace uploader {

// table[i] is the CRC register after shifting the byte i through it from zero; built
// at compile time so the table cannot be mistyped.
extern const std::array<uint16_t, 256> Crc16Table;

// One step of the running CRC: the new value after `data` entered `crc`.
uint16_t CalcCRC16(uint8_t data, uint16_t crc);

uint16_t Crc16(const uint8_t* data, std::size_t size);

// The low 8 bits of the sum of the bytes.
uint8_t Checksum8(const uint8_t* data, std::size_t size);

} // namespace uploader
