// The window: its frame and controls, and the wiring between them and the flow.
#include "MainWindow.h"

#include "Application.h"

#include <QEvent>
#include <QScrollBar>

namespace uploader {

namespace {

const char* const WindowCaption = "Firmware Uploader";
// The dialog offers one file type, firmware images.
const char* const FirmwareFilter = "*.fcu (*.fcu)";

// The log's colours: the system's menu-text colour (black on the light look)
// behind white text.
QColor MenuTextColor() { return QColor(0x00, 0x00, 0x00); }

QFont LogFont()
{
    QFont font;
    // Liberation Sans has Arial's metrics where Arial itself is missing.
    font.setFamilies({QStringLiteral("Arial"), QStringLiteral("Liberation Sans")});
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(15);
    return font;
}

} // namespace

TForm1::TForm1(serial::PortDiscovery ports, serial::DeviceFactory devices, QWidget* parent)
    : QWidget(parent,
              Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                  | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QString::fromLatin1(WindowCaption));
    // A dialog-style window: fixed size, no maximise button.
    setFixedSize(300, 248);
    move(264, 170);
    setAutoFillBackground(true);

    Flow = new UploadFlow(this, std::move(ports), std::move(devices));
    OpenDialog1 = new TOpenDialog(this, QString::fromLatin1(FirmwareFilter));
    OpenDialog1->setObjectName(QStringLiteral("OpenDialog1"));

    CreatePortControls();
    CreateProgressControls();
    CreateLog();
    WireControls();
    WireFlow();
    FormCreate(this);
}

// Closing the window abandons a running upload. The flow goes first, while the
// controls its last events may still reach exist.
TForm1::~TForm1() { delete Flow; }

void TForm1::CreatePortControls()
{
    bsSkinGroupBox1 = new platform::TGroupBox(this, QStringLiteral("bsSkinGroupBox1"), {8, 8, 281, 89},
                                              QStringLiteral("COM Port"));
    bsSkinButton2 = new platform::TButton(bsSkinGroupBox1, QStringLiteral("bsSkinButton2"),
                                          {8, 24, 129, 25}, QStringLiteral("Connect"));
    bsSkinButton3 = new platform::TButton(bsSkinGroupBox1, QStringLiteral("bsSkinButton3"),
                                          {144, 24, 129, 25}, QStringLiteral("Open Firmware File"));
    bsSkinButton1 = new platform::TButton(bsSkinGroupBox1, QStringLiteral("bsSkinButton1"),
                                          {8, 56, 41, 25}, QStringLiteral("Scan"));
    bsSkinComboBox1 = new platform::TComboBox(bsSkinGroupBox1, QStringLiteral("bsSkinComboBox1"),
                                              {56, 56, 81, 25});
    bsSkinEdit1 = new platform::TEdit(bsSkinGroupBox1, QStringLiteral("bsSkinEdit1"), {144, 56, 129, 18},
                                      QString(), true);
}

void TForm1::CreateProgressControls()
{
    bsSkinGauge1 = new platform::TGauge(this, QStringLiteral("bsSkinGauge1"), {16, 104, 225, 17}, 0, 100, 0);
    bsSkinLabel1 = new QLabel(QStringLiteral("0%"), this);
    bsSkinLabel1->setObjectName(QStringLiteral("bsSkinLabel1"));
    bsSkinLabel1->setGeometry(240, 104, 41, 17);
    bsSkinLabel1->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    bsSkinLabel1->setAlignment(Qt::AlignCenter);
}

void TForm1::CreateLog()
{
    bsSkinMemo1 = new QPlainTextEdit(this);
    bsSkinMemo1->setObjectName(QStringLiteral("bsSkinMemo1"));
    bsSkinMemo1->setGeometry(8, 128, 281, 113);
    bsSkinMemo1->setFont(LogFont());
    // A record of what happened, not a place to type.
    bsSkinMemo1->setReadOnly(true);
    bsSkinMemo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    bsSkinMemo1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    QPalette palette = bsSkinMemo1->palette();
    palette.setColor(QPalette::Base, MenuTextColor());
    bsSkinMemo1->setPalette(palette);
    // The design-time text, which creation removes.
    bsSkinMemo1->setPlainText(QStringLiteral("bsSkinMemo1"));
}

