#pragma once
// flightdesk's one window, Form1: every control at its fixed place with its
// initial value, the serial port component Comm1, and the handlers that wire
// them to the port scan, the connection and the telemetry display.
//
// The controls are public fields, named as the window's description names them,
// so that the handlers (spread over a few files by concern) and the tests reach
// them the way the original handlers did; every one also carries its name as Qt
// object name.
#include "Comm.h"
#include "CommandFrame.h"
#include "ConsoleSession.h"
#include "Image.h"
#include "Widgets.h"

#include <QWidget>

namespace console {

using platform::TObject;
using serial::TComm;
using serial::TComPortNumber;

class TForm1 : public QWidget {
    Q_OBJECT
public:
    explicit TForm1(ConsoleSession& session, QWidget* parent = nullptr);

    // The shortest time between two paints of the window: at most 30 a second.
    static constexpr int PaintIntervalMs = 33;

    ConsoleSession& Session() { return session_; }

    // Non-visual component.
    TComm* Comm1 = nullptr;

    // "ComPort"
    platform::TGroupBox* bsSkinGroupBox1 = nullptr;
    platform::TButton* bsSkinButton1 = nullptr; // "Refresh "
    platform::TLabel* bsSkinStdLabel7 = nullptr;
    platform::TComboBox* bsSkinComboBox1 = nullptr; // port list
    platform::TButton* bsSkinButton2 = nullptr; // "Connect" / "Disconnect"

    // "Attitude", "Heading"
    platform::TGroupBox* bsSkinGroupBox3 = nullptr;
    platform::TImage* Image1 = nullptr;
    platform::TGroupBox* bsSkinGroupBox6 = nullptr;
    platform::TImage* Image2 = nullptr;

    // "Parameter Adjust": current value, value to send, slider, Save per column.
    platform::TGroupBox* bsSkinGroupBox7 = nullptr;
    platform::TEdit* bsSkinEdit22 = nullptr;
    platform::TEdit* bsSkinEdit23 = nullptr;
    platform::TSlider* bsSkinSlider4 = nullptr;
    platform::TButton* bsSkinButton7 = nullptr;
    platform::TEdit* bsSkinEdit7 = nullptr;
    platform::TEdit* bsSkinEdit8 = nullptr;
    platform::TSlider* bsSkinSlider1 = nullptr;
    platform::TButton* bsSkinButton3 = nullptr;
    platform::TEdit* bsSkinEdit9 = nullptr;
    platform::TEdit* bsSkinEdit14 = nullptr;
    platform::TSlider* bsSkinSlider2 = nullptr;
    platform::TButton* bsSkinButton4 = nullptr;
    platform::TEdit* bsSkinEdit15 = nullptr;
    platform::TEdit* bsSkinEdit16 = nullptr;
    platform::TSlider* bsSkinSlider3 = nullptr;
    platform::TButton* bsSkinButton5 = nullptr;

    // "Limit (meter)"
    platform::TGroupBox* bsSkinGroupBox4 = nullptr;
    platform::TEdit* bsSkinEdit43 = nullptr;
    platform::TEdit* bsSkinEdit44 = nullptr;
    platform::TButton* bsSkinButton12 = nullptr;
    platform::TEdit* bsSkinEdit45 = nullptr;
    platform::TEdit* bsSkinEdit46 = nullptr;
    platform::TButton* bsSkinButton13 = nullptr;

    // "Sensor Data"
    platform::TGroupBox* bsSkinGroupBox2 = nullptr;
    platform::TEdit* bsSkinEdit1 = nullptr;  // Roll
    platform::TEdit* bsSkinEdit2 = nullptr;  // Pitch
    platform::TEdit* bsSkinEdit3 = nullptr;  // Yaw
    platform::TEdit* bsSkinEdit4 = nullptr;  // GyroX
    platform::TEdit* bsSkinEdit5 = nullptr;  // GyroY
    platform::TEdit* bsSkinEdit6 = nullptr;  // GyroZ
    platform::TEdit* bsSkinEdit29 = nullptr; // Ax
    platform::TEdit* bsSkinEdit32 = nullptr; // Ay
    platform::TEdit* bsSkinEdit33 = nullptr; // Az
    platform::TEdit* bsSkinEdit13 = nullptr; // Mx
    platform::TEdit* bsSkinEdit17 = nullptr; // My
    platform::TEdit* bsSkinEdit28 = nullptr; // Mz
    platform::TEdit* bsSkinEdit26 = nullptr; // Lat.
    platform::TEdit* bsSkinEdit27 = nullptr; // Lon.
    platform::TEdit* bsSkinEdit30 = nullptr; // HAC
    platform::TEdit* bsSkinEdit31 = nullptr; // Azimuth
    platform::TEdit* bsSkinEdit37 = nullptr; // Heading
    platform::TEdit* bsSkinEdit36 = nullptr; // Version
    platform::TEdit* bsSkinEdit18 = nullptr; // Altitude
    platform::TEdit* bsSkinEdit24 = nullptr; // Alt Vel
    platform::TEdit* bsSkinEdit25 = nullptr; // Battery

    // "Armed Speed"
    platform::TGroupBox* bsSkinGroupBox9 = nullptr;
    platform::TEdit* bsSkinEdit47 = nullptr;
    platform::TComboBox* bsSkinComboBox4 = nullptr;
    platform::TButton* bsSkinButton14 = nullptr;

    // "Flight Mode": Image3 holds the strip of airframe tiles, Image4 shows one.
    platform::TGroupBox* bsSkinGroupBox8 = nullptr;
    platform::TImage* Image3 = nullptr;
    platform::TImage* Image4 = nullptr;
    platform::TComboBox* bsSkinComboBox2 = nullptr;
    platform::TButton* bsSkinButton6 = nullptr;

