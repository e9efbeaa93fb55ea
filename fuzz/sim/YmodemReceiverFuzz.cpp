// The boot loader's receiver takes whatever the line brings. The input is read as a
// script of steps (raw bytes, well-formed blocks with chosen numbers and sizes, EOTs,
// pauses), so the fuzzer reaches the states behind a valid CRC too.
#include "Crc16Xmodem.h"
#include "YmodemReceiver.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<uint8_t>;

class Script {
public:
    Script(const uint8_t* data, size_t size) : data_(data), size_(size) {}
    bool done() const { return at_ >= size_; }
    uint8_t next() { return at_ < size_ ? data_[at_++] : 0; }
    Bytes take(size_t count)
    {
        Bytes out;
        while (count-- && !done())
            out.push_back(next());
        return out;
    }

private:
    const uint8_t* data_;
    size_t size_;
    size_t at_ = 0;
};

Bytes Block(uint8_t number, const Bytes& data, size_t size)
{
    Bytes block(3 + size + 2, 0);
    block[0] = size == 128 ? sim::YmodemReceiver::SOH : sim::YmodemReceiver::STX;
    block[1] = number;
    block[2] = static_cast<uint8_t>(255 - number);
    std::copy_n(data.begin(), std::min(data.size(), size), block.begin() + 3);
    const uint16_t crc = protocol::Crc16Xmodem(block.data() + 3, size);
    block[3 + size] = static_cast<uint8_t>(crc >> 8);
    block[4 + size] = static_cast<uint8_t>(crc);
    return block;
}

bool Expected(uint8_t reply)
{
    const std::string allowed = {sim::YmodemReceiver::ACK, sim::YmodemReceiver::NAK, sim::YmodemReceiver::CAN,
                                 'C', '?', '#', '!'};
    return allowed.find(static_cast<char>(reply)) != std::string::npos;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    Script script(data, size);
    sim::ReceiverFaults faults;
    const uint8_t flags = script.next();
    faults.nakFirstEot = flags & 1;
    faults.nakBlock = (flags >> 1) & 3;
    faults.garbage = flags & 8;
    faults.silent = flags & 16;
    faults.cancel = flags & 32;
    constexpr size_t limit = 8192;
    sim::YmodemReceiver receiver({}, faults, limit);
    auto now = sim::Clock::now();
    receiver.begin(now);
    while (!script.done()) {
        Bytes chunk;
        switch (script.next() % 5) {
        case 0:
            chunk = script.take(script.next() % 64);
            break;
        case 1: {
            const uint8_t number = script.next();
            const size_t blockSize = script.next() & 1 ? 1024 : 128;
            chunk = Block(number, script.take(script.next()), blockSize);
            break;
        }
        case 2:
            chunk = {sim::YmodemReceiver::EOT};
            break;
        case 3:
            now += std::chrono::milliseconds(script.next() * 50);
            receiver.poll(now);
            break;
        default: {
            // A header: a name, a NUL and a size field, all from the input.
            Bytes header = script.take(script.next() % 16);
            header.push_back(0);
            const std::string sizeField = std::to_string(script.next() * 97);
            header.insert(header.end(), sizeField.begin(), sizeField.end());
            chunk = Block(0, header, 128);
            break;
        }
        }
        receiver.receive(chunk.data(), chunk.size(), now);
        for (uint8_t reply : receiver.takeOutput())
            if (!Expected(reply))
                std::abort();
        receiver.takeNotes();
    }
    const auto& file = receiver.file();
    if (file.data.size() > limit + 1024)
        std::abort();
    if (receiver.outcome() == sim::YmodemReceiver::Outcome::Succeeded && file.announcedSize &&
        file.data.size() != *file.announcedSize)
        std::abort();
    return 0;
}