void TForm1::WireControls()
{
    auto handler = [this](void (TForm1::*method)(TObject*)) -> platform::TNotifyEvent {
        return [this, method](TObject* sender) { (this->*method)(sender); };
    };
    bsSkinButton1->OnClick = handler(&TForm1::bsSkinButton1Click);
    bsSkinButton2->OnClick = handler(&TForm1::bsSkinButton2Click);
    bsSkinButton3->OnClick = handler(&TForm1::bsSkinButton3Click);
    connect(bsSkinComboBox1, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (!showingPorts_)
            Flow->SetPortIndex(index);
    });
    connect(bsSkinMemo1, &QPlainTextEdit::textChanged, this,
            [this] { platform::RunGuarded([this] { bsSkinMemo1Change(bsSkinMemo1); }); });
}

void TForm1::WireFlow()
{
    Flow->OnLog = [this](TObject*, const std::string& line) {
        bsSkinMemo1->appendPlainText(QString::fromStdString(line));
    };
    Flow->OnPortsChange = [this](TObject*) { ShowPorts(); };
    Flow->OnFirmwareChange = [this](TObject*) {
        bsSkinEdit1->SetText(Flow->FirmwarePath());
        bsSkinEdit1->setToolTip(QString::fromStdString(Flow->FirmwarePath()));
    };
    Flow->OnStateChange = [this](TObject*) { ShowState(); };
    Flow->OnProgress = [this](TObject*) { ShowProgress(); };
}

void TForm1::FormCreate(TObject*)
{
    bsSkinMemo1->clear();
    QPalette palette = bsSkinMemo1->palette();
    palette.setColor(QPalette::Text, Qt::white);
    bsSkinMemo1->setPalette(palette);
    bsSkinGauge1->SetProgress(0);
}

void TForm1::FormActivate(TObject* sender) { Flow->FormActivate(sender); }

void TForm1::bsSkinButton1Click(TObject* sender) { Flow->ScanClick(sender); }

void TForm1::bsSkinButton2Click(TObject* sender) { Flow->ConnectClick(sender); }

void TForm1::bsSkinButton3Click(TObject*)
{
    if (!Flow->CanChooseFirmware())
        return;
    if (OpenDialog1->Execute())
        Flow->ChooseFirmware(OpenDialog1->FileName().toStdString());
}

// The newest line is always in sight, however many display lines a long path
// wraps into.
void TForm1::bsSkinMemo1Change(TObject*)
{
    QScrollBar* bar = bsSkinMemo1->verticalScrollBar();
    bar->setValue(bar->maximum());
}

void TForm1::ShowPorts()
{
    showingPorts_ = true;
    const std::vector<std::string>& ports = Flow->Ports();
    if (bsSkinComboBox1->Items() != ports) {
        bsSkinComboBox1->Clear();
        for (const std::string& port : ports)
            bsSkinComboBox1->AddItem(port);
    }
    bsSkinComboBox1->SetItemIndex(Flow->PortIndex());
    showingPorts_ = false;
}

// While an upload runs the file cannot be replaced: the path shown stays the
// path being sent.
void TForm1::ShowState()
{
    bsSkinButton2->SetCaption(Flow->ConnectCaption());
    bsSkinButton3->setEnabled(Flow->CanChooseFirmware());
}

void TForm1::ShowProgress()
{
    bsSkinGauge1->SetProgress(Flow->GaugePercent());
    bsSkinLabel1->setText(QString::fromStdString(Flow->PercentText()));
}

// Being shown counts as an activation too: without a window manager (a bare X
// server, a kiosk session) the window is never activated, and its port list
// would stay empty.
bool TForm1::event(QEvent* event)
{
    const bool handled = QWidget::event(event);
    if (event->type() == QEvent::WindowActivate || event->type() == QEvent::Show)
        platform::RunGuarded([this] { FormActivate(this); });
    return handled;
}

} // namespace uploader
