// The receiver's decisions on input a sound sender never produces: damaged blocks,
// pauses, sequence errors, and the faults it injects on request. Whole uploads from
// a real sender run over a pseudo-terminal in BootLoaderTest.
#include "YmodemBlocks.h"
#include "YmodemReceiver.h"

#include <gtest/gtest.h>

#include <ostream>

using namespace std::chrono_literals;
using sim::YmodemReceiver;
using simtest::Block;
using simtest::Bytes;
using simtest::Filled;
using simtest::Header;

namespace {

constexpr uint8_t ACK = YmodemReceiver::ACK, NAK = YmodemReceiver::NAK, CAN = YmodemReceiver::CAN,
                  EOT = YmodemReceiver::EOT, C = 'C';

class Receiver {
public:
    explicit Receiver(sim::ReceiverFaults faults = {}, std::size_t maxFileSize = 1 << 20)
        : rx_(Timing(), faults, maxFileSize)
    {
        rx_.begin(now_);
        rx_.takeOutput();
    }

    static sim::ReceiverTiming Timing()
    {
        sim::ReceiverTiming timing;
        timing.startInterval = 1s;
        timing.startAttempts = 3;
        timing.blockGap = 1s;
        timing.idleLimit = 10s;
        return timing;
    }

    // Sends bytes (after a pause) and returns the receiver's answer.
    Bytes send(const Bytes& bytes, sim::Duration pause = 0s)
    {
        now_ += pause;
        rx_.poll(now_);
        rx_.receive(bytes.data(), bytes.size(), now_);
        return rx_.takeOutput();
    }
    Bytes wait(sim::Duration pause)
    {
        now_ += pause;
        rx_.poll(now_);
        return rx_.takeOutput();
    }
    // The header and the blocks of a file, each answered as it should be.
    void openFile(const std::string& sizeField)
    {
        ASSERT_EQ(send(Header("fw.fcu", sizeField)), (Bytes{ACK, C}));
    }

