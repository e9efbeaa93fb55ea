#pragma once
// CRC-16/XMODEM (polynomial 0x1021, initial value 0, no reflection, no final XOR): the
// check value of every YMODEM block in CRC mode. The firmware sender and the
// simulator's receiver both use this one definition, so they cannot drift apart.
#include <array>
#include <cstddef>
#include <cstdint>

namespace protocol {

// Entry i is the CRC register after shifting the byte i through it from zero; built at
// compile time so the table cannot be mistyped.
inline constexpr std::array<uint16_t, 256> Crc16XmodemTable = [] {
    std::array<uint16_t, 256> table{};
    for (unsigned i = 0; i < 256; ++i) {
        unsigned crc = i << 8;
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc & 0x8000) ? (crc << 1) ^ 0x1021 : crc << 1;
        table[i] = static_cast<uint16_t>(crc);
    }
    return table;
}();

// One step of the running CRC: the new value after `data` entered `crc`.
constexpr uint16_t Crc16XmodemStep(uint8_t data, uint16_t crc)
{
    return static_cast<uint16_t>(Crc16XmodemTable[((crc >> 8) ^ data) & 0xFF] ^ (crc << 8));
}

// The CRC of `size` bytes, continuing from `crc` (0 for a whole block).
uint16_t Crc16Xmodem(const uint8_t* data, std::size_t size, uint16_t crc = 0);

} // namespace protocol
