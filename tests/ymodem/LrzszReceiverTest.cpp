// The sender against a real YMODEM receiver: lrzsz's rb at the far end of a pty,
// attached through pipes. Every file must arrive byte for byte.
#include "PipedPeer.h"
#include "SenderRig.h"

#include <QDir>
#include <QTest>

#include <gtest/gtest.h>

#include <ostream>

using namespace ymodem_test;

namespace {

struct SizeCase {
    std::size_t size;
};

void PrintTo(const SizeCase& c, std::ostream* os) { *os << c.size << " bytes"; }

class SenderToRb : public ::testing::TestWithParam<SizeCase> {};

TEST_P(SenderToRb, FileArrivesByteIdentical)
{
    const std::size_t size = GetParam().size;
    PtyPair pty;
    QTemporaryDir source;
    QTemporaryDir target;
    const auto bytes = TestBytes(size, static_cast<unsigned>(size));
    SenderRig rig(pty.slavePath());
    rig.sender.Files().append(WriteFile(source, "firmware.fcu", bytes));

    rig.sender.Execute();
    PipedPeer rb(pty.master(), {"/usr/bin/rb", "-b"}, target.path().toStdString());
    ASSERT_TRUE(rig.WaitForEnd(std::chrono::seconds(60)));
    ASSERT_TRUE(QTest::qWaitFor([&] { return rb.Exited(); }, 20000));

    EXPECT_EQ(rig.record.exitCode, 0);
    EXPECT_EQ(rb.ExitStatus(), 0);
    EXPECT_TRUE(rig.record.errors.empty()); // rb answers the first EOT with ACK
    EXPECT_EQ(QDir(target.path()).entryList(QDir::Files), QStringList{"firmware.fcu"});
    EXPECT_EQ(ReadWholeFile(target.filePath("firmware.fcu")), bytes);
}

INSTANTIATE_TEST_SUITE_P(Sizes, SenderToRb,
                         ::testing::Values(SizeCase{0}, SizeCase{1}, SizeCase{1024}, SizeCase{1500},
                                           SizeCase{2048}, SizeCase{200000}),
                         [](const auto& info) { return "bytes_" + std::to_string(info.param.size); });

} // namespace
