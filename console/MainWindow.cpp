// The window itself: its frame, its creation handler and its activation.
#include "MainWindow.h"

#include "AirframeTiles.h"
#include "Application.h"
#include "Attitude.h"
#include "Heading.h"
#include "PaintPacer.h"

#include <QEvent>

namespace console {

namespace {

const char* const WindowCaption = "Quelbry - NOVALK Assistant --- 2015.03.27";

} // namespace

TForm1::TForm1(ConsoleSession& session, QWidget* parent)
    : QWidget(parent,
              Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                  | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint),
      session_(session)
{
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QString::fromLatin1(WindowCaption));
    // A dialog-style window: fixed size, no maximise button.
    setFixedSize(712, 447);
    move(316, 139);
    setAutoFillBackground(true);
    // At the line rate every 10 ms tick changes a few dozen fields and both
    // instruments. Thirty paints a second keep the horizon and the numbers
    // moving smoothly; painting at every screen refresh cost twice the CPU for a
    // difference hardly seen in a settings console.
    new platform::TPaintPacer(this, PaintIntervalMs);

    CreateControls();
    CreateComm();
    // The stored picture of the airframe tiles.
    Image3->SetPicture(instruments::DrawAirframeStrip());
    WireHandlers();
    FormCreate(this);
}

void TForm1::CreateComm()
{
    Comm1 = new TComm(this);
    Comm1->setObjectName(QStringLiteral("Comm1"));
    Comm1->SetBaudRate(115200);
    Comm1->SetRThreshold(1);
}

void TForm1::FormCreate(TObject*)
{
    session_.FrameBuffer.resize(4);
    // Qt paints every widget double-buffered already, so the "Attitude",
    // "Heading" and "Flight Mode" boxes compose each repaint off-screen as they
    // must: nothing to switch on.
    instruments::DrawAttitude(0, 0, Image1);
    instruments::DrawHeading(0, Image2);
    Image4->Canvas().CopyRect({0, 0, 137, 137}, Image3->Canvas(), instruments::AirframeTileRect(0));
}

void TForm1::WireHandlers()
{
    auto handler = [this](void (TForm1::*method)(TObject*)) -> platform::TNotifyEvent {
        return [this, method](TObject* sender) { (this->*method)(sender); };
    };
    bsSkinButton1->OnClick = handler(&TForm1::bsSkinButton1Click);
    bsSkinButton2->OnClick = handler(&TForm1::bsSkinButton2Click);

    // The port component's tick calls this from a timer: an error must end here,
    // shown by the error report, and never reach the event loop.
    Comm1->OnReceiveData = [this](TObject* sender) {
        platform::RunGuarded([this, sender] { Comm1ReceiveData(sender); });
    };
    bsSkinEdit10->OnChange = handler(&TForm1::bsSkinEdit10Change);
    bsSkinEdit11->OnChange = handler(&TForm1::bsSkinEdit11Change);
    bsSkinEdit12->OnChange = handler(&TForm1::bsSkinEdit12Change);
    bsSkinEdit19->OnChange = handler(&TForm1::bsSkinEdit19Change);
    bsSkinEdit20->OnChange = handler(&TForm1::bsSkinEdit20Change);
    bsSkinEdit21->OnChange = handler(&TForm1::bsSkinEdit21Change);

    bsSkinEdit22->OnChange = handler(&TForm1::bsSkinEdit22Change);
    bsSkinEdit7->OnChange = handler(&TForm1::bsSkinEdit7Change);
    bsSkinEdit9->OnChange = handler(&TForm1::bsSkinEdit9Change);
    bsSkinEdit15->OnChange = handler(&TForm1::bsSkinEdit15Change);
    bsSkinSlider4->OnChange = handler(&TForm1::bsSkinSlider4Change);
    bsSkinSlider1->OnChange = handler(&TForm1::bsSkinSlider1Change);
    bsSkinSlider2->OnChange = handler(&TForm1::bsSkinSlider2Change);
    bsSkinSlider3->OnChange = handler(&TForm1::bsSkinSlider3Change);

    WireSettingsButtons();
}

// Being shown counts as an activation too: without a window manager (a bare X
// server, a kiosk session) the window may never be activated, and its port list
// would stay empty until Refresh.
bool TForm1::event(QEvent* event)
{
    const bool handled = QWidget::event(event);
    if (event->type() == QEvent::WindowActivate || event->type() == QEvent::Show)
        platform::RunGuarded([this] { bsBusinessSkinForm1Activate(this); });
    return handled;
}

} // namespace console
