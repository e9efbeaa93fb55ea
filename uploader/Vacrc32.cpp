#include "Vacrc32.h"

namespace uploader {
namespace {

constexpr std::array<uint16_t, 256> MakeCrc16Table()
{
    std::array<uint16_t, 256> table{};
    for (unsigned i = 0; i < 256; ++i) {
        unsigned crc = i << 8;
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc & 0x8000) ? (crc << 1) ^ 0x1021 : crc << 1;
        table[i] = static_cast<uint16_t>(crc);
    }
    return table;
}

} // namespace

const std::array<uint16_t, 256> Crc16Table = MakeCrc16Table();

uint16_t CalcCRC16(uint8_t data, uint16_t crc)
{
    return static_cast<uint16_t>(Crc16Table[((crc >> 8) ^ data) & 0xFF] ^ (crc << 8));
}

uint16_t Crc16(const uint8_t* data, std::size_t size)
{
    uint16_t crc = 0;
    for (std::size_t i = 0; i < size; ++i)
        crc = CalcCRC16(data[i], crc);
    return crc;
}

uint8_t Checksum8(const uint8_t* data, std::size_t size)
{
    unsigned sum = 0;
    for (std::size_t i = 0; i < size; ++i)
        sum += data[i];
    return static_cast<uint8_t>(sum);
}

} // namespace uploader
