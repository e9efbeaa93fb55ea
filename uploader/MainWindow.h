#pragma once
// fwloader's one window, Form1: the port and firmware choice, the progress
// gauge and the log, each control at its fixed place. The window holds no
// upload logic of its own: it shows the state of its UploadFlow and forwards
// the user's clicks to it.
//
// The controls are public fields named as the window's description names them;
// every one also carries its name as Qt object name, so that tests find them.
#include "MainWindowOpenDialog.h"
#include "UploadFlow.h"
#include "Widgets.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QWidget>

namespace uploader {

class TForm1 : public QWidget {
    Q_OBJECT
public:
    explicit TForm1(serial::PortDiscovery ports = serial::PortDiscovery(),
                    serial::DeviceFactory devices = serial::CreateSystemDevice,
                    QWidget* parent = nullptr);
    ~TForm1() override;

    // The flow owns the port VaComm1 and the sender VaYModem1.
    UploadFlow* Flow = nullptr;
    TOpenDialog* OpenDialog1 = nullptr;

    // "COM Port"
    platform::TGroupBox* bsSkinGroupBox1 = nullptr;
    platform::TButton* bsSkinButton2 = nullptr; // "Connect" / "DisConnect"
    platform::TButton* bsSkinButton3 = nullptr; // "Open Firmware File"
    platform::TButton* bsSkinButton1 = nullptr; // "Scan"
    platform::TComboBox* bsSkinComboBox1 = nullptr; // port list
    platform::TEdit* bsSkinEdit1 = nullptr; // the firmware file's full path

    platform::TGauge* bsSkinGauge1 = nullptr;
    QLabel* bsSkinLabel1 = nullptr; // the percentage
    QPlainTextEdit* bsSkinMemo1 = nullptr; // the log

    void FormCreate(TObject* sender);
    void FormActivate(TObject* sender);
    void bsSkinButton1Click(TObject* sender);
    void bsSkinButton2Click(TObject* sender);
    void bsSkinButton3Click(TObject* sender);
    void bsSkinMemo1Change(TObject* sender);

protected:
    bool event(QEvent* event) override;

private:
    void CreatePortControls();
    void CreateProgressControls();
    void CreateLog();
    void WireControls();
    void WireFlow();

    // The flow's state into the controls.
    void ShowPorts();
    void ShowState();
    void ShowProgress();

    bool showingPorts_ = false; // the list is being rebuilt from the flow
};

} // namespace uploader
