#include "Vaprotocol.h"

#include "Application.h"
#include "Exception.h"
#include "VaYModemThread.h"

#include <QCoreApplication>
#include <QDeadlineTimer>

namespace uploader {

// --- TVaProtocol ---

TVaProtocol::TVaProtocol(QObject* owner) : serial::TVaCommComponent(owner) {}

TVaProtocol::~TVaProtocol() { StopForDestruction(); }

void TVaProtocol::DataChanged(const uint8_t* data, int count)
{
    if (count > 0 && worker_)
        worker_->PutBuf(data, static_cast<std::size_t>(count));
}

void TVaProtocol::Execute()
{
    if (worker_)
        throw platform::Exception("Transfer already in progress...");
    Initialize();
    worker_ = CreateThread();
    // Queued: the end of the transfer is handled on the GUI thread, where the
    // component and its handlers live.
    connect(worker_.get(), &QThread::finished, this, [this] { Terminate(); },
            Qt::QueuedConnection);
    TransferStart();
    worker_->start(QThread::HighPriority);
}

void TVaProtocol::Cancel()
{
    if (worker_)
        worker_->Cancel();
}

int TVaProtocol::GetErrorCode() const { return worker_ ? worker_->ErrorCode() : 0; }

int TVaProtocol::GetErrorCount() const { return worker_ ? worker_->ErrorCount() : 0; }

void TVaProtocol::Initialize()
{
    exitCode_ = 0;
    CommPurgeReadWrite();
    SetActive(true);
}

void TVaProtocol::TransferStart()
{
    platform::RunGuarded([this] { platform::Raise(OnTransferStart, this); });
}

void TVaProtocol::TransferEnd(int exitCode)
{
    platform::RunGuarded([&] { platform::Raise(OnTransferEnd, this, exitCode); });
}

void TVaProtocol::Terminate()
{
    SetActive(false);
    if (destroying_ || !worker_)
        return;
    worker_->wait();
    worker_.reset();
    TransferEnd(exitCode_);
}

void TVaProtocol::RunEventFromWorker(const std::function<void()>& event)
{
    if (destroying_)
        return;
    platform::RunGuarded(event);
}

void TVaProtocol::StopForDestruction()
{
    destroying_ = true;
    if (!worker_)
        return;
    worker_->MarkTerminated();
    // The worker may be waiting for the GUI thread to run an event, and this is the
    // GUI thread: let those hand-overs through (they return at once now) until the
    // worker has finished.
    while (!worker_->wait(QDeadlineTimer(20)))
        QCoreApplication::sendPostedEvents(this, QEvent::MetaCall);
    worker_.reset();
}

// --- TVaXYModem ---

TVaXYModem::TVaXYModem(QObject* owner) : TVaProtocol(owner) {}

TVaXYModem::~TVaXYModem() { StopForDestruction(); }

// --- TVaYModem ---

TVaYModem::TVaYModem(QObject* owner) : TVaXYModem(owner) {}

TVaYModem::~TVaYModem() { StopForDestruction(); }

std::unique_ptr<TVaProtocolThread> TVaYModem::CreateThread()
{
    return std::make_unique<TVaYModemThread>(*this, Settings(), files_);
}

} // namespace uploader
