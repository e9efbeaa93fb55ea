#include "UploadFlow.h"

#include "Messages.h"

#include <algorithm>
#include <climits>
#include <cmath>

namespace uploader {

namespace {

const std::string ConnectText = "Connect";
const std::string DisconnectText = "DisConnect";

} // namespace

int ProgressPercent(int byteCount, int firmwareSize)
{
    if (firmwareSize == 0)
        return 100;
    // In this order and in extended precision, so that 1024 of 1500 bytes
    // reads 68 as the boot loader's users know it.
    const long double percent = std::trunc(static_cast<long double>(byteCount) / firmwareSize * 100);
    return static_cast<int>(std::clamp<long double>(percent, INT_MIN, INT_MAX));
}

UploadFlow::UploadFlow(QObject* owner, serial::PortDiscovery ports, serial::DeviceFactory devices)
    : platform::TComponent(owner), discovery_(std::move(ports))
{
    setObjectName(QStringLiteral("UploadFlow"));

    VaComm1 = new serial::TVaComm(this, std::move(devices));
    VaComm1->setObjectName(QStringLiteral("VaComm1"));
    VaComm1->OnRxChar = [this](TObject* sender, int count) { VaComm1RxChar(sender, count); };

    VaYModem1 = new TVaYModem(this);
    VaYModem1->setObjectName(QStringLiteral("VaYModem1"));
    VaYModem1->SetMode(tmUpload);
    VaYModem1->SetProtocol(YModem);
    VaYModem1->OnTransferStart = [this](TObject* sender) { VaYModem1TransferStart(sender); };
    VaYModem1->OnFileInfo = [this](TObject* sender, const QString& name, int size) {
        VaYModem1FileInfo(sender, name, size);
    };
    VaYModem1->OnPacketEvent = [this](TObject* sender, int packet, int byteCount) {
        VaYModem1PacketEvent(sender, packet, byteCount);
    };
    VaYModem1->OnError = [this](TObject* sender, int code, int count) {
        VaYModem1Error(sender, code, count);
    };
    VaYModem1->OnTransferEnd = [this](TObject* sender, int exitCode) {
        VaYModem1TransferEnd(sender, exitCode);
    };
}

UploadFlow::~UploadFlow()
{
    // A running upload is abandoned: the sender stops its worker before it goes,
    // and must go while the state its events would touch still exists.
    delete VaYModem1;
    delete VaComm1;
}

void UploadFlow::Log(const std::string& line) { platform::Raise(OnLog, this, line); }

// --- the port list ---

std::string UploadFlow::PortText() const
{
    return portIndex_ >= 0 ? ports_[static_cast<std::size_t>(portIndex_)] : std::string();
}

void UploadFlow::SetPortIndex(int index)
{
    if (index < 0 || index >= static_cast<int>(ports_.size()))
        index = -1;
    if (index == portIndex_)
        return;
    portIndex_ = index;
    platform::Raise(OnPortsChange, this);
}

void UploadFlow::FillPorts(const std::vector<std::string>& ports, int index)
{
    ports_ = ports;
    portIndex_ = ports_.empty() ? -1 : index;
    platform::Raise(OnPortsChange, this);
}

// Later activations (after a message box or the file dialog, or when the user
// comes back to the window) look again, because an adapter may have been
// plugged in meanwhile; appending would repeat every name and moving back to
// the first entry would throw the user's choice away.
void UploadFlow::FormActivate(TObject*)
{
    if (!activatedBefore_) {
        activatedBefore_ = true;
        FillPorts(discovery_.Scan(), 0);
        return;
    }
    const std::vector<std::string> ports = discovery_.Scan();
    if (ports == ports_)
        return;
    const auto kept = std::find(ports.begin(), ports.end(), PortText());
    FillPorts(ports, kept != ports.end() ? static_cast<int>(kept - ports.begin()) : 0);
}

void UploadFlow::ScanClick(TObject*) { FillPorts(discovery_.Scan(), 0); }

// --- the firmware file ---

bool UploadFlow::ChooseFirmware(const std::string& fullPath)
{
    if (fullPath.empty() || !CanChooseFirmware())
        return false;
    firmwarePath_ = fullPath;
    VaYModem1->Files().clear();
    VaYModem1->Files().append(QString::fromStdString(firmwarePath_));
    platform::Raise(OnFirmwareChange, this);
    return true;
}

// --- the connection ---

const std::string& UploadFlow::ConnectCaption() const
{
    return connected_ ? DisconnectText : ConnectText;
}

void UploadFlow::SetConnected(bool connected)
{
    connected_ = connected;
    platform::Raise(OnStateChange, this);
}

void UploadFlow::ConnectClick(TObject*)
{
    if (connected_) {
        SetConnected(false);
        VaComm1->Close();
        return;
    }
    if (PortText().empty())
        return;
    if (firmwarePath_.empty()) {
        platform::ShowMessageBox("No Firmware File\nPlease Open Firmware File", "Error",
                                 platform::MessageIcon::None);
        return;
    }
    SetConnected(true);
    OpenPortByName(PortText());
}

// "COM1" … "COM15" select the port by number as on Windows; any other name is
// a device (a USB adapter, a pseudo-terminal) opened by its path.
void UploadFlow::OpenPortByName(const std::string& name)
{
    if (const std::optional<int> number = serial::ComPortNumberOf(name))
        VaComm1->SetPortNum(*number);
    else
        VaComm1->SetDevicePath(serial::DevicePathOf(name));
    VaComm1->Open();
}

// --- the boot loader ---

// The boot loader's texts are whole reads: bytes split over two reads, or
// arriving with others, match nothing and are gone.
void UploadFlow::VaComm1RxChar(TObject*, int)
{
    const std::string text = VaComm1->ReadText();
    platform::Raise(OnBootLoaderText, this, text);
    if (text == BootLoaderStart) {
        Log("Got Flight Controller Signal!!");
        StartUpload();
    } else if (text == BootLoaderEmpty) {
        Log("Can't Find Any Firmware!!");
    } else if (text == BootLoaderReady) {
        Log("Start Upload Firmware!!");
        VaComm1->WriteChar(BootLoaderAnswer);
    }
}

// The "C" just read is not passed on: the sender purges the port and waits for
// the receiver's next start character.
void UploadFlow::StartUpload()
{
    VaYModem1->SetComm(VaComm1);
    SetUploading(true);
    try {
        VaYModem1->Execute();
    } catch (...) {
        // Never left attached without a transfer: the port would stay deaf.
        VaYModem1->SetComm(nullptr);
        SetUploading(false);
        throw;
    }
}

void UploadFlow::SetUploading(bool uploading)
{
    uploading_ = uploading;
    platform::Raise(OnStateChange, this);
}

// --- the upload ---

void UploadFlow::VaYModem1TransferStart(TObject*)
{
    Log("Firmware Transfer Starting...");
    gaugePercent_ = 0;
    platform::Raise(OnProgress, this);
}

void UploadFlow::VaYModem1FileInfo(TObject*, const QString& name, int size)
{
    Log("File:" + name.toStdString());
    Log("Size:" + std::to_string(size) + " bytes");
    firmwareSize_ = size;
}

void UploadFlow::VaYModem1PacketEvent(TObject*, int, int byteCount)
{
    const int percent = ProgressPercent(byteCount, firmwareSize_);
    gaugePercent_ = std::clamp(percent, 0, 100);
    percentText_ = std::to_string(percent) + "%";
    platform::Raise(OnProgress, this);
}

void UploadFlow::VaYModem1Error(TObject*, int errorCode, int errorCount)
{
    Log("Upload Error!! ErrCode:" + std::to_string(errorCode) + " ErrCnt:" + std::to_string(errorCount));
}

// Whatever the outcome, the port stays open and the boot loader is listened to
// again: a new "OK" or "C" starts over.
void UploadFlow::VaYModem1TransferEnd(TObject*, int exitCode)
{
    // Some failures end the transfer without a counted error (a garbled reply,
    // the boot loader cancelling): without this line the log of a failed upload
    // would read like the log of a good one.
    if (exitCode != 0)
        Log("Upload Failed!! ExitCode:" + std::to_string(exitCode));
    Log("Firmware Transfer Finished...");
    // An empty file has no data block whose event would report it sent.
    if (exitCode == 0 && firmwareSize_ == 0)
        VaYModem1PacketEvent(this, 0, 0);
    VaYModem1->SetComm(nullptr);
    SetUploading(false);
}

} // namespace uploader
