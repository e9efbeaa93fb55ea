#pragma once
// CRC-16/XMODEM (polynomial 0x1021, start 0, no reflection, no final XOR): the check
// value of every YMODEM block in CRC mode.
#include <cstddef>
#include <cstdint>

namespace sim {

uint16_t Crc16Xmodem(const uint8_t* data, std::size_t length, uint16_t crc = 0);

} // namespace sim