    YmodemReceiver& rx() { return rx_; }

private:
    sim::TimePoint now_ = sim::TimePoint{} + 1h;
    YmodemReceiver rx_;
};

Bytes Concat(Bytes a, const Bytes& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

} // namespace

TEST(YmodemReceiverStart, RepeatsTheStartCharacterOnlyWhileTheLineIsQuietThenGivesUp)
{
    Receiver r;
    EXPECT_EQ(r.wait(900ms), Bytes{});
    EXPECT_EQ(r.wait(100ms), Bytes{C});
    EXPECT_EQ(r.send({'x'}, 500ms), Bytes{}); // noise: someone is there
    EXPECT_EQ(r.wait(700ms), Bytes{});        // quiet for 0.7 s only
    EXPECT_EQ(r.wait(300ms), Bytes{C});
    EXPECT_EQ(r.wait(1s), Bytes{});
    EXPECT_EQ(r.rx().outcome(), YmodemReceiver::Outcome::Failed);
    EXPECT_NE(r.rx().failure().find("no sender"), std::string::npos);
}

struct SizeCase {
    const char* name;
    std::string sizeField;
    std::vector<std::size_t> blockSizes;
    std::size_t stored;
};

void PrintTo(const SizeCase& c, std::ostream* os) { *os << c.name; }

class YmodemReceiverSize : public ::testing::TestWithParam<SizeCase> {};

TEST_P(YmodemReceiverSize, KeepsExactlyTheAnnouncedBytes)
{
    const SizeCase& c = GetParam();
    Receiver r;
    r.openFile(c.sizeField);
    Bytes sent;
    uint8_t number = 1;
    for (std::size_t size : c.blockSizes) {
        const Bytes data = Filled(size, number);
        sent = Concat(sent, data);
        ASSERT_EQ(r.send(Block(number++, data, size)), Bytes{ACK});
    }
    EXPECT_EQ(r.send({EOT}), (Bytes{ACK, C}));
    EXPECT_EQ(r.send(Block(0, {}, 128)), Bytes{ACK});
    ASSERT_EQ(r.rx().outcome(), YmodemReceiver::Outcome::Succeeded) << r.rx().failure();
    sent.resize(c.stored);
    EXPECT_EQ(r.rx().file().data, sent);
    EXPECT_EQ(r.rx().file().name, "fw.fcu");
}

INSTANTIATE_TEST_SUITE_P(Cases, YmodemReceiverSize,
    ::testing::Values(SizeCase{"padding_of_the_last_1k_block_cut", "1500", {1024, 1024}, 1500},
                      SizeCase{"mixed_block_sizes", "1100", {1024, 128}, 1100},
                      SizeCase{"date_and_mode_after_the_size", "130 14717327412 100644", {128, 128}, 130},
                      SizeCase{"exact_fill_keeps_all", "2048", {1024, 1024}, 2048},
                      SizeCase{"empty_file", "0", {1024}, 0},
                      SizeCase{"no_size_keeps_the_padding", "", {128, 128}, 256}),
    [](const auto& info) { return std::string(info.param.name); });

struct DamageCase {
    const char* name;
    Bytes (*damage)(Bytes block);
    sim::Duration pauseBeforeRetry;
};

void PrintTo(const DamageCase& c, std::ostream* os) { *os << c.name; }

class YmodemReceiverDamage : public ::testing::TestWithParam<DamageCase> {};

TEST_P(YmodemReceiverDamage, AnswersNakAndTakesTheRepeatedBlockOnce)
{
    Receiver r;
    r.openFile("1024");
    const Bytes good = Block(1, Filled(1024));
    const Bytes damaged = GetParam().damage(good);
    Bytes answer = r.send(damaged);
    answer = Concat(answer, r.wait(GetParam().pauseBeforeRetry));
    EXPECT_EQ(answer, Bytes{NAK});
    EXPECT_EQ(r.send(good), Bytes{ACK});
    EXPECT_EQ(r.send({EOT}), (Bytes{ACK, C}));
    EXPECT_EQ(r.rx().file().data, Filled(1024));
}

INSTANTIATE_TEST_SUITE_P(Cases, YmodemReceiverDamage,
    ::testing::Values(
        DamageCase{"crc_error", [](Bytes b) { b[500] ^= 0x40; return b; }, 0s},
        DamageCase{"complement_wrong", [](Bytes b) { b[2] = 0x00; return b; }, 0s},
        DamageCase{"cut_short_by_a_pause", [](Bytes b) { b.resize(600); return b; }, 1s}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(YmodemReceiverSequence, RepeatedBlockIsAcknowledgedAndStoredOnceSkippedBlockCancels)
{
    Receiver r;
    r.openFile("3000");
    EXPECT_EQ(r.send(Block(1, Filled(1024))), Bytes{ACK});
    EXPECT_EQ(r.send(Block(1, Filled(1024))), Bytes{ACK});
    EXPECT_EQ(r.rx().file().data.size(), 1024u);
    EXPECT_EQ(r.send(Block(3, Filled(1024))), (Bytes{CAN, CAN}));
    EXPECT_EQ(r.rx().outcome(), YmodemReceiver::Outcome::Failed);
}

TEST(YmodemReceiverSequence, SenderCancelAndSilenceEndTheTransfer)
{
    Receiver cancelled;
    cancelled.openFile("10");
    cancelled.send({CAN, CAN});
    EXPECT_EQ(cancelled.rx().outcome(), YmodemReceiver::Outcome::Failed);
    EXPECT_EQ(cancelled.rx().failure(), "cancelled by the sender");

    Receiver abandoned;
    abandoned.openFile("10");
    EXPECT_EQ(abandoned.wait(9s), Bytes{});
    EXPECT_EQ(abandoned.wait(1s), (Bytes{CAN, CAN}));
    EXPECT_EQ(abandoned.rx().outcome(), YmodemReceiver::Outcome::Failed);
}

TEST(YmodemReceiverLimits, RefusesASecondFileAndAnOversizedFirmware)
{
    Receiver r;
    r.openFile("5");
    r.send(Block(1, Filled(5)));
    r.send({EOT});
    EXPECT_EQ(r.send(Header("other.fcu", "5")), (Bytes{CAN, CAN}));
    EXPECT_EQ(r.rx().outcome(), YmodemReceiver::Outcome::Failed);

    Receiver small({}, 2048);
    EXPECT_EQ(small.send(Header("big.fcu", "4096")), (Bytes{CAN, CAN}));
    EXPECT_EQ(small.rx().outcome(), YmodemReceiver::Outcome::Failed);
}

struct FaultCase {
    const char* name;
    sim::ReceiverFaults faults;
    Bytes answerToBlock1;
    Bytes answerToBlock2;
    Bytes answerToFirstEot;
    YmodemReceiver::Outcome outcome;
};

void PrintTo(const FaultCase& c, std::ostream* os) { *os << c.name; }

class YmodemReceiverFault : public ::testing::TestWithParam<FaultCase> {};

// Each block is sent until it is acknowledged, as a sender does after a NAK.
TEST_P(YmodemReceiverFault, MisbehavesAsAsked)
{
    const FaultCase& c = GetParam();
    Receiver r(c.faults);
    r.openFile("2000");
    EXPECT_EQ(r.send(Block(1, Filled(1024))), c.answerToBlock1);
    if (c.outcome == YmodemReceiver::Outcome::Running) {
        r.send(Block(1, Filled(1024)));
        EXPECT_EQ(r.send(Block(2, Filled(1024))), c.answerToBlock2);
        r.send(Block(2, Filled(1024)));
        EXPECT_EQ(r.send({EOT}), c.answerToFirstEot);
        if (c.answerToFirstEot == Bytes{NAK}) {
            EXPECT_EQ(r.send({EOT}), (Bytes{ACK, C}));
        }
        EXPECT_EQ(r.rx().file().data.size(), 2000u);
    } else {
        r.wait(10s); // a silent receiver gives up once the sender does
        EXPECT_EQ(r.rx().outcome(), c.outcome);
    }
}

sim::ReceiverFaults Faults(void (*set)(sim::ReceiverFaults&))
{
    sim::ReceiverFaults f;
    set(f);
    return f;
}

INSTANTIATE_TEST_SUITE_P(Cases, YmodemReceiverFault,
    ::testing::Values(
        FaultCase{"none", {}, {ACK}, {ACK}, {ACK, C}, YmodemReceiver::Outcome::Running},
        FaultCase{"nak_first_eot", Faults([](auto& f) { f.nakFirstEot = true; }), {ACK}, {ACK}, {NAK},
                  YmodemReceiver::Outcome::Running},
        FaultCase{"nak_block_2", Faults([](auto& f) { f.nakBlock = 2; }), {ACK}, {NAK}, {ACK, C},
                  YmodemReceiver::Outcome::Running},
        FaultCase{"garbage", Faults([](auto& f) { f.garbage = true; }), {'?', '#', '!'}, {ACK}, {ACK, C},
                  YmodemReceiver::Outcome::Running},
        FaultCase{"cancel", Faults([](auto& f) { f.cancel = true; }), {CAN, CAN}, {}, {},
                  YmodemReceiver::Outcome::Failed},
        FaultCase{"silent", Faults([](auto& f) { f.silent = true; }), {}, {}, {},
                  YmodemReceiver::Outcome::Failed}),
    [](const auto& info) { return std::string(info.param.name); });
