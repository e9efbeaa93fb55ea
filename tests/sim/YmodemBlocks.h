#pragma once
// Hand-built YMODEM blocks, for the cases a well-behaved sender never produces.
#include "Crc16Xmodem.h"
#include "YmodemReceiver.h"

#include <cstdint>
#include <string>
#include <vector>

namespace simtest {

using Bytes = std::vector<uint8_t>;

// A block of 128 (SOH) or 1024 (STX) bytes holding data, padded with zeros.
inline Bytes Block(uint8_t number, const Bytes& data, std::size_t size = 1024)
{
    Bytes payload = data;
    payload.resize(size, 0);
    // Reserved up front: growing a three-byte vector by the payload trips a false
    // -Warray-bounds in GCC 12.
    Bytes block;
    block.reserve(3 + size + 2);
    block.push_back(size == 128 ? sim::YmodemReceiver::SOH : sim::YmodemReceiver::STX);
    block.push_back(number);
    block.push_back(static_cast<uint8_t>(255 - number));
    block.insert(block.end(), payload.begin(), payload.end());
    const uint16_t crc = protocol::Crc16Xmodem(payload.data(), payload.size());
    block.push_back(static_cast<uint8_t>(crc >> 8));
    block.push_back(static_cast<uint8_t>(crc & 0xFF));
    return block;
}

// Block 0 with the name, a NUL and the size field as given.
inline Bytes Header(const std::string& name, const std::string& sizeField)
{
    Bytes data(name.begin(), name.end());
    data.push_back(0);
    data.insert(data.end(), sizeField.begin(), sizeField.end());
    return Block(0, data, 128);
}

inline Bytes Filled(std::size_t count, uint8_t first = 1)
{
    Bytes data(count);
    for (std::size_t i = 0; i < count; ++i)
        data[i] = static_cast<uint8_t>(first + i * 7);
    return data;
}

} // namespace simtest
