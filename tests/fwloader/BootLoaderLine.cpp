#include "BootLoaderLine.h"

#include <QTest>

#include <unistd.h>

#include <cerrno>

namespace fwloader_test {

bool WaitFor(const std::function<bool()>& condition, std::chrono::milliseconds deadline)
{
    return QTest::qWaitFor(condition, static_cast<int>(deadline.count()));
}

void BootLoaderLine::Say(const std::string& text)
{
    pty_.writeMaster(std::vector<uint8_t>(text.begin(), text.end()));
}

std::string BootLoaderLine::Heard(std::size_t count, std::chrono::milliseconds deadline)
{
    std::string heard;
    auto readWaiting = [&] {
        char buffer[256];
        ssize_t n;
        while ((n = read(pty_.master(), buffer, sizeof buffer)) > 0)
            heard.append(buffer, static_cast<std::size_t>(n));
        return heard.size() >= count;
    };
    WaitFor(readWaiting, deadline);
    return heard;
}

std::unique_ptr<YModemReceiver> BootLoaderLine::StartReceiver()
{
    return std::make_unique<YModemReceiver>(pty_.master());
}

} // namespace fwloader_test
