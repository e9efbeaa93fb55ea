#pragma once
// The YMODEM sender as a component: TVaYModem sends the paths of Files to the
// receiver on its Comm port. The protocol runs on a worker thread (VaProtocolThread.h);
// the component lives on the GUI thread, feeds the worker what the port receives and
// raises the events there, while the worker waits for each handler to finish.
#include "VaComm.h"

#include <QStringList>

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>

namespace uploader {

class TVaProtocolThread;

enum TVaTransferMode { tmUpload = 0, tmDownload = 1 };
enum TVaYProtocol { YModem = 0, YModemG = 1 };

using TVaTransferEndEvent = std::function<void(platform::TObject* sender, int exitCode)>;
using TVaTransferErrorEvent =
    std::function<void(platform::TObject* sender, int errorCode, int errorCount)>;
using TVaFileInfoEvent =
    std::function<void(platform::TObject* sender, const QString& name, int size)>;
using TVaPacketEvent = std::function<void(platform::TObject* sender, int packet, int byteCount)>;

// What a worker is given when it is created; later changes to the component's
// properties do not reach a running transfer.
struct TransferSettings {
    TVaTransferMode mode = tmUpload;
    int timeoutMs = 60000;
    int maxErrors = 10;
    int bufferSize = 4096;
};

class TVaProtocol : public serial::TVaCommComponent {
    Q_OBJECT
public:
    explicit TVaProtocol(QObject* owner = nullptr);
    ~TVaProtocol() override;

    TVaTransferMode Mode() const { return settings_.mode; }
    void SetMode(TVaTransferMode mode) { settings_.mode = mode; }
    int Timeout() const { return settings_.timeoutMs; }
    void SetTimeout(int milliseconds) { settings_.timeoutMs = milliseconds; }
    int MaxErrors() const { return settings_.maxErrors; }
    void SetMaxErrors(int count) { settings_.maxErrors = count; }
    int BufferSize() const { return settings_.bufferSize; }
    void SetBufferSize(int bytes) { settings_.bufferSize = bytes; }

    platform::TNotifyEvent OnTransferStart;
    TVaTransferEndEvent OnTransferEnd;
    TVaTransferErrorEvent OnError;

    // Received bytes (GUI thread): queued for the running worker, dropped when idle.
    void DataChanged(const uint8_t* data, int count) override;

    // Starts a transfer and returns at once; raises platform::Exception while one runs.
    virtual void Execute();
    // Asks the running worker to stop (exit code -3); nothing when idle.
    virtual void Cancel();

    bool GetIsActive() const { return worker_ != nullptr; }
    int GetErrorCode() const;
    int GetErrorCount() const;
    int ExitCode() const { return exitCode_.load(); }

protected:
    virtual std::unique_ptr<TVaProtocolThread> CreateThread() = 0;
    virtual void TransferStart();
    virtual void TransferEnd(int exitCode);
    virtual void Initialize();

    const TransferSettings& Settings() const { return settings_; }

    // Stops a running worker without raising OnTransferEnd and waits until it has
    // finished. Every class that holds state the events read calls it first in its
    // destructor, so no handler ever runs on a half-destroyed component.
    void StopForDestruction();

private:
    friend class TVaProtocolThread;
    // Worker side: runs a handler on the GUI thread and waits for it; the handler's
    // exceptions are shown by the error report and stay there.
    void RunEventFromWorker(const std::function<void()>& event);
    void StoreExitCode(int code) { exitCode_.store(code); }
    void WriteFromWorker(const uint8_t* data, int count) { CommWriteBuf(data, count); }
    void Terminate(); // GUI thread, after the worker finished

    TransferSettings settings_;
    std::unique_ptr<TVaProtocolThread> worker_;
    std::atomic<int> exitCode_{0};
    bool destroying_ = false;
};

// Adds the per-file and per-block events of the XMODEM family.
class TVaXYModem : public TVaProtocol {
    Q_OBJECT
public:
    explicit TVaXYModem(QObject* owner = nullptr);
    ~TVaXYModem() override;

    TVaFileInfoEvent OnFileInfo;
    TVaPacketEvent OnPacketEvent;
};

class TVaYModem : public TVaXYModem {
    Q_OBJECT
public:
    explicit TVaYModem(QObject* owner = nullptr);
    ~TVaYModem() override;

    // Full paths to send, in order. A transfer sends the list as it was at Execute.
    QStringList& Files() { return files_; }
    void SetFiles(const QStringList& files) { files_ = files; }
    // Only the receiving side, which this system does not use, reads these two.
    TVaYProtocol Protocol() const { return protocol_; }
    void SetProtocol(TVaYProtocol protocol) { protocol_ = protocol; }
    const QString& TargetFolder() const { return targetFolder_; }
    void SetTargetFolder(const QString& folder) { targetFolder_ = folder; }

protected:
    std::unique_ptr<TVaProtocolThread> CreateThread() override;

private:
    QStringList files_;
    TVaYProtocol protocol_ = YModem;
    QString targetFolder_;
};

} // namespace uploader
