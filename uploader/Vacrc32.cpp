#include "Vacrc32.h"

namespace uploader {

uint16_t CalcCRC16(uint8_t data, uint16_t crc)
{
    return protocol::Crc16XmodemStep(data, crc);
}

uint16_t Crc16(const uint8_t* data, std::size_t size)
{
    return protocol::Crc16Xmodem(data, size);
}

uint8_t Checksum8(const uint8_t* data, std::size_t size)
{
    unsigned sum = 0;
    for (std::size_t i = 0; i < size; ++i)
        sum += data[i];
    return static_cast<uint8_t>(sum);
}

} // namespace uploader
