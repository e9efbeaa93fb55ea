#pragma once
// The mapping between the tty modem-line bits (TIOCM_*) and the device layer's
// modem status bits and control requests.
#include "SerialDevice.h"

namespace serial {

uint32_t ModemStatusOf(int ttyLines);

// The line a control request moves, and whether it raises it.
struct ModemLineChange {
    int ttyLine;
    bool raise;
};
ModemLineChange ModemLineChangeOf(ModemControl control);

} // namespace serial
