#pragma once
// The boot loader's YMODEM receiver, written from the protocol rather than borrowed,
// so that the uploader is checked against an independent implementation.
//
// CRC mode only ("C" as start character); 128-byte (SOH) and 1024-byte (STX) blocks
// are both taken. Bad blocks (number/complement mismatch, CRC error, a block cut
// short by a pause) are answered with NAK; out-of-sequence blocks cancel the
// transfer. The header's size is honoured: the padding of the last block is cut off.
// One file per batch: a boot loader flashes one firmware.
//
// A pure state machine: bytes and the time go in, bytes to send and notes come out.
#include "SimClock.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace sim {

// Misbehaviour on request, so that the uploader's error paths can be exercised.
struct ReceiverFaults {
    bool nakFirstEot = false;   // answer the first EOT of the file with NAK
    uint32_t nakBlock = 0;      // NAK this data block once although it is sound (0: none)
    bool garbage = false;       // answer data block 1 with garbage instead of ACK
    bool silent = false;        // take data block 1 and answer nothing from then on
    bool cancel = false;        // answer data block 1 with CAN CAN
};

struct ReceiverTiming {
    Duration startInterval = std::chrono::seconds(1); // repeat "C" while the line is quiet this long
    int startAttempts = 30;                           // "C"s before giving up on a sender
    Duration blockGap = std::chrono::seconds(1);      // pause that cuts a block short
    Duration idleLimit = std::chrono::seconds(10);    // silence that ends a started transfer
};

struct ReceivedFile {
    std::string name;
    std::optional<uint64_t> announcedSize; // absent when the header carried no size
    std::vector<uint8_t> data;
};

class YmodemReceiver {
public:
    enum class Outcome { Running, Succeeded, Failed };

    static constexpr uint8_t SOH = 0x01, STX = 0x02, EOT = 0x04, ACK = 0x06, NAK = 0x15,
                             CAN = 0x18, START = 'C';
    static constexpr int MaxErrors = 10;
    static constexpr std::size_t DefaultMaxFileSize = 16u << 20;

    YmodemReceiver(ReceiverTiming timing = {}, ReceiverFaults faults = {},
                   std::size_t maxFileSize = DefaultMaxFileSize);

    // Sends the first start character.
    void begin(TimePoint now);
    void receive(const uint8_t* data, std::size_t length, TimePoint now);
    // Runs the time-outs; call it at deadline() at the latest.
    void poll(TimePoint now);
    TimePoint deadline() const;

    std::vector<uint8_t> takeOutput();
    std::vector<std::string> takeNotes();

    Outcome outcome() const { return outcome_; }
    const std::string& failure() const { return failure_; }
    const ReceivedFile& file() const { return file_; }

private:
    enum class Phase { AwaitHeader, AwaitData };

    void take(uint8_t byte, TimePoint now);
    void handleBlock(TimePoint now);
    void handleHeader(uint8_t number, const uint8_t* data, std::size_t size, TimePoint now);
    void handleData(uint8_t number, const uint8_t* data, std::size_t size);
    void handleEot(TimePoint now);
    bool parseHeader(const uint8_t* data, std::size_t size);
    void rejectBlock(const std::string& why);
    void requestStart(TimePoint now);
    void send(uint8_t byte) { output_.push_back(byte); }
    void cancel(const std::string& why);
    void fail(const std::string& why);
    void succeed();
    void note(std::string text) { notes_.push_back(std::move(text)); }

    ReceiverTiming timing_;
    ReceiverFaults faults_;
    std::size_t maxFileSize_;

    Outcome outcome_ = Outcome::Running;
    Phase phase_ = Phase::AwaitHeader;
    std::string failure_;
    ReceivedFile file_;
    bool fileComplete_ = false; // EOT of the one file acknowledged
    uint32_t expected_ = 1;     // number of the next data block, not wrapped
    int eots_ = 0;
    int errors_ = 0;
    bool nakBlockDone_ = false;
    bool garbageDone_ = false;
    bool silenced_ = false;

    std::vector<uint8_t> block_; // the block being assembled, from its SOH/STX
    std::size_t blockLength_ = 0;
    uint8_t previous_ = 0;       // to recognise CAN CAN

    TimePoint lastByte_{};
    TimePoint lastStart_{};
    int startsSent_ = 0;

    std::vector<uint8_t> output_;
    std::vector<std::string> notes_;
};

} // namespace sim
