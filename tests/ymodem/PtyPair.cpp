#include "PtyPair.h"

#include <cerrno>
#include <poll.h>
#include <pty.h>
#include <stdexcept>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

namespace ymodem_test {

PtyPair::PtyPair()
{
    char name[256] = {};
    if (openpty(&master_, &slave_, name, nullptr, nullptr) != 0)
        throw std::runtime_error("openpty failed");
    slavePath_ = name;
    termios raw{};
    tcgetattr(slave_, &raw);
    cfmakeraw(&raw);
    tcsetattr(slave_, TCSANOW, &raw);
}

PtyPair::~PtyPair()
{
    close(master_);
    close(slave_);
}

void PtyPair::Write(const void* data, std::size_t size)
{
    const auto* bytes = static_cast<const uint8_t*>(data);
    while (size > 0) {
        const ssize_t n = ::write(master_, bytes, size);
        if (n < 0) {
            if (errno == EINTR || errno == EAGAIN)
                continue;
            throw std::runtime_error("write to pty master failed");
        }
        bytes += n;
        size -= static_cast<std::size_t>(n);
    }
}

int PtyPair::SlaveQueued() const
{
    int queued = 0;
    ioctl(slave_, FIONREAD, &queued);
    return queued;
}

int PtyPair::ReadByte(std::chrono::milliseconds timeout)
{
    if (next_ < pending_.size())
        return pending_[next_++];
    pollfd p{master_, POLLIN, 0};
    if (poll(&p, 1, static_cast<int>(timeout.count())) <= 0 || !(p.revents & POLLIN))
        return -1;
    pending_.resize(4096);
    const ssize_t n = ::read(master_, pending_.data(), pending_.size());
    pending_.resize(n > 0 ? static_cast<std::size_t>(n) : 0);
    next_ = 0;
    return next_ < pending_.size() ? pending_[next_++] : -1;
}

std::vector<uint8_t> PtyPair::ReadUntilQuiet(std::chrono::milliseconds quiet)
{
    std::vector<uint8_t> bytes;
    for (int c = ReadByte(quiet); c >= 0; c = ReadByte(quiet))
        bytes.push_back(static_cast<uint8_t>(c));
    return bytes;
}

} // namespace ymodem_test
