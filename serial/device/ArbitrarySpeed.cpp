#include "ArbitrarySpeed.h"

#include <cerrno>

#if defined(__linux__)
// The kernel's termios2 header clashes with the C library's <termios.h> and
// <sys/ioctl.h>, so this file includes neither and declares ioctl itself.
#include <asm/ioctls.h>
#include <asm/termbits.h>
extern "C" int ioctl(int fd, unsigned long request, ...);
#endif

namespace serial {

#if defined(__linux__)

bool SetArbitrarySpeed(int fd, uint32_t baudRate)
{
    struct termios2 t{};
    if (ioctl(fd, TCGETS2, &t) != 0)
        return false;
    t.c_cflag = (t.c_cflag & ~CBAUD) | BOTHER;
    t.c_ispeed = baudRate;
    t.c_ospeed = baudRate;
    return ioctl(fd, TCSETS2, &t) == 0;
}

bool ReadArbitrarySpeed(int fd, uint32_t& baudRate)
{
    struct termios2 t{};
    if (ioctl(fd, TCGETS2, &t) != 0)
        return false;
    baudRate = t.c_ospeed;
    return true;
}

#else

bool SetArbitrarySpeed(int, uint32_t)
{
    errno = EINVAL;
    return false;
}

bool ReadArbitrarySpeed(int, uint32_t&)
{
    errno = EINVAL;
    return false;
}

#endif

} // namespace serial
