#include "PipedPeer.h"

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <stdexcept>
#include <sys/wait.h>
#include <unistd.h>

namespace ymodem_test {
namespace {

bool WriteAll(int fd, const char* data, ssize_t size)
{
    while (size > 0) {
        const ssize_t n = ::write(fd, data, static_cast<size_t>(size));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        data += n;
        size -= n;
    }
    return true;
}

} // namespace

PipedPeer::PipedPeer(int masterFd, const std::vector<std::string>& argv, const std::string& workDir,
                     int bytesPerSecond)
    : bytesPerSecond_(bytesPerSecond)
{
    // A peer that has ended must not take the test down with SIGPIPE.
    std::signal(SIGPIPE, SIG_IGN);
    int in[2], out[2], stop[2];
    if (pipe2(in, O_CLOEXEC) != 0 || pipe2(out, O_CLOEXEC) != 0 || pipe2(stop, O_CLOEXEC) != 0)
        throw std::runtime_error("pipe failed");
    std::vector<char*> args;
    for (const auto& a : argv)
        args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    child_ = fork();
    if (child_ == 0) {
        // Only async-signal-safe calls between fork and exec.
        dup2(in[0], 0);
        dup2(out[1], 1);
        const int null = ::open("/dev/null", O_WRONLY);
        dup2(null, 2);
        if (chdir(workDir.c_str()) != 0)
            _exit(126);
        execv(args[0], args.data());
        _exit(127);
    }
    close(in[0]);
    close(out[1]);
    toChild_ = in[1];
    fromChild_ = out[0];
    stopRead_ = stop[0];
    stopWrite_ = stop[1];
    toChildRelay_ = std::thread([this, masterFd] { Relay(masterFd, toChild_, true); });
    fromChildRelay_ = std::thread([this, masterFd] { Relay(fromChild_, masterFd, false); });
}

PipedPeer::~PipedPeer()
{
    if (!Exited()) {
        kill(child_, SIGKILL);
        waitpid(child_, nullptr, 0);
    }
    [[maybe_unused]] const ssize_t n = ::write(stopWrite_, "x", 1);
    toChildRelay_.join();
    fromChildRelay_.join();
    close(fromChild_);
    close(stopRead_);
    close(stopWrite_);
}

bool PipedPeer::Exited()
{
    if (!exited_) {
        int status = 0;
        if (waitpid(child_, &status, WNOHANG) == child_) {
            exited_ = true;
            exitStatus_ = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
        }
    }
    return exited_;
}

void PipedPeer::Relay(int from, int to, bool closeTarget)
{
    using Clock = std::chrono::steady_clock;
    // Paced, a chunk leaves when a UART would have finished sending it; small chunks
    // keep the timing close to one byte after another.
    const ssize_t chunk = bytesPerSecond_ > 0 ? 16 : 4096;
    auto lineFree = Clock::now();
    char buffer[4096];
    for (;;) {
        pollfd fds[2] = {{from, POLLIN, 0}, {stopRead_, POLLIN, 0}};
        // Bytes already waiting queued up behind the previous ones: on a UART they
        // follow without a gap, however late this thread woke from its last pause.
        const bool backToBack = poll(fds, 2, 0) > 0 && (fds[0].revents & POLLIN);
        if (!backToBack && poll(fds, 2, -1) < 0) {
            if (errno == EINTR)
                continue;
            break;
        }
        if (fds[1].revents)
            break;
        const ssize_t n = ::read(from, buffer, static_cast<size_t>(chunk));
        if (n < 0 && (errno == EINTR || errno == EAGAIN))
            continue;
        if (n <= 0)
            break;
        if (bytesPerSecond_ > 0) {
            lineFree = (backToBack ? lineFree : std::max(lineFree, Clock::now())) +
                       std::chrono::nanoseconds(n * 1'000'000'000LL / bytesPerSecond_);
            std::this_thread::sleep_until(lineFree);
        }
        if (!WriteAll(to, buffer, n))
            break;
    }
    if (closeTarget)
        close(to);
}

} // namespace ymodem_test
