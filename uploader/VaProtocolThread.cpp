#include "VaProtocolThread.h"

#include <algorithm>
#include <chrono>

namespace uploader {

TVaProtocolThread::TVaProtocolThread(TVaProtocol& owner, const TransferSettings& settings)
    : owner_(owner), settings_(settings),
      queue_(static_cast<std::size_t>(std::max(settings.bufferSize, 1)))
{
}

void TVaProtocolThread::MarkTerminated()
{
    terminated_ = true;
    queue_.Cancel();
}

void TVaProtocolThread::run()
{
    Initialize();
    try {
        if (settings_.mode == tmUpload)
            Upload();
        else
            Download();
    } catch (const TransferAbort&) {
        // the exit code is already stored
    } catch (...) {
        // Anything else is a failure of the sender itself; reporting it as success
        // would tell the user a firmware arrived that did not.
        RemoteCan();
        owner_.StoreExitCode(-3);
    }
    MarkTerminated();
}

void TVaProtocolThread::Initialize()
{
    // The queue starts empty when the worker is created. Bytes that arrive between
    // Execute and the start of this thread (the receiver's first start character)
    // are kept, not emptied away here.
    errorCode_ = 0;
    errorCount_ = 0;
}

int TVaProtocolThread::ReadChar()
{
    const auto timeout = std::chrono::milliseconds(std::max(settings_.timeoutMs, 0));
    while (!queue_.WaitReady(timeout))
        ErrorEvent(-1, false);
    if (queue_.Overflowed()) {
        RemoteCan();
        SetExitCode(-14);
    }
    if (queue_.Cancelled())
        return 0;
    return queue_.Take();
}

void TVaProtocolThread::SetExitCode(int code)
{
    owner_.StoreExitCode(code);
    throw TransferAbort{code};
}

void TVaProtocolThread::ErrorEvent(int errorCode, bool canAtLimit)
{
    const int count = ++errorCount_;
    errorCode_ = errorCode;
    // At or beyond the limit, so that a limit of 0 or less ends at the first error
    // instead of never.
    if (count >= settings_.maxErrors) {
        if (canAtLimit)
            RemoteCan();
        SetExitCode(-9);
    }
    Synchronize([&] { platform::Raise(owner_.OnError, &owner_, errorCode, count); });
}

void TVaProtocolThread::Synchronize(const std::function<void()>& event)
{
    if (Terminated())
        return;
    QMetaObject::invokeMethod(
        &owner_, [&] { owner_.RunEventFromWorker(event); }, Qt::BlockingQueuedConnection);
}

void TVaProtocolThread::WritePort(const uint8_t* data, std::size_t count)
{
    if (Terminated())
        return;
    // The result is not needed: a byte that did not go out shows as a missing reply.
    owner_.WriteFromWorker(data, static_cast<int>(count));
}

} // namespace uploader
