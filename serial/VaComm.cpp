#include "VaComm.h"

#include "Application.h"
#include "Exception.h"

#include <QMetaObject>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace serial {
namespace {

// Bytes the port keeps for a window that does not read them, like a driver's input
// queue; beyond it new bytes are dropped, as a driver drops them on overrun.
constexpr std::size_t InputLimit = 64 * 1024;
constexpr uint32_t ReadChunk = 4096;
constexpr uint32_t BaudRate = 115200;

bool IsNotFound(int error)
{
#ifdef _WIN32
    return error == 2 || error == 3; // ERROR_FILE_NOT_FOUND, ERROR_PATH_NOT_FOUND
#else
    return error == ENOENT || error == ENODEV || error == ENXIO;
#endif
}

// "COM%d" with the number put in by hand: a name is data, never a format string.
std::string FormatPortName(const std::string& pattern, int number)
{
    std::string name = pattern;
    const auto at = name.find("%d");
    if (at != std::string::npos)
        name.replace(at, 2, std::to_string(number));
    return name;
}

// n for "COMn" (n from 1), else 0.
int ComNumber(const std::string& name)
{
    if (name.size() < 4 || name.compare(0, 3, "COM") != 0)
        return 0;
    int number = 0;
    for (std::size_t i = 3; i < name.size(); ++i) {
        if (name[i] < '0' || name[i] > '9' || number > 9999)
            return 0;
        number = number * 10 + (name[i] - '0');
    }
    return number;
}

} // namespace

// --- the client base ---

TVaCommComponent::TVaCommComponent(QObject* owner) : platform::TComponent(owner) {}

TVaCommComponent::~TVaCommComponent() { SetComm(nullptr); }

TVaComm* TVaCommComponent::Comm() const
{
    std::lock_guard guard(commLock_);
    return comm_;
}

void TVaCommComponent::SetComm(TVaComm* comm)
{
    TVaComm* previous = Comm();
    if (previous == comm)
        return;
    if (previous)
        previous->Detach(this);
    {
        std::lock_guard guard(commLock_);
        comm_ = comm;
    }
    if (comm)
        comm->Attach(this);
}

void TVaCommComponent::DataChanged(const uint8_t*, int) {}

int TVaCommComponent::CommWriteBuf(const void* buffer, int count)
{
    std::lock_guard guard(commLock_);
    return comm_ ? comm_->WriteBuf(buffer, count) : 0;
}

void TVaCommComponent::CommPurgeReadWrite()
{
    std::lock_guard guard(commLock_);
    if (comm_)
        comm_->PurgeReadWrite();
}

void TVaCommComponent::PortDestroyed()
{
    std::lock_guard guard(commLock_);
    comm_ = nullptr;
}

// --- the port ---

TVaComm::TVaComm(QObject* owner, DeviceFactory factory)
    : platform::TComponent(owner), factory_(std::move(factory))
{
}

TVaComm::~TVaComm()
{
    Close();
    for (auto* client : clients_)
        client->PortDestroyed();
}

void TVaComm::SetPortNum(int portNum)
{
    portNum_ = portNum;
    devicePath_.clear();
}

void TVaComm::SetDevicePath(const std::string& path) { devicePath_ = path; }

std::string TVaComm::PortName() const
{
    return devicePath_.empty() ? FormatPortName(deviceName_, portNum_) : devicePath_;
}

std::string TVaComm::SystemDeviceName() const
{
    const std::string name = PortName();
    const int number = devicePath_.empty() ? ComNumber(name) : 0;
    return number > 0 ? ComPortDeviceName(number) : name;
}

void TVaComm::Open()
{
    if (IsOpen())
        return;
    auto device = factory_();
    if (!device->open(SystemDeviceName())) {
        const int error = device->lastError();
        if (IsNotFound(error))
            throw platform::Exception("Specified device not found (" + PortName() + ").");
        throw platform::Exception("Can't open specified device " + PortName() + " (Error " +
                                  std::to_string(error) + ", " + device->lastErrorText() + ")");
    }
    try {
        ConfigureLine(*device);
    } catch (...) {
        device->close();
        throw;
    }
    {
        std::lock_guard guard(writeLock_);
        device_ = std::move(device);
    }
    {
        std::lock_guard guard(inputLock_);
        input_.clear();
    }
    stopping_ = false;
    receiving_ = true;
    reader_ = std::thread([this] {
        ReaderLoop();
        receiving_ = false;
    });
}

