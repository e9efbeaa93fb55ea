#pragma once
// The console's serial port component: owns one port, opens it by number
// (COM1..COM16) or by device path, polls it from a 10 ms timer on the UI thread
// and raises its events from that tick. It has no thread of its own.
#include "Component.h"
#include "SerialDevice.h"

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class QTimer;

namespace serial {

enum class TComPortNumber : uint8_t {
    pnCOM1, pnCOM2, pnCOM3, pnCOM4, pnCOM5, pnCOM6, pnCOM7, pnCOM8,
    pnCOM9, pnCOM10, pnCOM11, pnCOM12, pnCOM13, pnCOM14, pnCOM15, pnCOM16,
};
enum class THwHandShaking : uint8_t { hhNone, hhNoneRTSON, hhRTSCTS };
enum class TSwHandShaking : uint8_t { shNone, shXonXoff };
enum class TDataBits : uint8_t { DB5, DB6, DB7, DB8 };
enum class TParity : uint8_t { None, Odd, Even, Mark, Space };
enum class TStopBits : uint8_t { SB1, SB1_5, SB2 };
using TBaudRate = int32_t; // 100 to 115200

// Bits of CommEvent: the modem lines that were on at the last poll.
enum CommEventBits : uint32_t {
    EvCts = 0x0008,
    EvDsr = 0x0010,
    EvRlsd = 0x0020, // carrier detect
    EvRing = 0x0100,
};

using TCommEvent = std::function<void(platform::TObject* sender, uint32_t eventMask)>;
using SerialDeviceFactory = std::function<std::unique_ptr<SerialDevice>()>;

class TComm : public platform::TComponent {
public:
    static constexpr uint32_t ReceiveBufferSize = 4096;
    static constexpr int PollIntervalMs = 10;

    explicit TComm(QObject* owner = nullptr, SerialDeviceFactory deviceFactory = CreateSystemDevice);
    // Leaves an open port open: owners close it with SetPortOpen(false) first.
    ~TComm() override;

    // Replaces the device the component talks through; an open port is closed first.
    void SetDeviceFactory(SerialDeviceFactory deviceFactory);

    // --- opening and closing ---
    void SetPortOpen(bool open);
    bool PortOpen() const { return openFlag_; }
    bool Polling() const; // the tick timer runs

    // The port to open: COMn by number, or any device path (/dev/ttyUSB0, a pty).
    // Whichever was set last is used, at the next open.
    TComPortNumber CommPort() const { return commPort_; }
    void SetCommPort(TComPortNumber port);
    void SetDevicePath(const std::string& path);
    const std::string& DevicePath() const { return devicePath_; }
    std::string DeviceName() const; // what the next open opens

    // --- line configuration: applied at once while open, else at the next open ---
    TBaudRate BaudRate() const { return baudRate_; }
    void SetBaudRate(TBaudRate rate);
    THwHandShaking GetHwHandShaking() const { return hwHandShaking_; }
    void SetHwHandShaking(THwHandShaking value);
    TSwHandShaking GetSwHandShaking() const { return swHandShaking_; }
    void SetSwHandShaking(TSwHandShaking value);
    TDataBits DataBits() const { return dataBits_; }
    void SetDataBits(TDataBits value);
    TParity Parity() const { return parity_; }
    void SetParity(TParity value);
    TStopBits StopBits() const { return stopBits_; }
    void SetStopBits(TStopBits value);

    // --- modem lines ---
    void SetDTRStatus(bool on);
    bool GetDTRStatus() const { return dtr_; }
    void SetRTSStatus(bool on);
    bool GetRTSStatus() const { return rts_; }
    bool ReadCDHolding() const { return cd_; }
    bool ReadDSRHolding() const { return dsr_; }
    bool ReadRIHolding() const { return ri_; }
    bool ReadCTSHolding() const { return cts_; }
    uint32_t ReadCommEvent() const { return commEvent_; }
    uint32_t ReadCommError() const { return commError_; }

    // --- receiving ---
    int32_t RThreshold() const { return rThreshold_; }
    void SetRThreshold(int32_t threshold) { rThreshold_ = threshold; }
    int32_t InputLen = 0; // bytes a read asks for; 0 (or less): all that are waiting

    // A read: the bytes of the last read that got any (nothing waiting leaves them).
    std::vector<uint8_t> ReadInputByte();
    std::string ReadInputData();
    uint32_t ReadInDataCount();
    void SetInDataCount(uint32_t value); // 0 discards the input queue

    // --- sending ---
    bool OutputString(const std::string& text); // one write call
    bool OutputByte(const std::vector<uint8_t>& bytes); // one write call per byte

    platform::TNotifyEvent OnReceiveData;
    TCommEvent OnReceiveError;
    TCommEvent OnModemStateChange;

private:
    bool HandleOpen() const { return device_ && device_->isOpen(); }
    void OpenComm();
    void CloseComm();
    void ApplyLineSettings();
    void ProcTimer();
    void Tick();
    void GetModemState();
    void ReadProcess();
    bool QueryStatus(uint32_t& errors, uint32_t& queued);
    template <typename T>
    void SetAndReapply(T& field, T value);

    void ReceiveData();
    void ModemStateChange(uint32_t mask);
    void ReceiveError(uint32_t mask);

    SerialDeviceFactory deviceFactory_;
    std::unique_ptr<SerialDevice> device_;
    QTimer* timer_;
    std::array<uint8_t, ReceiveBufferSize> receiveBuffer_{};

    TComPortNumber commPort_ = TComPortNumber::pnCOM1;
    std::string devicePath_;
    bool useDevicePath_ = false;
    bool openFlag_ = false;
    TBaudRate baudRate_ = 9600;
    bool parityInUse_ = false;
    THwHandShaking hwHandShaking_ = THwHandShaking::hhNone;
    TSwHandShaking swHandShaking_ = TSwHandShaking::shNone;
    TDataBits dataBits_ = TDataBits::DB8;
    TParity parity_ = TParity::None;
    TStopBits stopBits_ = TStopBits::SB1;
    int32_t rThreshold_ = 0;
    bool dtr_ = false;
    bool rts_ = false;
    std::string receivedText_;
    std::vector<uint8_t> receivedBytes_;
    uint32_t commEvent_ = 0;
    uint32_t commError_ = 0;
    bool cd_ = false;
    bool cts_ = false;
    bool dsr_ = false;
    bool ri_ = false;
};

} // namespace serial
