// fwloader's command line: named ports first, a firmware file preselected.
#include "CommandLine.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <ostream>

namespace {

struct LineCase {
    const char* name;
    QStringList arguments; // after the program's name; "FW" stands for an existing firmware file
    std::vector<std::string> ports;
    bool firmware;
    bool error;
};

void PrintTo(const LineCase& c, std::ostream* out) { *out << c.name; }

class CommandLineCases : public ::testing::TestWithParam<LineCase> {};

TEST_P(CommandLineCases, Parse)
{
    QTemporaryDir dir;
    const QString firmware = dir.filePath(QStringLiteral("fw.fcu"));
    QFile(firmware).open(QIODevice::WriteOnly);
    // A relative path is taken from the working folder, as a shell gives it.
    const QString previous = QDir::currentPath();
    QDir::setCurrent(dir.path());

    QStringList arguments{QStringLiteral("fwloader")};
    for (const QString& argument : GetParam().arguments)
        arguments << (argument == "FW" ? QStringLiteral("fw.fcu") : argument);
    const uploader::CommandLine line = uploader::ParseCommandLine(arguments);
    QDir::setCurrent(previous);

    EXPECT_EQ(!line.error.empty(), GetParam().error) << line.error;
    EXPECT_EQ(line.ports, GetParam().ports);
    EXPECT_EQ(line.firmwarePath, GetParam().firmware ? firmware.toStdString() : std::string());
    EXPECT_FALSE(line.usage.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Fwloader, CommandLineCases,
    ::testing::Values(LineCase{"Nothing", {}, {}, false, false},
                      LineCase{"PortsInTheirOrder", {"--port", "/dev/pts/3", "--port", "/dev/ttyUSB0"},
                               {"/dev/pts/3", "/dev/ttyUSB0"}, false, false},
                      LineCase{"PortAndFirmware", {"--port", "/dev/pts/3", "FW"}, {"/dev/pts/3"}, true, false},
                      LineCase{"FirmwareOnly", {"FW"}, {}, true, false},
                      LineCase{"MissingFirmware", {"gone.fcu"}, {}, false, true},
                      LineCase{"TwoFirmwareFiles", {"FW", "FW"}, {}, false, true},
                      LineCase{"UnknownOption", {"--baud", "9600"}, {}, false, true},
                      LineCase{"PortWithoutDevice", {"--port"}, {}, false, true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(CommandLineHelp, IsTheWholeAnswer)
{
    const uploader::CommandLine line = uploader::ParseCommandLine({"fwloader", "--help"});
    EXPECT_TRUE(line.helpShown);
    EXPECT_NE(line.usage.find("--port"), std::string::npos);
}

} // namespace
