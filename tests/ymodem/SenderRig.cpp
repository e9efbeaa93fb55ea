#include "SenderRig.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QEventLoop>
#include <QTimer>

#include <random>

namespace ymodem_test {

SenderRig::SenderRig(const std::string& devicePath)
{
    comm.SetDevicePath(devicePath);
    comm.Open();
    sender.SetComm(&comm);
    sender.OnTransferStart = [this](platform::TObject*) { ++record.starts; };
    sender.OnTransferEnd = [this](platform::TObject*, int code) {
        ++record.ends;
        record.exitCode = code;
    };
    sender.OnError = [this](platform::TObject*, int code, int count) {
        record.errors.emplace_back(code, count);
    };
    sender.OnPacketEvent = [this](platform::TObject*, int packet, int bytes) {
        record.packets.emplace_back(packet, bytes);
    };
    sender.OnFileInfo = [this](platform::TObject*, const QString& name, int size) {
        record.files.emplace_back(name, size);
    };
}

bool SenderRig::WaitForEnd(std::chrono::milliseconds deadline)
{
    return RunEventsUntil([this] { return record.exitCode.has_value(); }, deadline);
}

bool RunEventsUntil(const std::function<bool()>& done, std::chrono::milliseconds deadline)
{
    const QDeadlineTimer timer(deadline);
    // Wakes the wait now and then for conditions that no event announces.
    QTimer wake;
    wake.start(20);
    while (!done()) {
        if (timer.hasExpired())
            return false;
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    return true;
}

std::vector<uint8_t> TestBytes(std::size_t size, unsigned seed)
{
    std::mt19937 random(seed);
    std::vector<uint8_t> bytes(size);
    for (auto& b : bytes)
        b = static_cast<uint8_t>(random());
    return bytes;
}

QString WriteFile(const QTemporaryDir& dir, const QString& name, const std::vector<uint8_t>& bytes)
{
    const QString path = dir.filePath(name);
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<qint64>(bytes.size()));
    return path;
}

std::vector<uint8_t> ReadWholeFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray all = file.readAll();
    return {all.begin(), all.end()};
}

} // namespace ymodem_test
