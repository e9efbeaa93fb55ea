#include "PtyPair.h"

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <stdexcept>

namespace serialtest {

PtyPair::PtyPair()
{
    char name[256] = {};
    if (openpty(&master_, &slave_, name, nullptr, nullptr) != 0)
        throw std::runtime_error("openpty failed");
    slavePath_ = name;
    fcntl(master_, F_SETFL, fcntl(master_, F_GETFL) | O_NONBLOCK);
}

PtyPair::~PtyPair()
{
    closeMaster();
    if (slave_ >= 0)
        close(slave_);
}

void PtyPair::closeMaster()
{
    if (master_ >= 0)
        close(master_);
    master_ = -1;
}

void PtyPair::writeMaster(const std::vector<uint8_t>& bytes)
{
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = write(master_, bytes.data() + done, bytes.size() - done);
        if (n > 0)
            done += static_cast<std::size_t>(n);
        else {
            pollfd p{master_, POLLOUT, 0};
            if (poll(&p, 1, 10000) <= 0)
                throw std::runtime_error("pty master does not take bytes");
        }
    }
}

std::vector<uint8_t> PtyPair::readMaster(std::size_t count, std::chrono::milliseconds deadline)
{
    std::vector<uint8_t> got;
    const auto end = std::chrono::steady_clock::now() + deadline;
    while (got.size() < count) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(end - std::chrono::steady_clock::now());
        if (left.count() <= 0)
            break;
        pollfd p{master_, POLLIN, 0};
        if (poll(&p, 1, static_cast<int>(left.count())) <= 0)
            break;
        uint8_t buffer[4096];
        const ssize_t n = read(master_, buffer, std::min(sizeof buffer, count - got.size()));
        if (n > 0)
            got.insert(got.end(), buffer, buffer + n);
        else if (n == 0 || (errno != EAGAIN && errno != EINTR))
            break;
    }
    return got;
}

std::vector<uint8_t> AllByteValues()
{
    std::vector<uint8_t> bytes;
    for (int i = 0; i < 256; ++i)
        bytes.push_back(static_cast<uint8_t>(i));
    return bytes;
}

} // namespace serialtest
