#include "Crc16Xmodem.h"

namespace protocol {

uint16_t Crc16Xmodem(const uint8_t* data, std::size_t size, uint16_t crc)
{
    for (std::size_t i = 0; i < size; ++i)
        crc = Crc16XmodemStep(data[i], crc);
    return crc;
}

} // namespace protocol
