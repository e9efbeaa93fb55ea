// The sender against a scripted receiver on a pty: every reply a receiver can give
// and what the sender does about it, as seen on the line and in the events.
#include "ScriptedReceiver.h"
#include "SenderRig.h"
#include "YModemFrame.h"

#include <gtest/gtest.h>

#include <ostream>

using namespace ymodem_test;
using uploader::ymodem::ACK;
using uploader::ymodem::CAN;
using uploader::ymodem::NAK;

namespace {

using Pairs = std::vector<std::pair<int, int>>;

Pairs Counted(int code, int from, int to)
{
    Pairs errors;
    for (int n = from; n <= to; ++n)
        errors.emplace_back(code, n);
    return errors;
}

Pairs Join(Pairs a, const Pairs& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

std::vector<ReplyOverride> Times(FrameKind kind, int from, int to, const std::string& reply)
{
    std::vector<ReplyOverride> overrides;
    for (int n = from; n <= to; ++n)
        overrides.push_back({kind, n, reply});
    return overrides;
}

std::vector<ReplyOverride> Join(std::vector<ReplyOverride> a, const std::vector<ReplyOverride>& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

const std::string kNak(1, char(NAK));
const std::string kCan(1, char(CAN));
const std::string kAck(1, char(ACK));

struct ScriptCase {
    const char* name;
    std::size_t fileSize;
    ReceiverScript script;
    int timeoutMs;
    int exitCode;
    Pairs errors;
    Pairs packets;
    bool canCanAtEnd;
    int dataFrames; // on the line, repeats included
};

void PrintTo(const ScriptCase& c, std::ostream* os) { *os << c.name; }

const Pairs k1500{{1, 1024}, {2, 1500}};

const ScriptCase kCases[] = {
    {"crc_1500_bytes", 1500, {'C', "", {}}, 60000, 0, {}, k1500, false, 2},
    {"checksum_300_bytes", 300, {char(NAK), "", {}}, 60000, 0, {}, {{1, 128}, {2, 256}, {3, 300}}, false, 3},
    {"crc_2048_bytes_fills_two_blocks", 2048, {'C', "", {}}, 60000, 0, {}, {{1, 1024}, {2, 2048}}, false, 2},
    {"empty_file_sends_header_and_eot_only", 0, {'C', "", {}}, 60000, 0, {}, {}, false, 0},
    {"streaming_G_awaits_no_acks", 1500, {'G', "", {}}, 60000, 0, {}, k1500, false, 2},
    {"first_eot_answered_with_nak", 1500, {'C', "", {{FrameKind::Eot, 1, kNak}}}, 60000, 0,
     {{-16, 1}}, k1500, false, 2},
    {"three_naks_then_ack", 1500, {'C', "", Times(FrameKind::Data, 1, 3, kNak)}, 60000, 0,
     Counted(-15, 1, 3), k1500, false, 5},
    {"zero_reply_resends_without_error", 1500, {'C', "", {{FrameKind::Data, 1, std::string(1, '\0')}}},
     60000, 0, {}, k1500, false, 3},
    {"block_answered_with_C", 1500, {'C', "", {{FrameKind::Data, 1, "C"}}}, 60000, -5, {}, {}, false, 1},
    {"header_answered_with_stray_byte", 1500, {'C', "", {{FrameKind::Header, 1, "x"}}}, 60000, -5, {},
     {}, false, 0},
    {"can_reply_ends_without_can_back", 1500, {'C', "", {{FrameKind::Data, 1, kCan}}}, 60000, -4, {},
     {}, false, 1},
    {"stray_ack_before_start", 1500, {'C', kAck, {}}, 60000, 0, {{-16, 1}}, k1500, false, 2},
    {"zero_while_awaiting_start", 1500, {0, std::string(1, '\0'), {}}, 60000, -3, {}, {}, true, 0},
    {"zero_after_eot", 1500, {'C', "", {{FrameKind::Eot, 1, std::string(1, '\0')}}}, 60000, -3, {},
     k1500, true, 2},
    {"ten_naks_end_with_cancel", 1500, {'C', "", Times(FrameKind::Data, 1, 10, kNak)}, 60000, -9,
     Counted(-15, 1, 9), {}, true, 10},
    {"ten_mixed_errors_end_without_cancel", 1500,
     {'C', "xyz", Join(Times(FrameKind::Data, 1, 3, kNak), Times(FrameKind::Eot, 1, 4, kNak))}, 60000, -9,
     Join(Join(Counted(-16, 1, 3), Counted(-15, 4, 6)), Counted(-16, 7, 9)), k1500, false, 5},
    {"silent_receiver_times_out", 1500, {0, "", {}}, 30, -9, Counted(-1, 1, 9), {}, false, 0},
};

class SenderAgainstScript : public ::testing::TestWithParam<ScriptCase> {};

TEST_P(SenderAgainstScript, EndsWithTheExpectedCodeEventsAndLine)
{
    const ScriptCase& c = GetParam();
    PtyPair pty;
    QTemporaryDir dir;
    const auto bytes = TestBytes(c.fileSize);
    SenderRig rig(pty.slavePath());
    rig.sender.SetTimeout(c.timeoutMs);
    rig.sender.Files().append(WriteFile(dir, "fw.fcu", bytes));
    ScriptedReceiver receiver(pty, c.script);

    rig.sender.Execute();
    receiver.Start();
    ASSERT_TRUE(rig.WaitForEnd());
    rig.comm.Close();
    receiver.Stop();

    EXPECT_EQ(rig.record.exitCode, c.exitCode);
    EXPECT_EQ(rig.record.starts, 1);
    EXPECT_EQ(rig.record.ends, 1);
    EXPECT_EQ(rig.record.errors, c.errors);
    EXPECT_EQ(rig.record.packets, c.packets);
    EXPECT_EQ(receiver.EndedWithCanCan(), c.canCanAtEnd);
    EXPECT_EQ(static_cast<int>(receiver.FramesOf(FrameKind::Data).size()), c.dataFrames);
    for (const auto& frame : receiver.Frames()) {
        if (frame.kind == FrameKind::Data || frame.kind == FrameKind::Header) {
            EXPECT_TRUE(frame.checkOk);
        }
    }
    if (c.exitCode == 0) {
        EXPECT_EQ(receiver.ReceivedFile(), bytes);
        EXPECT_TRUE(receiver.SawClosingBlock());
    }
    if (c.script.start == 0 && c.script.before.empty()) {
        EXPECT_TRUE(receiver.Frames().empty()); // a time-out never sends anything
    }
}

INSTANTIATE_TEST_SUITE_P(Replies, SenderAgainstScript, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
