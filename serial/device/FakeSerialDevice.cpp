#include "FakeSerialDevice.h"

#include <algorithm>
#include <chrono>

namespace serial {

void FakeLine::feed(const std::vector<uint8_t>& bytes)
{
    {
        std::lock_guard lock(mutex);
        input.insert(input.end(), bytes.begin(), bytes.end());
    }
    changed.notify_all();
}

void FakeLine::vanish()
{
    {
        std::lock_guard lock(mutex);
        gone = true;
    }
    changed.notify_all();
}

std::size_t FakeLine::count(FakeCall call) const
{
    std::lock_guard lock(mutex);
    return static_cast<std::size_t>(std::count(calls.begin(), calls.end(), call));
}

std::vector<uint8_t> FakeLine::written() const
{
    std::lock_guard lock(mutex);
    std::vector<uint8_t> all;
    for (const auto& w : writes)
        all.insert(all.end(), w.begin(), w.end());
    return all;
}

FakeSerialDevice::FakeSerialDevice(std::shared_ptr<FakeLine> line) : line_(std::move(line)) {}

bool FakeSerialDevice::enter(FakeCall call, bool needsOpen)
{
    line_->calls.push_back(call);
    if (line_->failing.count(call) || (needsOpen && !line_->open)) {
        lastError_ = line_->failError;
        return false;
    }
    return true;
}

bool FakeSerialDevice::open(const std::string& deviceName)
{
    std::lock_guard lock(line_->mutex);
    line_->openedNames.push_back(deviceName);
    if (!enter(FakeCall::Open, false))
        return false;
    line_->open = true;
    line_->interrupted = false;
    return true;
}

void FakeSerialDevice::close()
{
    {
        std::lock_guard lock(line_->mutex);
        if (!line_->open)
            return;
        line_->calls.push_back(FakeCall::Close);
        line_->open = false;
    }
    line_->changed.notify_all();
}

bool FakeSerialDevice::isOpen() const
{
    std::lock_guard lock(line_->mutex);
    return line_->open;
}

int FakeSerialDevice::lastError() const { return lastError_; }

std::string FakeSerialDevice::lastErrorText() const
{
    std::lock_guard lock(line_->mutex);
    return line_->failText;
}

bool FakeSerialDevice::setupQueues(uint32_t, uint32_t)
{
    std::lock_guard lock(line_->mutex);
    return enter(FakeCall::SetupQueues);
}

bool FakeSerialDevice::purge(uint32_t purgeFlags)
{
    std::lock_guard lock(line_->mutex);
    if (!enter(FakeCall::Purge))
        return false;
    line_->purges.push_back(purgeFlags);
    if (purgeFlags & (PurgeRxAbort | PurgeRxClear))
        line_->input.clear();
    return true;
}

bool FakeSerialDevice::getLineSettings(LineSettings& settings)
{
    std::lock_guard lock(line_->mutex);
    if (!enter(FakeCall::GetLineSettings))
        return false;
    settings = line_->driverSettings;
    return true;
}

bool FakeSerialDevice::setLineSettings(const LineSettings& settings)
{
    std::lock_guard lock(line_->mutex);
    if (!enter(FakeCall::SetLineSettings))
        return false;
    line_->appliedSettings.push_back(settings);
    line_->driverSettings = settings;
    return true;
}

bool FakeSerialDevice::setModemControl(ModemControl control)
{
    std::lock_guard lock(line_->mutex);
    if (!enter(FakeCall::SetModemControl))
        return false;
    line_->modemControls.push_back(control);
    switch (control) {
    case ModemControl::SetDtr: line_->dtr = true; break;
    case ModemControl::ClearDtr: line_->dtr = false; break;
    case ModemControl::SetRts: line_->rts = true; break;
    case ModemControl::ClearRts: line_->rts = false; break;
    }
    return true;
}

bool FakeSerialDevice::clearError(uint32_t& errorFlags, uint32_t& inputQueued)
{
    std::lock_guard lock(line_->mutex);
    if (!enter(FakeCall::ClearError))
        return false;
    errorFlags = line_->pendingErrors;
    line_->pendingErrors = 0;
    inputQueued = static_cast<uint32_t>(line_->input.size());
    return true;
}

bool FakeSerialDevice::modemStatus(uint32_t& statusBits)
{
    std::lock_guard lock(line_->mutex);
    if (!enter(FakeCall::ModemStatus))
        return false;
    statusBits = line_->modemLines;
    return true;
}

bool FakeSerialDevice::read(uint8_t* buffer, uint32_t count, uint32_t& bytesRead)
{
    std::lock_guard lock(line_->mutex);
    bytesRead = 0;
    line_->readRequests.push_back(count);
    if (!enter(FakeCall::Read))
        return false;
    std::size_t n = std::min<std::size_t>(count, line_->input.size());
    if (line_->readLimit)
        n = std::min<std::size_t>(n, *line_->readLimit);
    std::copy_n(line_->input.begin(), n, buffer);
    line_->input.erase(line_->input.begin(), line_->input.begin() + static_cast<std::ptrdiff_t>(n));
    bytesRead = static_cast<uint32_t>(n);
    return true;
}

bool FakeSerialDevice::write(const uint8_t* data, uint32_t length, uint32_t& bytesWritten)
{
    std::lock_guard lock(line_->mutex);
    bytesWritten = 0;
    if (!enter(FakeCall::Write))
        return false;
    line_->writes.emplace_back(data, data + length);
    bytesWritten = length;
    return true;
}

WaitResult FakeSerialDevice::waitForInput(int timeoutMs)
{
    std::unique_lock lock(line_->mutex);
    line_->calls.push_back(FakeCall::WaitForInput);
    const auto settled = [this] {
        return !line_->input.empty() || line_->interrupted || line_->gone || !line_->open;
    };
    if (timeoutMs < 0)
        line_->changed.wait(lock, settled);
    else if (!line_->changed.wait_for(lock, std::chrono::milliseconds(timeoutMs), settled))
        return WaitResult::TimedOut;
    if (line_->interrupted) {
        line_->interrupted = false;
        return WaitResult::Interrupted;
    }
    if (!line_->input.empty())
        return WaitResult::Readable;
    return WaitResult::Gone;
}

void FakeSerialDevice::interruptWait()
{
    {
        std::lock_guard lock(line_->mutex);
        line_->interrupted = true;
    }
    line_->changed.notify_all();
}

} // namespace serial
