#include "TermiosLineSettings.h"

#include <utility>

namespace serial {
namespace {

constexpr std::pair<uint32_t, speed_t> kSpeeds[] = {
    {50, B50},         {75, B75},         {110, B110},         {134, B134},         {150, B150},
    {200, B200},       {300, B300},       {600, B600},         {1200, B1200},       {1800, B1800},
    {2400, B2400},     {4800, B4800},     {9600, B9600},       {19200, B19200},     {38400, B38400},
    {57600, B57600},   {115200, B115200}, {230400, B230400},   {460800, B460800},   {500000, B500000},
    {576000, B576000}, {921600, B921600}, {1000000, B1000000}, {1152000, B1152000}, {1500000, B1500000},
    {2000000, B2000000},
};

tcflag_t SizeFlag(uint8_t byteSize)
{
    switch (byteSize) {
    case 5: return CS5;
    case 6: return CS6;
    case 7: return CS7;
    default: return CS8;
    }
}

uint8_t ByteSizeOf(tcflag_t cflag)
{
    switch (cflag & CSIZE) {
    case CS5: return 5;
    case CS6: return 6;
    case CS7: return 7;
    default: return 8;
    }
}

tcflag_t ParityFlags(Parity parity)
{
    switch (parity) {
    case Parity::None: return 0;
    case Parity::Odd: return PARENB | PARODD;
    case Parity::Even: return PARENB;
    // Stick parity: with CMSPAR, PARODD selects a parity bit that is always 1.
    case Parity::Mark: return PARENB | CMSPAR | PARODD;
    case Parity::Space: return PARENB | CMSPAR;
    }
    return 0;
}

Parity ParityOf(tcflag_t cflag)
{
    if (!(cflag & PARENB))
        return Parity::None;
    const bool odd = cflag & PARODD;
    if (cflag & CMSPAR)
        return odd ? Parity::Mark : Parity::Space;
    return odd ? Parity::Odd : Parity::Even;
}

void SetFlag(tcflag_t& field, tcflag_t flag, bool on)
{
    if (on)
        field |= flag;
    else
        field &= ~flag;
}

} // namespace

bool SpeedConstant(uint32_t baudRate, speed_t& speed)
{
    for (const auto& [rate, constant] : kSpeeds) {
        if (rate == baudRate) {
            speed = constant;
            return true;
        }
    }
    return false;
}

uint32_t BaudRateOf(speed_t speed)
{
    for (const auto& [rate, constant] : kSpeeds) {
        if (constant == speed)
            return rate;
    }
    return 0;
}

void MakeRaw(termios& t)
{
    cfmakeraw(&t);
    // CLOCAL: a missing carrier must not block or hang up the port;
    // VMIN/VTIME 0: a read returns what is queued, never waits.
    t.c_cflag |= CLOCAL | CREAD;
    t.c_cc[VMIN] = 0;
    t.c_cc[VTIME] = 0;
}

bool ApplyLineSettings(termios& t, const LineSettings& settings)
{
    speed_t speed{};
    const bool standardSpeed = SpeedConstant(settings.baudRate, speed);
    if (standardSpeed) {
        cfsetispeed(&t, speed);
        cfsetospeed(&t, speed);
    }

    t.c_cflag = (t.c_cflag & ~CSIZE) | SizeFlag(settings.byteSize);
    t.c_cflag = (t.c_cflag & ~(PARENB | PARODD | CMSPAR)) | ParityFlags(settings.parity);
    SetFlag(t.c_iflag, INPCK, settings.parityCheck);
    // termios has no 1.5 stop bits: the UART sends 1.5 when CSTOPB meets 5 data bits.
    SetFlag(t.c_cflag, CSTOPB, settings.stopBits != StopBits::One);
    // One flag covers both halves of the RTS/CTS handshake.
    SetFlag(t.c_cflag, CRTSCTS, settings.rtsControl == RtsControl::Handshake || settings.ctsOutputFlow);
    SetFlag(t.c_iflag, IXON, settings.xonXoffOutput);
    SetFlag(t.c_iflag, IXOFF, settings.xonXoffInput);
    return standardSpeed;
}

LineSettings LineSettingsOf(const termios& t)
{
    LineSettings s;
    s.baudRate = BaudRateOf(cfgetospeed(&t));
    s.byteSize = ByteSizeOf(t.c_cflag);
    s.parity = ParityOf(t.c_cflag);
    s.parityCheck = t.c_iflag & INPCK;
    s.stopBits = (t.c_cflag & CSTOPB) ? StopBits::Two : StopBits::One;
    const bool handshake = t.c_cflag & CRTSCTS;
    s.rtsControl = handshake ? RtsControl::Handshake : RtsControl::Disable;
    s.ctsOutputFlow = handshake;
    s.xonXoffOutput = t.c_iflag & IXON;
    s.xonXoffInput = t.c_iflag & IXOFF;
    return s;
}

} // namespace serial
