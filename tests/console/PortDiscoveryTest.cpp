// Which ports the windows offer and how a chosen name is opened.
#include "PortDiscovery.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using serial::PortDiscovery;

namespace {

TEST(PortDiscovery, NamedPortsComeFirstAndEveryPortOnce)
{
    const PortDiscovery ports({"/tmp/ttyV0", "/dev/ttyUSB0", "/tmp/ttyV0"},
                              [] { return std::vector<std::string>{"/dev/ttyACM0", "/dev/ttyUSB0", "/dev/ttyS0"}; });
    const std::vector<std::string> expected{"/tmp/ttyV0", "/dev/ttyUSB0", "/dev/ttyACM0", "/dev/ttyS0"};
    EXPECT_EQ(ports.Scan(), expected);
    EXPECT_EQ(ports.Scan(), expected) << "a second scan gives the same list";
}

TEST(PortDiscovery, PlaceholderUartsAreTheTtySPortsWithoutAUartType)
{
    QTemporaryDir sysfs;
    ASSERT_TRUE(sysfs.isValid());
    auto writeType = [&](const char* port, const char* type) {
        QDir(sysfs.path()).mkpath(QString::fromLatin1(port));
        QFile file(sysfs.path() + "/" + port + "/type");
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(type);
    };
    writeType("ttyS0", "4\n");
    writeType("ttyS1", "0\n");
    writeType("ttyUSB0", "0\n");
    const std::string root = sysfs.path().toStdString();
    EXPECT_FALSE(serial::IsPlaceholderUart("ttyS0", root));
    EXPECT_TRUE(serial::IsPlaceholderUart("ttyS1", root));
    EXPECT_FALSE(serial::IsPlaceholderUart("ttyUSB0", root)) << "only the ttyS row is padded with placeholders";
    EXPECT_FALSE(serial::IsPlaceholderUart("ttyS7", root)) << "a type that cannot be read counts as real";
}

TEST(PortDiscovery, SystemListHoldsExistingDevicesWithoutPlaceholders)
{
    for (const std::string& port : serial::ListSystemSerialPorts()) {
        const QFileInfo device(QString::fromStdString(port));
        EXPECT_TRUE(device.exists()) << port;
        EXPECT_FALSE(serial::IsPlaceholderUart(device.fileName().toStdString())) << port;
    }
}

struct NameCase {
    const char* name;
    std::optional<int> number;
};

void PrintTo(const NameCase& c, std::ostream* os) { *os << '"' << c.name << '"'; }

class ComPortNames : public ::testing::TestWithParam<NameCase> {};

TEST_P(ComPortNames, OnlyCom1ToCom15ByExactTextHaveANumber)
{
    EXPECT_EQ(serial::ComPortNumberOf(GetParam().name), GetParam().number);
}

INSTANTIATE_TEST_SUITE_P(Names, ComPortNames,
                         ::testing::Values(NameCase{"COM1", 1}, NameCase{"COM3", 3}, NameCase{"COM10", 10},
                                           NameCase{"COM15", 15}, NameCase{"COM16", std::nullopt},
                                           NameCase{"com3", std::nullopt}, NameCase{"COM01", std::nullopt},
                                           NameCase{"COM1 ", std::nullopt}, NameCase{"", std::nullopt},
                                           NameCase{"/dev/ttyUSB0", std::nullopt}));

TEST(ComPortNames, OtherNamesOpenAsDevicePaths)
{
    EXPECT_EQ(serial::DevicePathOf("/dev/ttyACM0"), "/dev/ttyACM0");
    EXPECT_EQ(serial::DevicePathOf("/tmp/ttyV0"), "/tmp/ttyV0");
}

} // namespace
