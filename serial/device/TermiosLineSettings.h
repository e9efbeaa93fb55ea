#pragma once
// The mapping between the device layer's line settings and a termios record.
// Pure functions, so the mapping can be checked without a device.
#include "SerialDevice.h"

#include <termios.h>

namespace serial {

// The termios speed constant for a rate in bit/s; false for a rate the
// interface has no constant for.
bool SpeedConstant(uint32_t baudRate, speed_t& speed);
uint32_t BaudRateOf(speed_t speed);

// Raw mode: bytes pass unchanged both ways, reads return what is queued at once,
// the modem lines do not gate reception.
void MakeRaw(termios& t);

// Changes only the fields the settings name. A speed without a termios
// constant is left as it was (false): the caller sets it another way.
bool ApplyLineSettings(termios& t, const LineSettings& settings);

// The settings a termios record stands for (baudRate 0: a speed without a
// constant, which the record cannot tell). RTS "held on" is not a termios
// state, so rtsControl reads back as Disable or Handshake; 1.5 stop bits read
// back as two (one CSTOPB flag covers both).
LineSettings LineSettingsOf(const termios& t);

} // namespace serial