void TVaComm::ConfigureLine(SerialDevice& device)
{
    device.setupQueues(ReadChunk, ReadChunk);
    LineSettings settings;
    device.getLineSettings(settings);
    settings.baudRate = BaudRate;
    settings.byteSize = 8;
    settings.parity = Parity::None;
    settings.parityCheck = false;
    settings.stopBits = StopBits::One;
    settings.rtsControl = RtsControl::Disable;
    settings.ctsOutputFlow = false;
    settings.xonXoffOutput = false;
    settings.xonXoffInput = false;
    if (!device.setLineSettings(settings))
        throw platform::Exception("Can't open specified device " + PortName() + " (Error " +
                                  std::to_string(device.lastError()) + ", " +
                                  device.lastErrorText() + ")");
    // A pseudo-terminal or an adapter without modem lines refuses these; the line is
    // usable all the same, so a refusal is not an error.
    device.setModemControl(ModemControl::ClearDtr);
    device.setModemControl(ModemControl::ClearRts);
    device.purge(PurgeTxAbort | PurgeRxAbort | PurgeTxClear | PurgeRxClear);
}

void TVaComm::Close()
{
    if (!device_)
        return;
    stopping_ = true;
    device_->interruptWait();
    if (reader_.joinable())
        reader_.join();
    std::lock_guard guard(writeLock_);
    device_->close();
    device_.reset();
}

bool TVaComm::IsOpen() const { return device_ != nullptr; }

void TVaComm::ReaderLoop()
{
    uint8_t buffer[ReadChunk];
    int emptyReads = 0;
    while (!stopping_) {
        const WaitResult result = device_->waitForInput(-1);
        if (result == WaitResult::Gone)
            return; // unplugged: writes fail quietly, reads never come
        if (result != WaitResult::Readable)
            continue;
        uint32_t count = 0;
        if (!device_->read(buffer, ReadChunk, count))
            return;
        // Readable yet nothing to read, over and over, is a line that has gone away
        // in a way the wait does not report; stop rather than spin.
        if (count == 0) {
            if (++emptyReads > 100)
                return;
            continue;
        }
        emptyReads = 0;
        {
            std::lock_guard guard(inputLock_);
            const std::size_t room = InputLimit - std::min(InputLimit, input_.size());
            input_.insert(input_.end(), buffer, buffer + std::min<std::size_t>(count, room));
        }
        if (!deliveryPending_.exchange(true))
            QMetaObject::invokeMethod(this, [this] { DeliverReceived(); }, Qt::QueuedConnection);
    }
}

void TVaComm::DeliverReceived()
{
    deliveryPending_ = false;
    if (clients_.empty()) {
        const int waiting = InQue();
        if (waiting > 0 && OnRxChar)
            platform::RunGuarded([&] { OnRxChar(this, waiting); });
        return;
    }
    {
        std::lock_guard guard(inputLock_);
        chunk_.swap(input_);
        input_.clear();
    }
    if (chunk_.empty())
        return;
    // A client may detach itself or others from inside DataChanged.
    const auto clients = clients_;
    for (auto* client : clients) {
        if (std::find(clients_.begin(), clients_.end(), client) != clients_.end() &&
            client->Active())
            client->DataChanged(chunk_.data(), static_cast<int>(chunk_.size()));
    }
    chunk_.clear();
}

int TVaComm::InQue() const
{
    std::lock_guard guard(inputLock_);
    return static_cast<int>(input_.size());
}

std::string TVaComm::ReadText()
{
    std::lock_guard guard(inputLock_);
    std::string text(input_.begin(), input_.end());
    input_.clear();
    return text;
}

int TVaComm::ReadBuf(void* buffer, int count)
{
    std::lock_guard guard(inputLock_);
    const auto taken = std::min<std::size_t>(std::max(count, 0), input_.size());
    std::memcpy(buffer, input_.data(), taken);
    input_.erase(input_.begin(), input_.begin() + static_cast<std::ptrdiff_t>(taken));
    return static_cast<int>(taken);
}

bool TVaComm::WriteChar(char c) { return WriteBuf(&c, 1) == 1; }

int TVaComm::WriteBuf(const void* buffer, int count)
{
    if (count <= 0)
        return 0;
    std::lock_guard guard(writeLock_);
    if (!device_)
        return 0;
    uint32_t written = 0;
    device_->write(static_cast<const uint8_t*>(buffer), static_cast<uint32_t>(count), written);
    return static_cast<int>(written);
}

void TVaComm::PurgeReadWrite()
{
    {
        std::lock_guard guard(writeLock_);
        if (device_)
            device_->purge(PurgeTxAbort | PurgeRxAbort | PurgeTxClear | PurgeRxClear);
    }
    std::lock_guard guard(inputLock_);
    input_.clear();
}

void TVaComm::Attach(TVaCommComponent* client)
{
    if (std::find(clients_.begin(), clients_.end(), client) == clients_.end())
        clients_.push_back(client);
}

void TVaComm::Detach(TVaCommComponent* client)
{
    clients_.erase(std::remove(clients_.begin(), clients_.end(), client), clients_.end());
}

} // namespace serial
