// What the settings panels send. Each Save or calibration button builds one
// command frame from its control and sends it; "Default All Setting" puts the
// defaults back into the value texts and sends the nine default frames.
#include "MainWindow.h"

#include "LocaleNumbers.h"
#include "SendCommand.h"

#include <QThread>

#include <cstdint>
#include <string>
#include <utility>

namespace console {

using protocol::Command;

namespace {

constexpr std::uint16_t StartCalibration = 1;
constexpr std::uint16_t StopCalibration = 0;

// The controller stores each setting as it arrives and is given this long per
// frame before the next one, so the whole reset blocks the window for about
// 0.9 s. The wait is deliberately blocking: no telemetry and no other click can
// run in the middle of the sequence.
constexpr unsigned long PauseAfterEachDefaultMs = 100;

// The edit whose text a value command sends.
platform::TEdit* ValueEditOf(TForm1& form, Command command)
{
    switch (command) {
    case Command::GyroGain: return form.bsSkinEdit23;
    case Command::AuxGain: return form.bsSkinEdit8;
    case Command::AltGain: return form.bsSkinEdit14;
    case Command::LowVoltage: return form.bsSkinEdit16;
    case Command::RangeLimit: return form.bsSkinEdit44;
    case Command::HeightLimit: return form.bsSkinEdit46;
    default: return nullptr;
    }
}

// The list whose shown name a choice command sends.
platform::TComboBox* ChoiceListOf(TForm1& form, Command command)
{
    switch (command) {
    case Command::AirframeType: return form.bsSkinComboBox2;
    case Command::ReceiverType: return form.bsSkinComboBox3;
    case Command::ArmedSpeed: return form.bsSkinComboBox4;
    default: return nullptr;
    }
}

// A default value as the window writes it into its value edit: the scaled
// parameters as tenth-step or whole texts ("6.8", "12"), the limits as whole
// numbers. Encoding that text again gives the default value back.
std::string DefaultText(const protocol::CommandInfo& info)
{
    const std::uint16_t value = *info.defaultValue;
    if (info.encoding == protocol::ValueEncoding::Decimal)
        return platform::FormatGeneral(double(value) / info.scale);
    return platform::FormatInteger(value);
}

} // namespace

void TForm1::WireSettingsButtons()
{
    const std::pair<platform::TButton*, void (TForm1::*)(TObject*)> clicks[] = {
        {bsSkinButton7, &TForm1::bsSkinButton7Click},   {bsSkinButton3, &TForm1::bsSkinButton3Click},
        {bsSkinButton4, &TForm1::bsSkinButton4Click},   {bsSkinButton5, &TForm1::bsSkinButton5Click},
        {bsSkinButton12, &TForm1::bsSkinButton12Click}, {bsSkinButton13, &TForm1::bsSkinButton13Click},
        {bsSkinButton6, &TForm1::bsSkinButton6Click},   {bsSkinButton8, &TForm1::bsSkinButton8Click},
        {bsSkinButton14, &TForm1::bsSkinButton14Click}, {bsSkinButton9, &TForm1::bsSkinButton9Click},
        {bsSkinButton10, &TForm1::bsSkinButton10Click}, {bsSkinButton11, &TForm1::bsSkinButton11Click},
        {bsSkinButton15, &TForm1::bsSkinButton15Click},
    };
    for (const auto& [button, method] : clicks)
        button->OnClick = [this, method](TObject* sender) { (this->*method)(sender); };
}

void TForm1::SendFrame(const protocol::CommandFrame& frame)
{
    FillFrameBuffer(session_.FrameBuffer, frame);
    SendCommand(session_.FrameBuffer, session_.PortConnected, *Comm1);
}

// The text is encoded before the connection is looked at, so a text that is
// not a number is reported even while nothing would be sent; the error ends
// the handler before anything is written. A list that shows no name gives no
// frame at all.
void TForm1::SendFromText(Command command, const std::string& text)
{
    if (const auto frame = protocol::BuildCommandFrame(command, text, platform::LocaleDecimalSeparator()))
        SendFrame(*frame);
}

void TForm1::SaveValue(Command command) { SendFromText(command, ValueEditOf(*this, command)->Text()); }

void TForm1::SaveChoice(Command command) { SendFromText(command, ChoiceListOf(*this, command)->Text()); }

// Parameter Saves send the value edit's text, not the slider: for the gyro gain
// the user may have typed a value the slider cannot show.
void TForm1::bsSkinButton7Click(TObject*) { SaveValue(Command::GyroGain); }
void TForm1::bsSkinButton3Click(TObject*) { SaveValue(Command::AuxGain); }
void TForm1::bsSkinButton4Click(TObject*) { SaveValue(Command::AltGain); }
void TForm1::bsSkinButton5Click(TObject*) { SaveValue(Command::LowVoltage); }

// The limits are clamped by their encoding; the edit keeps what was typed.
void TForm1::bsSkinButton12Click(TObject*) { SaveValue(Command::RangeLimit); }
void TForm1::bsSkinButton13Click(TObject*) { SaveValue(Command::HeightLimit); }

// With nothing picked a list shows its initial text, and that is what Save sends.
void TForm1::bsSkinButton6Click(TObject*) { SaveChoice(Command::AirframeType); }
void TForm1::bsSkinButton8Click(TObject*) { SaveChoice(Command::ReceiverType); }
void TForm1::bsSkinButton14Click(TObject*) { SaveChoice(Command::ArmedSpeed); }

// No calibration state is kept: stop is always sent, started or not.
void TForm1::bsSkinButton9Click(TObject*)
{
    SendFrame(protocol::BuildCommandFrame(Command::StickCalibration, StartCalibration));
}
void TForm1::bsSkinButton10Click(TObject*)
{
    SendFrame(protocol::BuildCommandFrame(Command::StickCalibration, StopCalibration));
}
void TForm1::bsSkinButton11Click(TObject*)
{
    SendFrame(protocol::BuildCommandFrame(Command::ImuCalibration, StartCalibration));
}

// "Default All Setting": each step pauses whether or not its frame was written,
// so the reset takes as long connected as not. Sliders, lists and current
// values are left as they are; the controller's next reports move the sliders.
void TForm1::bsSkinButton15Click(TObject*)
{
    for (const Command command : protocol::DefaultSettingsSequence()) {
        SendDefault(command);
        QThread::msleep(PauseAfterEachDefaultMs);
    }
}

// A value default goes through its edit and is sent from that text, as its Save
// button would send it. A choice default is a fixed position whatever the list
// shows, but, as with Save, nothing goes out while the list shows no name.
void TForm1::SendDefault(Command command)
{
    const protocol::CommandInfo& info = protocol::InfoOf(command);
    if (info.encoding == protocol::ValueEncoding::Choice) {
        if (!ChoiceListOf(*this, command)->Text().empty())
            SendFrame(protocol::BuildCommandFrame(command, *info.defaultValue));
        return;
    }
    ValueEditOf(*this, command)->SetText(DefaultText(info));
    SaveValue(command);
}

} // namespace console
