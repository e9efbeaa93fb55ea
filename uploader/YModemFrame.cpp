#include "YModemFrame.h"

#include "Vacrc32.h"

#include <algorithm>
#include <cstring>

namespace uploader::ymodem {

std::string HeaderName(const std::string& path)
{
    const auto cut = path.find_last_of("\\:/");
    return cut == std::string::npos ? path : path.substr(cut + 1);
}

void BuildHeaderData(const std::string& name, int32_t size, uint8_t* block)
{
    std::memset(block, 0, ShortBlock);
    std::string fields = name;
    fields.push_back('\0');
    fields += std::to_string(size);
    std::memcpy(block, fields.data(), std::min(fields.size(), ShortBlock));
}

std::size_t EncodeFrame(uint32_t number, const uint8_t* data, std::size_t size, bool checksum,
                        uint8_t* out)
{
    const auto low = static_cast<uint8_t>(number & 0xFF);
    out[0] = size == LongBlock ? STX : SOH;
    out[1] = low;
    out[2] = static_cast<uint8_t>(255 - low);
    std::memcpy(out + 3, data, size);
    std::size_t length = 3 + size;
    if (checksum) {
        out[length++] = Checksum8(data, size);
    } else {
        const uint16_t crc = Crc16(data, size);
        out[length++] = static_cast<uint8_t>(crc >> 8);
        out[length++] = static_cast<uint8_t>(crc & 0xFF);
    }
    return length;
}

} // namespace uploader::ymodem
