#pragma once
// The tool's end of the simulator's line: the slave of the pseudo-terminal, opened
// through the simulator's link as flightdesk or fwloader would open it.
#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace simtest {

class ToolSide {
public:
    explicit ToolSide(const std::string& path) : fd_(::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK)) {}
    ~ToolSide() { close(); }
    ToolSide(const ToolSide&) = delete;
    ToolSide& operator=(const ToolSide&) = delete;

    bool isOpen() const { return fd_ >= 0; }
    void close()
    {
        if (fd_ >= 0)
            ::close(fd_);
        fd_ = -1;
    }

    void write(const std::vector<uint8_t>& bytes) const
    {
        std::size_t done = 0;
        while (done < bytes.size()) {
            const ssize_t put = ::write(fd_, bytes.data() + done, bytes.size() - done);
            if (put > 0)
                done += static_cast<std::size_t>(put);
            else
                waitWritable();
        }
    }
    void write(const std::string& text) const { write(std::vector<uint8_t>(text.begin(), text.end())); }

    // Reads until done(everything read so far) holds or the deadline passes; returns what was read.
    std::vector<uint8_t> readUntil(const std::function<bool(const std::vector<uint8_t>&)>& done,
                                   std::chrono::milliseconds timeout = std::chrono::seconds(10)) const
    {
        std::vector<uint8_t> received;
        const auto until = std::chrono::steady_clock::now() + timeout;
        while (!done(received) && std::chrono::steady_clock::now() < until) {
            pollfd p{fd_, POLLIN, 0};
            if (::poll(&p, 1, 20) <= 0)
                continue;
            uint8_t buffer[4096];
            const ssize_t got = ::read(fd_, buffer, sizeof buffer);
            if (got > 0)
                received.insert(received.end(), buffer, buffer + got);
        }
        return received;
    }

    std::string readText(const std::string& wanted, std::chrono::milliseconds timeout = std::chrono::seconds(10)) const
    {
        const auto bytes = readUntil(
            [&](const std::vector<uint8_t>& r) { return std::string(r.begin(), r.end()).find(wanted) != std::string::npos; },
            timeout);
        return std::string(bytes.begin(), bytes.end());
    }

private:
    void waitWritable() const
    {
        pollfd p{fd_, POLLOUT, 0};
        ::poll(&p, 1, 20);
    }

    int fd_;
};

} // namespace simtest
