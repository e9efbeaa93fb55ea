#pragma once
// Line speeds that have no termios constant (14400, 56000, 128000, or any rate
// a flight controller's boot loader may use). Linux takes them through the
// termios2 interface; elsewhere they are refused.
#include <cstdint>

namespace serial {

// Sets both directions to the rate; false (errno set) where it cannot.
bool SetArbitrarySpeed(int fd, uint32_t baudRate);
// The output rate the driver holds, in bit/s; false where it cannot say.
bool ReadArbitrarySpeed(int fd, uint32_t& baudRate);

} // namespace serial
