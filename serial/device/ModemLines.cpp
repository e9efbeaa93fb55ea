#include "ModemLines.h"

#include <sys/ioctl.h>

namespace serial {

uint32_t ModemStatusOf(int ttyLines)
{
    uint32_t status = 0;
    if (ttyLines & TIOCM_CTS)
        status |= ModemCtsOn;
    if (ttyLines & TIOCM_DSR)
        status |= ModemDsrOn;
    if (ttyLines & TIOCM_RNG)
        status |= ModemRingOn;
    if (ttyLines & TIOCM_CAR)
        status |= ModemRlsdOn;
    return status;
}

ModemLineChange ModemLineChangeOf(ModemControl control)
{
    switch (control) {
    case ModemControl::SetRts: return {TIOCM_RTS, true};
    case ModemControl::ClearRts: return {TIOCM_RTS, false};
    case ModemControl::SetDtr: return {TIOCM_DTR, true};
    case ModemControl::ClearDtr: return {TIOCM_DTR, false};
    }
    return {0, false};
}

} // namespace serial