    // "Remote Controller Signal"
    platform::TGroupBox* bsSkinGroupBox5 = nullptr;
    platform::TGauge* bsSkinGauge1 = nullptr;
    platform::TGauge* bsSkinGauge2 = nullptr;
    platform::TGauge* bsSkinGauge3 = nullptr;
    platform::TGauge* bsSkinGauge4 = nullptr;
    platform::TEdit* bsSkinEdit10 = nullptr; // CH1 A
    platform::TEdit* bsSkinEdit11 = nullptr; // CH2 E
    platform::TEdit* bsSkinEdit12 = nullptr; // CH3 T
    platform::TEdit* bsSkinEdit19 = nullptr; // CH4 R
    platform::TEdit* bsSkinEdit20 = nullptr; // CH5
    platform::TEdit* bsSkinEdit21 = nullptr; // CH6
    platform::TSlider* bsSkinSlider5 = nullptr;
    platform::TSlider* bsSkinSlider6 = nullptr;
    platform::TEdit* bsSkinEdit35 = nullptr; // "GPS"
    platform::TEdit* bsSkinEdit38 = nullptr; // "Alt Hold"
    platform::TEdit* bsSkinEdit39 = nullptr; // "Stabilize"
    platform::TEdit* bsSkinEdit40 = nullptr; // "RTL"
    platform::TEdit* bsSkinEdit41 = nullptr; // "IOC"
    platform::TEdit* bsSkinEdit42 = nullptr; // "OFF"
    platform::TEdit* bsSkinEdit34 = nullptr; // receiver type
    platform::TComboBox* bsSkinComboBox3 = nullptr;
    platform::TButton* bsSkinButton8 = nullptr;
    platform::TButton* bsSkinButton9 = nullptr;
    platform::TButton* bsSkinButton10 = nullptr;
    platform::TButton* bsSkinButton11 = nullptr;
    platform::TButton* bsSkinButton15 = nullptr;

    // "Motor Out": M1 … M8.
    platform::TGroupBox* bsSkinGroupBox10 = nullptr;
    platform::TEdit* bsSkinEdit48 = nullptr;
    platform::TEdit* bsSkinEdit49 = nullptr;
    platform::TEdit* bsSkinEdit50 = nullptr;
    platform::TEdit* bsSkinEdit51 = nullptr;
    platform::TEdit* bsSkinEdit52 = nullptr;
    platform::TEdit* bsSkinEdit53 = nullptr;
    platform::TEdit* bsSkinEdit54 = nullptr;
    platform::TEdit* bsSkinEdit55 = nullptr;

    // Window events.
    void FormCreate(TObject* sender);
    void bsBusinessSkinForm1Activate(TObject* sender);

    // Port scan and connection.
    void bsSkinButton1Click(TObject* sender);
    void bsSkinButton2Click(TObject* sender);

    // Telemetry.
    void Comm1ReceiveData(TObject* sender);
    void bsSkinEdit10Change(TObject* sender);
    void bsSkinEdit11Change(TObject* sender);
    void bsSkinEdit12Change(TObject* sender);
    void bsSkinEdit19Change(TObject* sender);
    void bsSkinEdit20Change(TObject* sender);
    void bsSkinEdit21Change(TObject* sender);

    // The settings panels follow the controller: a changed current value moves
    // its slider, and a moved slider rewrites the value Save will send.
    void bsSkinEdit22Change(TObject* sender);
    void bsSkinEdit7Change(TObject* sender);
    void bsSkinEdit9Change(TObject* sender);
    void bsSkinEdit15Change(TObject* sender);
    void bsSkinSlider4Change(TObject* sender);
    void bsSkinSlider1Change(TObject* sender);
    void bsSkinSlider2Change(TObject* sender);
    void bsSkinSlider3Change(TObject* sender);

    // The settings panels send: parameter, limit and choice Saves, the
    // calibrations, and "Default All Setting".
    void bsSkinButton7Click(TObject* sender);
    void bsSkinButton3Click(TObject* sender);
    void bsSkinButton4Click(TObject* sender);
    void bsSkinButton5Click(TObject* sender);
    void bsSkinButton12Click(TObject* sender);
    void bsSkinButton13Click(TObject* sender);
    void bsSkinButton6Click(TObject* sender);
    void bsSkinButton8Click(TObject* sender);
    void bsSkinButton14Click(TObject* sender);
    void bsSkinButton9Click(TObject* sender);
    void bsSkinButton10Click(TObject* sender);
    void bsSkinButton11Click(TObject* sender);
    void bsSkinButton15Click(TObject* sender);

protected:
    bool event(QEvent* event) override;

private:
    void CreateControls();
    void CreatePortControls();
    void CreateInstrumentControls();
    void CreateParameterControls();
    void CreateLimitControls();
    void CreateSensorControls();
    void CreateArmedSpeedControls();
    void CreateFlightModeControls();
    void CreateRemoteControllerControls();
    void CreateMotorControls();
    void CreateComm();
    void WireHandlers();
    void WireSettingsButtons();

    // The steps the settings buttons share: fill the frame buffer and send it.
    void SendFrame(const protocol::CommandFrame& frame);
    void SendFromText(protocol::Command command, const std::string& text);
    void SaveValue(protocol::Command command);
    void SaveChoice(protocol::Command command);
    void SendDefault(protocol::Command command);

    // The steps shared by the activation handler and Refresh.
    void ScanPorts();
    void OpenPortByName(const std::string& name);

    bool activatedBefore_ = false;
    ConsoleSession& session_;
};

} // namespace console
