#pragma once
// What fwloader does, without its window: the port list, the firmware choice,
// connecting, the boot loader's handshake and the upload with its log and
// progress. The window only shows this state in its controls and forwards its
// clicks; a test, or a command-line flasher, can drive it without any widget.
//
// Everything runs on the GUI thread: the port raises OnRxChar there and the
// sender hands its events over to it.
#include "Component.h"
#include "PortDiscovery.h"
#include "VaComm.h"
#include "Vaprotocol.h"

#include <functional>
#include <string>
#include <vector>

namespace uploader {

using platform::TObject;

// The texts the boot loader sends and the one byte the uploader answers.
inline const char* const BootLoaderReady = "OK";
inline const char* const BootLoaderEmpty = "NO";
inline const char* const BootLoaderStart = "C";
inline const char BootLoaderAnswer = '1';

// The share of the firmware sent, in whole percent, cut toward zero. An empty
// firmware file has nothing left to send once its one block went out: 100.
int ProgressPercent(int byteCount, int firmwareSize);

using TLogEvent = std::function<void(TObject* sender, const std::string& line)>;
using TTextEvent = std::function<void(TObject* sender, const std::string& text)>;

class UploadFlow : public platform::TComponent {
    Q_OBJECT
public:
    explicit UploadFlow(QObject* owner, serial::PortDiscovery ports = serial::PortDiscovery(),
                        serial::DeviceFactory devices = serial::CreateSystemDevice);
    ~UploadFlow() override;

    // The port and the sender; the flow owns both.
    serial::TVaComm* VaComm1 = nullptr;
    TVaYModem* VaYModem1 = nullptr;

    // --- the port list ---
    const std::vector<std::string>& Ports() const { return ports_; }
    // The selected entry, -1 when none.
    int PortIndex() const { return portIndex_; }
    void SetPortIndex(int index);
    // The selected port's name, empty when nothing is selected.
    std::string PortText() const;
    // The window became active: the first time the list is filled; later the
    // list is brought up to date without repeating names or losing the choice.
    void FormActivate(TObject* sender);
    // "Scan": the list afresh, its first entry selected.
    void ScanClick(TObject* sender);

    // --- the firmware file ---
    const std::string& FirmwarePath() const { return firmwarePath_; }
    // A confirmed choice of the file dialog (a full path). Refused while an
    // upload runs, so that the path shown is always the path being sent.
    bool ChooseFirmware(const std::string& fullPath);
    bool CanChooseFirmware() const { return !Uploading(); }

    // --- the connection ---
    // "Connect" while closed, "DisConnect" after a connect attempt.
    const std::string& ConnectCaption() const;
    // Connects or disconnects. A port that cannot be opened raises its error
    // after the caption has changed, so the next click closes again.
    void ConnectClick(TObject* sender);

    // --- the upload ---
    bool Uploading() const { return uploading_; }
    int FirmwareSize() const { return firmwareSize_; }
    int GaugePercent() const { return gaugePercent_; }
    const std::string& PercentText() const { return percentText_; }

    // Handlers of the port's and the sender's events.
    void VaComm1RxChar(TObject* sender, int count);
    void VaYModem1TransferStart(TObject* sender);
    void VaYModem1FileInfo(TObject* sender, const QString& name, int size);
    void VaYModem1PacketEvent(TObject* sender, int packet, int byteCount);
    void VaYModem1Error(TObject* sender, int errorCode, int errorCount);
    void VaYModem1TransferEnd(TObject* sender, int exitCode);

    // --- what a view follows ---
    TLogEvent OnLog;                    // a line for the log
    platform::TNotifyEvent OnPortsChange;    // the list or its selection
    platform::TNotifyEvent OnFirmwareChange; // the chosen file
    platform::TNotifyEvent OnStateChange;    // the caption, or an upload began or ended
    platform::TNotifyEvent OnProgress;       // the gauge or the percentage text
    TTextEvent OnBootLoaderText;        // every text read while listening, matched or not

private:
    void Log(const std::string& line);
    void FillPorts(const std::vector<std::string>& ports, int index);
    void OpenPortByName(const std::string& name);
    void SetConnected(bool connected);
    void SetUploading(bool uploading);
    void StartUpload();

    serial::PortDiscovery discovery_;
    std::vector<std::string> ports_;
    int portIndex_ = -1;
    bool activatedBefore_ = false;

    std::string firmwarePath_;
    bool connected_ = false;
    bool uploading_ = false;
    int firmwareSize_ = 0;
    int gaugePercent_ = 0;
    std::string percentText_ = "0%";
};

} // namespace uploader
