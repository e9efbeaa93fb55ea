#include "PtyEndpoint.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

#include <climits>

namespace sim {

namespace {

std::string SystemError(const std::string& what)
{
    return what + ": " + std::strerror(errno);
}

std::string ReadLink(const std::string& path)
{
    char target[PATH_MAX];
    const ssize_t length = ::readlink(path.c_str(), target, sizeof target - 1);
    return length < 0 ? std::string() : std::string(target, static_cast<std::size_t>(length));
}

} // namespace

PtyEndpoint::~PtyEndpoint()
{
    close();
}

bool PtyEndpoint::open(const std::string& linkPath, std::string& error)
{
    close();
    int slave = -1;
    char name[PATH_MAX];
    if (::openpty(&master_, &slave, name, nullptr, nullptr) != 0) {
        error = SystemError("cannot open a pseudo-terminal");
        master_ = -1;
        return false;
    }
    slavePath_ = name;
    // Raw before the slave is let go, so that no tool ever sees a cooked line.
    makeRaw();
    ::close(slave);
    ::fcntl(master_, F_SETFL, ::fcntl(master_, F_GETFL) | O_NONBLOCK);
    ::fcntl(master_, F_SETFD, FD_CLOEXEC);
    if (!linkPath.empty() && !createLink(linkPath, error)) {
        close();
        return false;
    }
    return true;
}

bool PtyEndpoint::createLink(const std::string& linkPath, std::string& error)
{
    struct stat existing {};
    if (::lstat(linkPath.c_str(), &existing) == 0 && !S_ISLNK(existing.st_mode)) {
        error = linkPath + " exists and is not a link; choose another path with --link";
        return false;
    }
    // Link under a private name, then rename over the path: a stale link from an
    // earlier run is replaced in one step.
    const std::string temporary = linkPath + ".new" + std::to_string(::getpid());
    ::unlink(temporary.c_str());
    if (::symlink(slavePath_.c_str(), temporary.c_str()) != 0) {
        error = SystemError("cannot create the link " + linkPath);
        return false;
    }
    if (::rename(temporary.c_str(), linkPath.c_str()) != 0) {
        error = SystemError("cannot create the link " + linkPath);
        ::unlink(temporary.c_str());
        return false;
    }
    linkPath_ = linkPath;
    return true;
}

void PtyEndpoint::close()
{
    // Another simulator may have taken the path over since; its link stays.
    if (!linkPath_.empty() && ReadLink(linkPath_) == slavePath_)
        ::unlink(linkPath_.c_str());
    linkPath_.clear();
    if (master_ >= 0)
        ::close(master_);
    master_ = -1;
    slavePath_.clear();
}

void PtyEndpoint::makeRaw()
{
    termios settings {};
    if (::tcgetattr(master_, &settings) != 0)
        return;
    ::cfmakeraw(&settings);
    ::cfsetispeed(&settings, B115200);
    ::cfsetospeed(&settings, B115200);
    ::tcsetattr(master_, TCSANOW, &settings);
}

bool PtyEndpoint::peerPresent() const
{
    pollfd probe {master_, POLLIN, 0};
    return master_ >= 0 && ::poll(&probe, 1, 0) >= 0 && !(probe.revents & POLLHUP);
}

PtyEndpoint::Event PtyEndpoint::wait(int timeoutMs, int wakeFd) const
{
    pollfd fds[2];
    nfds_t count = 0;
    if (wakeFd >= 0)
        fds[count++] = {wakeFd, POLLIN, 0};
    const bool watchLine = peerPresent();
    if (watchLine)
        fds[count++] = {master_, POLLIN, 0};
    const int ready = ::poll(fds, count, timeoutMs);
    if (ready <= 0)
        return Event::Timeout;
    if (wakeFd >= 0 && (fds[0].revents & POLLIN))
        return Event::Woken;
    return watchLine ? Event::Input : Event::Timeout;
}

std::size_t PtyEndpoint::read(uint8_t* buffer, std::size_t capacity)
{
    const ssize_t got = ::read(master_, buffer, capacity);
    // EAGAIN: nothing waiting; EIO: the tool closed the line meanwhile.
    return got > 0 ? static_cast<std::size_t>(got) : 0;
}

std::size_t PtyEndpoint::write(const uint8_t* data, std::size_t length)
{
    const ssize_t put = ::write(master_, data, length);
    return put > 0 ? static_cast<std::size_t>(put) : 0;
}

} // namespace sim
