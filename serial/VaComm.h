#pragma once
// The uploader's serial port component and the base of the components that borrow
// it (the YMODEM sender). The port reads on a thread of its own, blocked in a wait
// on the device, and hands what arrives to the GUI thread: to the attached clients
// when there are any, else it raises OnRxChar and keeps the bytes for ReadText.
// Writes may come from any thread (the sender's worker writes directly).
#include "Component.h"
#include "SerialDevice.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace serial {

class TVaComm;

// A client of a TVaComm: while attached (Comm) and active, every received chunk goes
// to DataChanged on the GUI thread instead of to the port's OnRxChar.
class TVaCommComponent : public platform::TComponent {
    Q_OBJECT
public:
    explicit TVaCommComponent(QObject* owner = nullptr);
    ~TVaCommComponent() override;

    TVaComm* Comm() const;
    // Detaches from the previous port's client list and attaches to the new one.
    void SetComm(TVaComm* comm);

    bool Active() const { return active_.load(); }
    void SetActive(bool active) { active_.store(active); }

    virtual void DataChanged(const uint8_t* data, int count);
    virtual void LineChanged() {}

protected:
    // Port access that is safe from a worker thread while the GUI thread may detach
    // or the port may be destroyed: nothing happens when no port is attached.
    int CommWriteBuf(const void* buffer, int count);
    void CommPurgeReadWrite();

private:
    friend class TVaComm;
    void PortDestroyed();

    mutable std::mutex commLock_;
    TVaComm* comm_ = nullptr;
    std::atomic<bool> active_{false};
};

using DeviceFactory = std::function<std::unique_ptr<SerialDevice>()>;
using TVaRxCharEvent = std::function<void(platform::TObject* sender, int count)>;

class TVaComm : public platform::TComponent {
    Q_OBJECT
public:
    explicit TVaComm(QObject* owner = nullptr, DeviceFactory factory = CreateSystemDevice);
    ~TVaComm() override;

    int PortNum() const { return portNum_; }
    // Selects port COMn again (after SetDevicePath).
    void SetPortNum(int portNum);
    // The name PortNum is formatted into: "%d" stands for the number.
    const std::string& DeviceName() const { return deviceName_; }
    void SetDeviceName(const std::string& deviceName) { deviceName_ = deviceName; }
    // Opens this path instead of a COMn name (a USB adapter, a pseudo-terminal).
    void SetDevicePath(const std::string& path);
    // What Open will name: "COM3", or the device path.
    std::string PortName() const;

    // Opens the port at 115200 8N1 without flow control, DTR and RTS off; raises
    // platform::Exception when it cannot.
    void Open();
    // Closing a port that is not open does nothing.
    void Close();
    bool IsOpen() const;
    // Whether the reader still listens: false once closed or once the device vanished.
    bool IsReceiving() const { return receiving_.load(); }

    // Received bytes waiting to be read, and taking them.
    int InQue() const;
    std::string ReadText();
    int ReadBuf(void* buffer, int count);

    // Callable from any thread; writing to a closed port does nothing and returns 0.
    bool WriteChar(char c);
    int WriteBuf(const void* buffer, int count);
    // Discards what waits in the device's queues and in this component.
    void PurgeReadWrite();

    TVaRxCharEvent OnRxChar;

private:
    friend class TVaCommComponent;
    void Attach(TVaCommComponent* client);
    void Detach(TVaCommComponent* client);

    std::string SystemDeviceName() const;
    void ConfigureLine(SerialDevice& device);
    void ReaderLoop();
    void DeliverReceived(); // GUI thread

    DeviceFactory factory_;
    int portNum_ = 0;
    std::string deviceName_ = "COM%d";
    std::string devicePath_; // used instead of the COMn name when not empty

    std::unique_ptr<SerialDevice> device_;
    std::mutex writeLock_; // writes, purges and close never overlap
    std::thread reader_;
    std::atomic<bool> stopping_{false};
    std::atomic<bool> receiving_{false};

    mutable std::mutex inputLock_;
    std::vector<uint8_t> input_; // received, not yet handed on
    std::vector<uint8_t> chunk_; // reused for handing bytes to the clients
    std::atomic<bool> deliveryPending_{false};

    std::vector<TVaCommComponent*> clients_; // GUI thread only
};

} // namespace serial
