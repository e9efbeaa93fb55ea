#include "YModemReceiver.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <fstream>
#include <iterator>
#include <stdexcept>

extern char** environ;

namespace fwloader_test {

namespace {

// Writes everything, waiting while a non-blocking descriptor is full. False
// when the other side is gone.
bool WriteAll(int fd, const uint8_t* data, std::size_t size)
{
    while (size > 0) {
        const ssize_t n = write(fd, data, size);
        if (n > 0) {
            data += n;
            size -= static_cast<std::size_t>(n);
        } else if (n < 0 && (errno == EAGAIN || errno == EINTR)) {
            pollfd p{fd, POLLOUT, 0};
            poll(&p, 1, 100);
        } else {
            return false;
        }
    }
    return true;
}

} // namespace

YModemReceiver::YModemReceiver(int lineFd) : line_(lineFd)
{
    // rb may be gone while the relay still holds bytes for it.
    signal(SIGPIPE, SIG_IGN);
    if (!folder_.isValid() || !logFolder_.isValid())
        throw std::runtime_error("no temporary folder for rb");
    int in[2];
    int out[2];
    if (pipe2(in, O_CLOEXEC) != 0 || pipe2(out, O_CLOEXEC) != 0)
        throw std::runtime_error("no pipes for rb");

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, in[0], 0);
    posix_spawn_file_actions_adddup2(&actions, out[1], 1);
    const QByteArray log = LogPath().toLocal8Bit();
    posix_spawn_file_actions_addopen(&actions, 2, log.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_addclose(&actions, lineFd);
    posix_spawn_file_actions_addchdir_np(&actions, folder_.path().toLocal8Bit().constData());
    char program[] = "rb";
    char verbose[] = "-vv";
    char* argv[] = {program, verbose, nullptr};
    const int spawned = posix_spawnp(&pid_, "rb", &actions, nullptr, argv, environ);
    posix_spawn_file_actions_destroy(&actions);
    close(in[0]);
    close(out[1]);
    toRb_ = in[1];
    fromRb_ = out[0];
    if (spawned != 0) {
        close(toRb_);
        close(fromRb_);
        throw std::runtime_error("cannot start rb (lrzsz)");
    }
}

void YModemReceiver::Attach()
{
    if (!relay_.joinable())
        relay_ = std::thread([this] { Relay(); });
}

YModemReceiver::~YModemReceiver()
{
    if (!finished_.load())
        kill(pid_, SIGKILL);
    stop_ = true;
    if (relay_.joinable())
        relay_.join();
    else
        waitpid(pid_, nullptr, 0);
    close(toRb_);
    close(fromRb_);
}

QString YModemReceiver::LogPath() const { return logFolder_.filePath(QStringLiteral("rb.log")); }

// Copies the line to rb and rb to the line until rb closes its output, then
// collects its exit status.
void YModemReceiver::Relay()
{
    uint8_t buffer[4096];
    while (!stop_.load()) {
        pollfd fds[2] = {{line_, POLLIN, 0}, {fromRb_, POLLIN, 0}};
        if (poll(fds, 2, 50) <= 0)
            continue;
        if (fds[0].revents & POLLIN) {
            const ssize_t n = read(line_, buffer, sizeof buffer);
            if (n > 0)
                WriteAll(toRb_, buffer, static_cast<std::size_t>(n));
        }
        if (fds[1].revents & (POLLIN | POLLHUP)) {
            const ssize_t n = read(fromRb_, buffer, sizeof buffer);
            if (n > 0)
                WriteAll(line_, buffer, static_cast<std::size_t>(n));
            else if (n == 0)
                break;
        }
    }
    int status = 0;
    if (waitpid(pid_, &status, 0) == pid_)
        exitStatus_ = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    finished_ = true;
}

std::vector<uint8_t> YModemReceiver::ReceivedFile(const std::string& name) const
{
    return ReadWholeFile(folder_.filePath(QString::fromStdString(name)).toStdString());
}

std::string YModemReceiver::Diagnostics() const
{
    const std::vector<uint8_t> text = ReadWholeFile(LogPath().toStdString());
    return std::string(text.begin(), text.end());
}

std::vector<uint8_t> ReadWholeFile(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

} // namespace fwloader_test
