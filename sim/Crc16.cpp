#include "Crc16.h"

namespace sim {

// Bit by bit rather than by table: the receiver checks at most a few kilobytes a
// second and the short loop is easier to trust than 256 constants.
uint16_t Crc16Xmodem(const uint8_t* data, std::size_t length, uint16_t crc)
{
    for (std::size_t i = 0; i < length; ++i) {
        crc = static_cast<uint16_t>(crc ^ (data[i] << 8));
        for (int bit = 0; bit < 8; ++bit)
            crc = static_cast<uint16_t>((crc & 0x8000) ? (crc << 1) ^ 0x1021 : crc << 1);
    }
    return crc;
}

} // namespace sim
