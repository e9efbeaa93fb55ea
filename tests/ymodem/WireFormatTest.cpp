// The bytes of the wire format, without a port: check values, the header block
// and the framing of one block.
#include "Vacrc32.h"
#include "YModemFrame.h"

#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <ostream>
#include <string>
#include <vector>

using namespace uploader;
using namespace uploader::ymodem;

namespace {

TEST(CheckValues, Crc16MatchesTheXmodemCheckValueAndTable)
{
    const std::string digits = "123456789";
    EXPECT_EQ(Crc16(reinterpret_cast<const uint8_t*>(digits.data()), digits.size()), 0x31C3);
    // The table is the register after shifting one byte through from zero.
    EXPECT_EQ(Crc16Table[0], 0x0000);
    EXPECT_EQ(Crc16Table[1], 0x1021);
    EXPECT_EQ(Crc16Table[255], 0x1EF0);
    EXPECT_EQ(CalcCRC16('1', 0), Crc16Table['1']);
}

TEST(CheckValues, ChecksumKeepsTheLowEightBitsOfTheSum)
{
    const std::vector<uint8_t> bytes{0xFF, 0xFF, 0x03};
    EXPECT_EQ(Checksum8(bytes.data(), bytes.size()), 0x01);
}

struct NameCase {
    const char* path;
    const char* name;
};

void PrintTo(const NameCase& c, std::ostream* os) { *os << c.path; }

class HeaderNameOf : public ::testing::TestWithParam<NameCase> {};

TEST_P(HeaderNameOf, KeepsWhatFollowsTheLastSeparator)
{
    EXPECT_EQ(HeaderName(GetParam().path), GetParam().name);
}

INSTANTIATE_TEST_SUITE_P(Paths, HeaderNameOf,
                         ::testing::Values(NameCase{"C:\\Flight\\Images\\FW.fcu", "FW.fcu"},
                                           NameCase{"D:fw.fcu", "fw.fcu"},
                                           NameCase{"/home/pilot/fw/fw.fcu", "fw.fcu"},
                                           NameCase{"fw.fcu", "fw.fcu"},
                                           NameCase{"dir/", ""}));

TEST(HeaderBlock, HoldsNameZeroSizeAndZerosToTheEnd)
{
    std::array<uint8_t, ShortBlock> block;
    block.fill(0xEE);
    BuildHeaderData("fw.fcu", 1500, block.data());
    EXPECT_EQ(std::string(reinterpret_cast<char*>(block.data()), 12), std::string("fw.fcu\0" "1500\0", 12));
    EXPECT_TRUE(std::all_of(block.begin() + 11, block.end(), [](uint8_t b) { return b == 0; }));

    BuildHeaderData("gone.fcu", -1, block.data());
    EXPECT_EQ(std::string(reinterpret_cast<char*>(block.data()), 12), std::string("gone.fcu\0-1\0", 12));
}

TEST(HeaderBlock, LongNameIsCutAtTheBlockSize)
{
    std::array<uint8_t, ShortBlock> block{};
    BuildHeaderData(std::string(126, 'n'), 123456, block.data());
    EXPECT_EQ(std::string(reinterpret_cast<char*>(block.data()), ShortBlock),
              std::string(126, 'n') + std::string("\0" "1", 2));
}

TEST(Frame, LongBlockWithCrcAndShortBlockWithSum)
{
    std::vector<uint8_t> data(LongBlock, 0xA5);
    std::array<uint8_t, MaxFrame> out{};

    ASSERT_EQ(EncodeFrame(256, data.data(), LongBlock, false, out.data()), 3 + LongBlock + 2);
    EXPECT_EQ(out[0], STX);
    EXPECT_EQ(out[1], 0x00);
    EXPECT_EQ(out[2], 0xFF);
    const uint16_t crc = Crc16(data.data(), LongBlock);
    EXPECT_EQ(out[3 + LongBlock], crc >> 8);
    EXPECT_EQ(out[4 + LongBlock], crc & 0xFF);

    ASSERT_EQ(EncodeFrame(3, data.data(), ShortBlock, true, out.data()), 3 + ShortBlock + 1);
    EXPECT_EQ(out[0], SOH);
    EXPECT_EQ(out[1], 3);
    EXPECT_EQ(out[2], 252);
    EXPECT_EQ(out[3 + ShortBlock], static_cast<uint8_t>(0xA5 * ShortBlock));
}

} // namespace
