#include "SerialDevice.h"

namespace serial {

std::string ComPortDeviceName(int n)
{
#ifdef _WIN32
    // The \\.\ prefix is what makes COM10 and above openable; it works for COM1..9 too.
    return "\\\\.\\COM" + std::to_string(n);
#else
    // The on-board UARTs keep the DOS numbering shifted by one: COM1 is ttyS0.
    return "/dev/ttyS" + std::to_string(n - 1);
#endif
}

} // namespace serial
