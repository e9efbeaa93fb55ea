#include "CommandLine.h"

#include <getopt.h>

#include <charconv>
#include <cmath>

namespace sim {

namespace {

enum Option {
    OptLink = 'l',
    OptRate = 'r',
    OptBootLoader = 'b',
    OptOut = 'o',
    OptHelp = 'h',
    OptOnce = 1000,
    OptNakFirstEot,
    OptNakBlock,
    OptGarbage,
    OptSilent,
    OptCancel,
};

const option LongOptions[] = {
    {"link", required_argument, nullptr, OptLink},
    {"rate", required_argument, nullptr, OptRate},
    {"bootloader", no_argument, nullptr, OptBootLoader},
    {"out", required_argument, nullptr, OptOut},
    {"once", no_argument, nullptr, OptOnce},
    {"nak-first-eot", no_argument, nullptr, OptNakFirstEot},
    {"nak-block", required_argument, nullptr, OptNakBlock},
    {"garbage", no_argument, nullptr, OptGarbage},
    {"silent", no_argument, nullptr, OptSilent},
    {"cancel", no_argument, nullptr, OptCancel},
    {"help", no_argument, nullptr, OptHelp},
    {nullptr, 0, nullptr, 0},
};

template <typename Number>
bool ParseNumber(const char* text, Number& value)
{
    const char* end = text + std::char_traits<char>::length(text);
    auto [stop, error] = std::from_chars(text, end, value);
    return error == std::errc() && stop == end;
}

} // namespace

CommandLine ParseCommandLine(int argc, char* const* argv)
{
    CommandLine result;
    SimulatorOptions& o = result.options;
    optind = 0; // glibc: start afresh, so the parser can be used more than once
    opterr = 0;
    int option;
    while (result.error.empty() && (option = getopt_long(argc, argv, "l:r:bo:h", LongOptions, nullptr)) != -1) {
        switch (option) {
        case OptLink:
            o.linkPath = optarg;
            break;
        case OptRate:
            if (!ParseNumber(optarg, o.frameRate) || !std::isfinite(o.frameRate) || o.frameRate <= 0 ||
                o.frameRate > 1e6)
                result.error = std::string("--rate wants frames a second above 0, not '") + optarg + "'";
            break;
        case OptBootLoader:
            o.bootLoader = true;
            break;
        case OptOut:
            o.boot.outPath = optarg;
            break;
        case OptOnce:
            o.boot.once = true;
            break;
        case OptNakFirstEot:
            o.boot.faults.nakFirstEot = true;
            break;
        case OptNakBlock:
            if (!ParseNumber(optarg, o.boot.faults.nakBlock) || o.boot.faults.nakBlock == 0)
                result.error = std::string("--nak-block wants a block number from 1, not '") + optarg + "'";
            break;
        case OptGarbage:
            o.boot.faults.garbage = true;
            break;
        case OptSilent:
            o.boot.faults.silent = true;
            break;
        case OptCancel:
            o.boot.faults.cancel = true;
            break;
        case OptHelp:
            result.help = true;
            break;
        default:
            result.error = std::string("unknown or incomplete option '") + argv[optind - 1] + "'";
            break;
        }
    }
    if (result.error.empty() && optind < argc)
        result.error = std::string("unexpected argument '") + argv[optind] + "'";
    return result;
}

std::string Usage(const std::string& program)
{
    return "usage: " + program + " [--link PATH] [--rate FRAMES_PER_SECOND]\n"
           "       " + program + " --bootloader [--link PATH] [--out FILE] [--once]\n"
           "                 [--nak-first-eot] [--nak-block N] [--garbage] [--silent] [--cancel]\n"
           "\n"
           "Plays the NOVALK flight controller on a pseudo-terminal linked at PATH\n"
           "(default /tmp/novalk-sim): telemetry at the pace of a 115200-baud line\n"
           "(1280 frames a second unless --rate says otherwise), settings commands\n"
           "applied and echoed. With --bootloader it plays the boot loader instead and\n"
           "stores an uploaded firmware in FILE (default PATH-firmware.fcu).\n"
           "\n"
           "  --once            exit after the first upload (status 1 if it failed)\n"
           "  --nak-first-eot   answer the first EOT with NAK\n"
           "  --nak-block N     answer data block N with NAK once\n"
           "  --garbage         answer data block 1 with garbage\n"
           "  --silent          fall silent after data block 1\n"
           "  --cancel          cancel (CAN CAN) after data block 1\n";
}

} // namespace sim
