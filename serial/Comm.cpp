#include "Comm.h"

#include "Application.h"
#include "Messages.h"

#include <QPointer>
#include <QTimer>

#include <algorithm>

namespace serial {
namespace {

constexpr const char* kErrorOpening = "Error opening serial port";
constexpr const char* kCannotSetupBuffer = "Cannot setup comm buffer";
constexpr const char* kAlreadyOpen = "COM Port has been opened!";
constexpr const char* kNotOpen = "COM Port is not opened yet!";

constexpr uint32_t kPurgeAll = PurgeTxAbort | PurgeRxAbort | PurgeTxClear | PurgeRxClear;

// A component destroyed while its port is open leaves the port open, as the
// programs expect; the device is kept here, reachable, until the process ends.
std::vector<std::unique_ptr<SerialDevice>>& PortsLeftOpen()
{
    static std::vector<std::unique_ptr<SerialDevice>> ports;
    return ports;
}

struct ModemLine {
    uint32_t statusBit;
    uint32_t eventBit;
    bool TComm::*flag;
};

} // namespace

TComm::TComm(QObject* owner, SerialDeviceFactory deviceFactory)
    : platform::TComponent(owner), deviceFactory_(std::move(deviceFactory)), timer_(new QTimer(this))
{
    device_ = deviceFactory_();
    timer_->setInterval(PollIntervalMs);
    connect(timer_, &QTimer::timeout, this, [this] { ProcTimer(); });
}

TComm::~TComm()
{
    if (HandleOpen())
        PortsLeftOpen().push_back(std::move(device_));
}

void TComm::SetDeviceFactory(SerialDeviceFactory deviceFactory)
{
    SetPortOpen(false);
    deviceFactory_ = std::move(deviceFactory);
    device_ = deviceFactory_();
}

bool TComm::Polling() const { return timer_->isActive(); }

// --- opening and closing ---

void TComm::SetPortOpen(bool open)
{
    if (!open) {
        timer_->stop();
        CloseComm();
        return;
    }
    if (openFlag_) {
        // The port is already open and polled; a second request changes nothing.
        platform::ShowMessage(kAlreadyOpen);
        return;
    }
    timer_->stop();
    OpenComm();
}

std::string TComm::DeviceName() const
{
    return useDevicePath_ ? devicePath_ : ComPortDeviceName(static_cast<int>(commPort_) + 1);
}

void TComm::SetCommPort(TComPortNumber port)
{
    commPort_ = port;
    useDevicePath_ = false;
}

void TComm::SetDevicePath(const std::string& path)
{
    devicePath_ = path;
    useDevicePath_ = true;
}

void TComm::OpenComm()
{
    if (!device_->open(DeviceName())) {
        // Nothing to poll: stay closed rather than carry on with no port, so no
        // later call pretends to work. The system's reason helps the user more
        // than the fixed text alone.
        std::string text = kErrorOpening;
        const std::string reason = device_->lastErrorText();
        if (!reason.empty())
            text += "\n" + reason;
        platform::ShowMessage(text);
        return;
    }
    if (!device_->setupQueues(ReceiveBufferSize, ReceiveBufferSize))
        platform::ShowMessage(kCannotSetupBuffer); // the driver's own queue sizes will do
    device_->purge(kPurgeAll);
    ApplyLineSettings();
    dtr_ = true;
    device_->setModemControl(ModemControl::SetDtr);
    device_->setModemControl(rts_ ? ModemControl::SetRts : ModemControl::ClearRts);
    openFlag_ = true;
    timer_->start();
}

void TComm::CloseComm()
{
    if (!HandleOpen())
        return;
    device_->close();
    openFlag_ = false;
}

// --- line configuration ---

void TComm::ApplyLineSettings()
{
    // Start from what the driver holds, so the settings this component does not
    // own (DTR control, XON/XOFF characters and limits) stay as they are.
    LineSettings s;
    device_->getLineSettings(s);
    s.baudRate = static_cast<uint32_t>(baudRate_);
    s.parity = static_cast<serial::Parity>(parity_);
    parityInUse_ = parity_ != TParity::None;
    if (parityInUse_)
        s.parityCheck = false;
    switch (hwHandShaking_) {
    case THwHandShaking::hhNone: s.rtsControl = RtsControl::Disable; break;
    case THwHandShaking::hhNoneRTSON: s.rtsControl = RtsControl::Enable; break;
    case THwHandShaking::hhRTSCTS:
        s.rtsControl = RtsControl::Handshake;
        s.ctsOutputFlow = true;
        break;
    }
    if (swHandShaking_ == TSwHandShaking::shXonXoff)
        s.xonXoffOutput = s.xonXoffInput = true;
    s.byteSize = static_cast<uint8_t>(static_cast<int>(dataBits_) + 5);
    s.stopBits = static_cast<serial::StopBits>(stopBits_);
    device_->setLineSettings(s);
}

template <typename T>
void TComm::SetAndReapply(T& field, T value)
{
    if (field == value)
        return;
    field = value;
    if (HandleOpen())
        ApplyLineSettings();
}

void TComm::SetBaudRate(TBaudRate rate) { SetAndReapply(baudRate_, rate); }
void TComm::SetHwHandShaking(THwHandShaking value) { SetAndReapply(hwHandShaking_, value); }
void TComm::SetSwHandShaking(TSwHandShaking value) { SetAndReapply(swHandShaking_, value); }
void TComm::SetDataBits(TDataBits value) { SetAndReapply(dataBits_, value); }
void TComm::SetParity(TParity value) { SetAndReapply(parity_, value); }
void TComm::SetStopBits(TStopBits value) { SetAndReapply(stopBits_, value); }

// --- modem lines ---

void TComm::SetDTRStatus(bool on)
{
    dtr_ = on;
    if (HandleOpen())
        device_->setModemControl(on ? ModemControl::SetDtr : ModemControl::ClearDtr);
}

void TComm::SetRTSStatus(bool on)
{
    rts_ = on;
    if (HandleOpen())
        device_->setModemControl(on ? ModemControl::SetRts : ModemControl::ClearRts);
}

void TComm::GetModemState()
{
    if (!HandleOpen())
        platform::ShowMessage(kNotOpen);
    uint32_t status = 0;
    if (!device_->modemStatus(status))
        return; // no modem lines to read (a pty): nothing changes
    static constexpr ModemLine kLines[] = {
        {ModemRlsdOn, EvRlsd, &TComm::cd_},
        {ModemDsrOn, EvDsr, &TComm::dsr_},
        {ModemRingOn, EvRing, &TComm::ri_},
        {ModemCtsOn, EvCts, &TComm::cts_},
    };
    for (const ModemLine& line : kLines) {
        const bool on = status & line.statusBit;
        bool& flag = this->*line.flag;
        if (on && !flag)
            commEvent_ += line.eventBit;
        else if (!on && flag)
            commEvent_ -= line.eventBit;
        flag = on;
    }
}

// --- the tick ---

bool TComm::QueryStatus(uint32_t& errors, uint32_t& queued)
{
    // A failed query means nothing waiting and no error, not stale numbers.
    if (device_->clearError(errors, queued))
        return true;
    errors = 0;
    queued = 0;
    return false;
}

void TComm::ProcTimer()
{
    // An exception from a handler ends this tick and is shown by the error
    // report; it must not cross Qt's event loop, and the next tick runs as usual.
    platform::RunGuarded([this] { Tick(); });
}

void TComm::Tick()
{
    if (!HandleOpen())
        return;
    uint32_t queued = 0;
    QueryStatus(commError_, queued);
    const QPointer<TComm> alive(this);
    if (rThreshold_ > 0 && queued >= static_cast<uint32_t>(rThreshold_))
        ReceiveData();
    // Handlers and the pending events may close the port or free the component.
    if (!alive)
        return;
    if (HandleOpen())
        GetModemState();
    platform::ProcessMessages();
    if (!alive)
        return;
    if (commEvent_ != 0)
        ModemStateChange(commEvent_);
    if (!alive)
        return;
    platform::ProcessMessages();
    if (!alive)
        return;
    if (commError_ != 0)
        ReceiveError(commError_);
    if (!alive)
        return;
    platform::ProcessMessages();
}

// --- reading ---

void TComm::ReadProcess()
{
    uint32_t queued = 0;
    QueryStatus(commError_, queued);
    if (queued == 0)
        return;
    if (queued > ReceiveBufferSize) {
        // More than the buffer holds: the stream is out of step anyway, start afresh.
        device_->purge(PurgeRxClear);
        return;
    }
    // Never ask for more than the buffer holds, whatever InputLen says.
    const uint32_t asked = InputLen > 0 ? static_cast<uint32_t>(InputLen) : queued;
    const uint32_t count = std::min(asked, ReceiveBufferSize);
    uint32_t got = 0;
    if (!device_->read(receiveBuffer_.data(), count, got) || got == 0)
        return;
    // Only the bytes really read: a short read must not hand out stale buffer bytes.
    receivedText_.assign(reinterpret_cast<const char*>(receiveBuffer_.data()), got);
    receivedBytes_.assign(receiveBuffer_.begin(), receiveBuffer_.begin() + got);
}

std::vector<uint8_t> TComm::ReadInputByte()
{
    if (!HandleOpen())
        platform::ShowMessage(kNotOpen);
    ReadProcess();
    return receivedBytes_;
}

std::string TComm::ReadInputData()
{
    if (!HandleOpen())
        platform::ShowMessage(kNotOpen);
    ReadProcess();
    return receivedText_;
}

uint32_t TComm::ReadInDataCount()
{
    uint32_t errors = 0;
    uint32_t queued = 0;
    QueryStatus(errors, queued);
    return queued;
}

void TComm::SetInDataCount(uint32_t value)
{
    if (value == 0)
        device_->purge(PurgeRxClear);
}

// --- sending ---

bool TComm::OutputString(const std::string& text)
{
    if (!HandleOpen()) {
        platform::ShowMessage(kNotOpen);
        return false;
    }
    uint32_t written = 0;
    return device_->write(reinterpret_cast<const uint8_t*>(text.data()), static_cast<uint32_t>(text.size()),
                          written);
}

bool TComm::OutputByte(const std::vector<uint8_t>& bytes)
{
    if (!HandleOpen()) {
        platform::ShowMessage(kNotOpen);
        return false;
    }
    for (const uint8_t byte : bytes) {
        uint32_t written = 0;
        device_->write(&byte, 1, written);
    }
    return true;
}

// --- events ---

void TComm::ReceiveData() { platform::Raise(OnReceiveData, this); }
void TComm::ModemStateChange(uint32_t mask) { platform::Raise(OnModemStateChange, this, mask); }
void TComm::ReceiveError(uint32_t mask) { platform::Raise(OnReceiveError, this, mask); }

} // namespace serial
