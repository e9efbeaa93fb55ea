#include "YmodemReceiver.h"

#include "Crc16Xmodem.h"

#include <algorithm>
#include <charconv>
#include <utility>

namespace sim {

namespace {

constexpr std::size_t HeaderBytes = 3;  // SOH/STX, number, complement
constexpr std::size_t TrailerBytes = 2; // CRC, high byte first

// The header's name comes from the other side of the line: shown, never used as a path,
// and shown with anything unprintable escaped so it cannot play tricks on a terminal.
std::string Printable(const std::string& text)
{
    static const char* hex = "0123456789abcdef";
    std::string shown;
    for (unsigned char c : text) {
        if (c >= 0x20 && c < 0x7f && c != '\\') {
            shown += static_cast<char>(c);
        } else {
            shown += "\\x";
            shown += hex[c >> 4];
            shown += hex[c & 15];
        }
    }
    return shown;
}

} // namespace

YmodemReceiver::YmodemReceiver(ReceiverTiming timing, ReceiverFaults faults, std::size_t maxFileSize)
    : timing_(timing), faults_(faults), maxFileSize_(maxFileSize)
{
}

void YmodemReceiver::begin(TimePoint now)
{
    lastByte_ = now;
    requestStart(now);
}

void YmodemReceiver::receive(const uint8_t* data, std::size_t length, TimePoint now)
{
    for (std::size_t i = 0; i < length && outcome_ == Outcome::Running; ++i)
        take(data[i], now);
}

void YmodemReceiver::take(uint8_t byte, TimePoint now)
{
    lastByte_ = now;
    if (silenced_)
        return;
    if (!block_.empty()) {
        block_.push_back(byte);
        if (block_.size() == blockLength_)
            handleBlock(now);
        return;
    }
    switch (byte) {
    case SOH:
    case STX:
        block_.push_back(byte);
        blockLength_ = HeaderBytes + (byte == SOH ? 128 : 1024) + TrailerBytes;
        previous_ = 0;
        return;
    case EOT:
        if (phase_ == Phase::AwaitData)
            handleEot(now);
        else if (fileComplete_)
            send(ACK); // our ACK of the EOT went astray; the sender repeats it
        break;
    case CAN:
        if (previous_ == CAN) {
            fail("cancelled by the sender");
            return;
        }
        break;
    default:
        break; // line noise between blocks
    }
    previous_ = byte;
}

void YmodemReceiver::handleBlock(TimePoint now)
{
    const std::size_t size = blockLength_ - HeaderBytes - TrailerBytes;
    const uint8_t number = block_[1];
    const uint8_t* data = block_.data() + HeaderBytes;
    const uint16_t crc = static_cast<uint16_t>(block_[blockLength_ - 2] << 8 | block_[blockLength_ - 1]);
    std::vector<uint8_t> block;
    block.swap(block_); // the next byte starts afresh whatever happens below

    if (static_cast<uint8_t>(number + block[2]) != 0xFF)
        return rejectBlock("block number " + std::to_string(number) + " and its complement disagree");
    if (protocol::Crc16Xmodem(data, size) != crc)
        return rejectBlock("CRC error in block " + std::to_string(number));
    if (phase_ == Phase::AwaitHeader)
        handleHeader(number, data, size, now);
    else if (number == 0 && expected_ == 1)
        handleHeader(number, data, size, now); // the header again: our ACK was lost
    else
        handleData(number, data, size);
}

void YmodemReceiver::handleHeader(uint8_t number, const uint8_t* data, std::size_t size, TimePoint now)
{
    if (number != 0)
        return rejectBlock("data block " + std::to_string(number) + " where the header was due");
    if (data[0] == 0) { // the empty header closes the batch
        send(ACK);
        if (!fileComplete_)
            return fail("the batch ended without a file");
        if (file_.announcedSize && file_.data.size() < *file_.announcedSize)
            return fail("received " + std::to_string(file_.data.size()) + " of the " +
                        std::to_string(*file_.announcedSize) + " bytes announced");
        return succeed();
    }
    if (fileComplete_)
        return cancel("a boot loader takes one firmware per upload; a second file was offered");
    if (phase_ == Phase::AwaitData) { // repeated header
        send(ACK);
        requestStart(now);
        return;
    }
    if (!parseHeader(data, size))
        return rejectBlock("header without a name terminator");
    if (file_.announcedSize && *file_.announcedSize > maxFileSize_)
        return cancel("a firmware of " + std::to_string(*file_.announcedSize) + " bytes exceeds the " +
                      std::to_string(maxFileSize_) + "-byte limit");
    note("header: \"" + Printable(file_.name) + "\", " +
         (file_.announcedSize ? std::to_string(*file_.announcedSize) + " bytes" : std::string("no size")));
    send(ACK);
    phase_ = Phase::AwaitData;
    expected_ = 1;
    eots_ = 0;
    requestStart(now);
}

bool YmodemReceiver::parseHeader(const uint8_t* data, std::size_t size)
{
    const auto* end = data + size;
    const auto* nul = std::find(data, end, uint8_t{0});
    if (nul == end)
        return false;
    file_.name.assign(data, nul);
    // The size in decimal follows the name; senders may add a date and mode after a blank.
    const char* digits = reinterpret_cast<const char*>(nul + 1);
    const char* digitsEnd = reinterpret_cast<const char*>(end);
    uint64_t announced = 0;
    auto [stop, error] = std::from_chars(digits, digitsEnd, announced);
    const bool terminated = stop == digitsEnd || *stop == ' ' || *stop == '\0';
    if (error == std::errc() && terminated)
        file_.announcedSize = announced;
    else
        file_.announcedSize.reset();
    return true;
}

void YmodemReceiver::handleData(uint8_t number, const uint8_t* data, std::size_t size)
{
    if (number == static_cast<uint8_t>(expected_ - 1)) {
        send(ACK); // a repeat of the block just taken
        return;
    }
    if (number != static_cast<uint8_t>(expected_))
        return cancel("block " + std::to_string(number) + " out of sequence, expected " +
                      std::to_string(expected_ & 0xFF));

    if (faults_.nakBlock == expected_ && !nakBlockDone_) {
        nakBlockDone_ = true;
        note("NAK of sound block " + std::to_string(expected_) + ", as asked");
        send(NAK);
        return;
    }
    if (expected_ == 1) {
        if (faults_.cancel)
            return cancel("cancelling after block 1, as asked");
        if (faults_.silent) {
            silenced_ = true;
            note("falling silent after block 1, as asked");
            return;
        }
        if (faults_.garbage && !garbageDone_) {
            garbageDone_ = true;
            note("answering block 1 with garbage, as asked");
            for (char c : std::string("?#!"))
                send(static_cast<uint8_t>(c));
            return;
        }
    }
    if (file_.data.size() + size > maxFileSize_ + 1024)
        return cancel("more data than the " + std::to_string(maxFileSize_) + "-byte limit");
    file_.data.insert(file_.data.end(), data, data + size);
    ++expected_;
    send(ACK);
}

void YmodemReceiver::handleEot(TimePoint now)
{
    if (faults_.nakFirstEot && eots_++ == 0) {
        note("NAK of the first EOT, as asked");
        send(NAK);
        return;
    }
    send(ACK);
    if (file_.announcedSize && file_.data.size() > *file_.announcedSize)
        file_.data.resize(*file_.announcedSize); // the padding of the last block
    note("end of file after " + std::to_string(expected_ - 1) + " blocks, " +
         std::to_string(file_.data.size()) + " bytes kept");
    fileComplete_ = true;
    phase_ = Phase::AwaitHeader;
    startsSent_ = 0;
    requestStart(now);
}

void YmodemReceiver::rejectBlock(const std::string& why)
{
    note("NAK: " + why);
    if (++errors_ >= MaxErrors)
        return cancel("too many bad blocks");
    send(NAK);
}

void YmodemReceiver::requestStart(TimePoint now)
{
    send(START);
    lastStart_ = now;
    ++startsSent_;
}

void YmodemReceiver::poll(TimePoint now)
{
    if (outcome_ != Outcome::Running)
        return;
    const TimePoint quietSince = std::max(lastByte_, lastStart_);
    if (!block_.empty() && now - lastByte_ >= timing_.blockGap) {
        block_.clear();
        return rejectBlock("block cut short by a pause");
    }
    if (silenced_) {
        if (now - lastByte_ >= timing_.idleLimit)
            fail("stayed silent, as asked");
        return;
    }
    if (phase_ == Phase::AwaitHeader && block_.empty() && now - quietSince >= timing_.startInterval) {
        if (startsSent_ >= timing_.startAttempts)
            return fail("no sender answered " + std::to_string(startsSent_) + " start characters");
        requestStart(now);
    } else if (phase_ == Phase::AwaitData && now - quietSince >= timing_.idleLimit) {
        cancel("the sender fell quiet");
    }
}

TimePoint YmodemReceiver::deadline() const
{
    if (outcome_ != Outcome::Running)
        return TimePoint::max();
    const TimePoint quietSince = std::max(lastByte_, lastStart_);
    if (!block_.empty())
        return lastByte_ + timing_.blockGap;
    if (silenced_)
        return lastByte_ + timing_.idleLimit;
    if (phase_ == Phase::AwaitHeader)
        return quietSince + timing_.startInterval;
    return quietSince + timing_.idleLimit;
}

std::vector<uint8_t> YmodemReceiver::takeOutput()
{
    return std::exchange(output_, {});
}

std::vector<std::string> YmodemReceiver::takeNotes()
{
    return std::exchange(notes_, {});
}

void YmodemReceiver::cancel(const std::string& why)
{
    send(CAN);
    send(CAN);
    fail(why);
}

void YmodemReceiver::fail(const std::string& why)
{
    outcome_ = Outcome::Failed;
    failure_ = why;
    block_.clear();
}

void YmodemReceiver::succeed()
{
    outcome_ = Outcome::Succeeded;
}

} // namespace sim
