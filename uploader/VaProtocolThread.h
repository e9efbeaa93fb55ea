#pragma once
// The worker of a transfer: owns the receive queue, counts errors, hands events to
// the GUI thread and ends the transfer with an exit code. The protocol steps live
// in the classes derived from it.
#include "ReceiveQueue.h"
#include "Vaprotocol.h"

#include <QThread>

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>

namespace uploader {

class TVaProtocolThread : public QThread {
public:
    TVaProtocolThread(TVaProtocol& owner, const TransferSettings& settings);

    // GUI thread.
    void PutBuf(const uint8_t* data, std::size_t count) { queue_.Put(data, count); }
    void Cancel() { queue_.Cancel(); }
    // The component is going away: no more writes to the port, no more events; the
    // worker wakes and ends at its next read or block.
    void MarkTerminated();

    int ErrorCode() const { return errorCode_.load(); }
    int ErrorCount() const { return errorCount_.load(); }

protected:
    // How SetExitCode unwinds the worker: not a std::exception, so that nothing on the
    // way mistakes it for a failure; every scope it leaves closes what it opened.
    struct TransferAbort {
        int exitCode;
    };

    void run() final; // the worker body

    // The next received byte; waits, counting an error -1 for every Timeout that
    // passes. 0 when cancelled (as a received 0x00 reads).
    virtual int ReadChar();
    virtual void Upload() = 0;
    virtual void Download() = 0;
    virtual void Initialize();
    virtual void RemoteCan() {}

    int PeekChar() const { return queue_.Peek(); }
    bool CancelRequested() const { return queue_.Cancelled(); }
    bool Terminated() const { return terminated_.load(); }

    // Stores the code as the component's exit code and unwinds the whole worker.
    [[noreturn]] void SetExitCode(int code);
    // Counts an error; at MaxErrors the transfer ends with -9 (after two CAN when
    // asked), otherwise OnError is raised.
    void ErrorEvent(int errorCode, bool canAtLimit);
    // Runs a handler on the GUI thread and waits for it; skipped once terminated.
    void Synchronize(const std::function<void()>& event);
    // Writes to the component's port; nothing once terminated or when detached.
    void WritePort(const uint8_t* data, std::size_t count);

    const TransferSettings& Settings() const { return settings_; }

private:
    TVaProtocol& owner_;
    const TransferSettings settings_;
    ReceiveQueue queue_;
    std::atomic<bool> terminated_{false};
    std::atomic<int> errorCode_{0};
    std::atomic<int> errorCount_{0};
};

} // namespace uploader
