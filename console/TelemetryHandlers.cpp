// The receive path: Comm1's receive event feeds the decoder, each accepted frame
// is shown at once, and the channel boxes move their gauges and sliders.
#include "MainWindow.h"
#include "TelemetryDisplay.h"

#include "LocaleNumbers.h"

namespace console {

namespace {

// The gauges of CH1 and CH4 fill from the other end, as the sticks move.
int Mirrored(int channel) { return 3000 - channel; }

int ChannelValue(const platform::TEdit* box) { return platform::StrToInt(box->Text()); }

} // namespace

void TForm1::Comm1ReceiveData(TObject*)
{
    session_.ReceiveBuffer = Comm1->ReadInputByte();
    for (const std::uint8_t byte : session_.ReceiveBuffer)
        session_.Decoder.push(byte, [this](const protocol::Telemetry& t) { ShowTelemetry(*this, t); });
}

void TForm1::bsSkinEdit10Change(TObject*) { bsSkinGauge1->SetProgress(Mirrored(ChannelValue(bsSkinEdit10))); }
void TForm1::bsSkinEdit11Change(TObject*) { bsSkinGauge2->SetProgress(ChannelValue(bsSkinEdit11)); }
void TForm1::bsSkinEdit12Change(TObject*) { bsSkinGauge3->SetProgress(ChannelValue(bsSkinEdit12)); }
void TForm1::bsSkinEdit19Change(TObject*) { bsSkinGauge4->SetProgress(Mirrored(ChannelValue(bsSkinEdit19))); }
void TForm1::bsSkinEdit20Change(TObject*) { bsSkinSlider5->SetPosition(ChannelValue(bsSkinEdit20)); }
void TForm1::bsSkinEdit21Change(TObject*) { bsSkinSlider6->SetPosition(ChannelValue(bsSkinEdit21)); }

} // namespace console
