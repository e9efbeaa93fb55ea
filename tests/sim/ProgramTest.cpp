// The novalk-sim program as a script starts it: the link path on the first line,
// a clean exit on SIGINT or SIGTERM that takes the link away, and its arguments.
#include "CommandLine.h"
#include "TempDir.h"

#include <QProcess>

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <ostream>

namespace {

struct SignalCase {
    const char* name;
    int signal;
};

void PrintTo(const SignalCase& c, std::ostream* os) { *os << c.name; }

class ProgramStop : public ::testing::TestWithParam<SignalCase> {};

} // namespace

TEST_P(ProgramStop, PrintsTheLinkFirstAndRemovesItWhenStopped)
{
    simtest::TempDir dir;
    const std::string link = dir / "link";
    QProcess program;
    program.start(NOVALK_SIM_PATH, {"--link", QString::fromStdString(link)});
    ASSERT_TRUE(program.waitForStarted());
    ASSERT_TRUE(program.waitForReadyRead(10000));
    while (!program.canReadLine() && program.waitForReadyRead(10000)) {
    }
    EXPECT_EQ(program.readLine().trimmed().toStdString(), link);
    EXPECT_TRUE(std::filesystem::is_symlink(link));

    ::kill(static_cast<pid_t>(program.processId()), GetParam().signal);
    ASSERT_TRUE(program.waitForFinished(10000));
    EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(program.exitCode(), 0);
    EXPECT_FALSE(std::filesystem::exists(std::filesystem::symlink_status(link)));
}

INSTANTIATE_TEST_SUITE_P(Signals, ProgramStop,
                         ::testing::Values(SignalCase{"sigint", SIGINT}, SignalCase{"sigterm", SIGTERM}),
                         [](const auto& info) { return std::string(info.param.name); });

struct ArgumentsCase {
    const char* name;
    std::vector<const char*> arguments;
    bool accepted;
};

void PrintTo(const ArgumentsCase& c, std::ostream* os) { *os << c.name; }

class ProgramArguments : public ::testing::TestWithParam<ArgumentsCase> {};

TEST_P(ProgramArguments, AreTakenOrRefusedWithAReason)
{
    std::vector<char*> argv{const_cast<char*>("novalk-sim")};
    for (const char* a : GetParam().arguments)
        argv.push_back(const_cast<char*>(a));
    argv.push_back(nullptr);
    const auto parsed = sim::ParseCommandLine(static_cast<int>(argv.size() - 1), argv.data());
    EXPECT_EQ(parsed.error.empty(), GetParam().accepted) << parsed.error;
}

INSTANTIATE_TEST_SUITE_P(Cases, ProgramArguments,
    ::testing::Values(
        ArgumentsCase{"defaults", {}, true},
        ArgumentsCase{"every_boot_loader_option",
                      {"--bootloader", "--link", "/tmp/x", "--out", "/tmp/y", "--once", "--nak-first-eot",
                       "--nak-block", "3", "--garbage", "--silent", "--cancel"},
                      true},
        ArgumentsCase{"rate", {"--rate", "200"}, true},
        ArgumentsCase{"rate_zero", {"--rate", "0"}, false},
        ArgumentsCase{"rate_not_a_number", {"--rate", "fast"}, false},
        ArgumentsCase{"nak_block_zero", {"--bootloader", "--nak-block", "0"}, false},
        ArgumentsCase{"link_without_path", {"--link"}, false},
        ArgumentsCase{"unknown_option", {"--turbo"}, false},
        ArgumentsCase{"stray_argument", {"firmware.fcu"}, false}),
    [](const auto& info) { return std::string(info.param.name); });
