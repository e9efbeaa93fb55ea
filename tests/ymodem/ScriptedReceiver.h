#pragma once
// A YMODEM receiver on the master side of a pty, run on its own thread: it starts
// the transfer with its start character, parses every frame the sender puts on the
// line and answers as a well-behaved receiver would, except where the script says
// otherwise. What it saw is kept for the test to inspect.
#include "PtyPair.h"

#include <atomic>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace ymodem_test {

enum class FrameKind { Header, Data, Closing, Eot, Can, Other };

struct Frame {
    FrameKind kind = FrameKind::Other;
    uint8_t lead = 0;              // SOH, STX, EOT, CAN or the stray byte
    uint8_t number = 0;
    uint8_t complement = 0;
    std::vector<uint8_t> data;
    bool checkOk = false;          // CRC or sum matches the data
};

struct ReplyOverride {
    FrameKind kind;
    int occurrence;    // the n-th frame of that kind, from 1
    std::string reply; // sent instead of the usual answer
};

struct ReceiverScript {
    char start = 'C';   // 'C', 'G' or NAK; 0 for a receiver that never speaks
    std::string before; // sent once just before the first start character
    std::vector<ReplyOverride> overrides;
};

class ScriptedReceiver {
public:
    ScriptedReceiver(PtyPair& pty, ReceiverScript script);
    ~ScriptedReceiver();

    void Start();
    void Stop();

    std::vector<Frame> Frames() const;
    std::vector<Frame> FramesOf(FrameKind kind) const;
    // The file as a receiver assembles it: data blocks in sequence (repeats dropped),
    // cut to the size in the header.
    std::vector<uint8_t> ReceivedFile() const;
    // The header's bytes up to the first 0x00 after the size.
    std::string HeaderText() const;
    bool SawClosingBlock() const;
    // Whether the last two things the sender put on the line were CAN CAN.
    bool EndedWithCanCan() const;

private:
    void Run();
    bool ReadFrame(Frame& frame);
    std::string Reply(const Frame& frame);

    PtyPair& pty_;
    const ReceiverScript script_;
    std::thread thread_;
    std::atomic<bool> stop_{false};
    mutable std::mutex lock_;
    std::vector<Frame> frames_;
    std::vector<int> seen_; // frames of each kind so far
    bool expectHeader_ = true; // block 0 is a header (or the closing block) here
};

} // namespace ymodem_test
