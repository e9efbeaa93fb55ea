#include "TelemetryDisplay.h"

#include "AirframeTiles.h"
#include "Attitude.h"
#include "Heading.h"
#include "LocaleNumbers.h"
#include "MainWindow.h"
#include "SettingChoices.h"

#include <variant>

namespace console {

using platform::FormatFourDecimals;
using platform::FormatGeneral;
using platform::FormatInteger;
using platform::FormatOneDecimal;
using platform::FormatTwoDecimals;
using platform::TEdit;

namespace {

constexpr platform::TColor Red = 255;
constexpr platform::TColor Black = 0;

double Radians(double degrees) { return degrees * static_cast<double>(DegreesToRadians); }

template <std::size_t N>
void ShowChoice(TEdit* edit, const std::optional<int>& index, const std::array<std::string_view, N>& names)
{
    if (index && *index >= 0 && *index < int(N))
        edit->SetText(std::string(names[*index]));
}

// Shows one frame type's quantities; one overload per frame type.
class FrameShower {
public:
    explicit FrameShower(TForm1& form) : f_(form) {}

    void operator()(const protocol::AttitudeTelemetry& t) const
    {
        // Drawn when the window next paints: of the frames in between, only the
        // newest would be seen. Every drawing starts from what the one before
        // left on the canvas, and those leave it alike whatever the angles, so
        // leaving out the unseen ones changes no pixel.
        f_.Image1->DrawWhenShown([roll = Radians(t.roll), pitch = Radians(t.pitch)](platform::TCanvas& canvas) {
            instruments::DrawAttitude(roll, pitch, canvas);
        });
        f_.bsSkinEdit1->SetText(FormatTwoDecimals(t.roll));
        f_.bsSkinEdit2->SetText(FormatTwoDecimals(t.pitch));
        f_.bsSkinEdit3->SetText(FormatTwoDecimals(t.yaw));
    }

    void operator()(const protocol::GyroTelemetry& t) const
    {
        f_.bsSkinEdit4->SetText(FormatTwoDecimals(t.gyroX));
        f_.bsSkinEdit5->SetText(FormatTwoDecimals(t.gyroY));
        f_.bsSkinEdit6->SetText(FormatTwoDecimals(t.gyroZ));
    }

    void operator()(const protocol::Channels1To3Telemetry& t) const
    {
        f_.bsSkinEdit10->SetText(FormatInteger(t.ch1));
        f_.bsSkinEdit11->SetText(FormatInteger(t.ch2));
        f_.bsSkinEdit12->SetText(FormatInteger(t.ch3));
    }

    void operator()(const protocol::Channels4To6Telemetry& t) const
    {
        f_.bsSkinEdit19->SetText(FormatInteger(t.ch4));
        f_.bsSkinEdit20->SetText(FormatInteger(t.ch5));
        f_.bsSkinEdit21->SetText(FormatInteger(t.ch6));
        HighlightFlightModes(f_);
    }

    void operator()(const protocol::GainsTelemetry& t) const
    {
        f_.bsSkinEdit22->SetText(FormatTwoDecimals(t.gyroGain));
        f_.bsSkinEdit7->SetText(FormatTwoDecimals(t.auxGain));
        f_.bsSkinEdit36->SetText(FormatOneDecimal(t.version));
        if (t.airframe && *t.airframe >= 0 && *t.airframe < instruments::AirframeTileCount)
            f_.Image4->Canvas().CopyRect({0, 0, instruments::AirframeTileSize, instruments::AirframeTileSize},
                                         f_.Image3->Canvas(), instruments::AirframeTileRect(*t.airframe));
    }

    void operator()(const protocol::BatteryHeadingTelemetry& t) const
    {
        f_.bsSkinEdit25->SetText(FormatGeneral(t.battery));
        f_.bsSkinEdit31->SetText(FormatGeneral(t.azimuth));
        f_.bsSkinEdit37->SetText(FormatGeneral(t.heading));
        // The compass shows the heading as printed, read back.
        const double shown = platform::StrToFloat(f_.bsSkinEdit37->Text());
        f_.Image2->DrawWhenShown(
            [heading = Radians(shown)](platform::TCanvas& canvas) { instruments::DrawHeading(heading, canvas); });
    }

    void operator()(const protocol::AltitudeTelemetry& t) const
    {
        f_.bsSkinEdit18->SetText(FormatGeneral(t.altitude));
        f_.bsSkinEdit24->SetText(FormatGeneral(t.altVel));
        f_.bsSkinEdit9->SetText(FormatGeneral(t.altGain));
    }

    void operator()(const protocol::PositionTelemetry& t) const
    {
        f_.bsSkinEdit26->SetText(FormatFourDecimals(t.latitude));
        f_.bsSkinEdit27->SetText(FormatFourDecimals(t.longitude));
        f_.bsSkinEdit30->SetText(FormatGeneral(t.hac));
    }

    void operator()(const protocol::MagnetometerTelemetry& t) const
    {
        f_.bsSkinEdit13->SetText(FormatTwoDecimals(t.mx));
        f_.bsSkinEdit17->SetText(FormatTwoDecimals(t.my));
        f_.bsSkinEdit28->SetText(FormatTwoDecimals(t.mz));
    }

    void operator()(const protocol::AccelerometerTelemetry& t) const
    {
        f_.bsSkinEdit29->SetText(FormatTwoDecimals(t.ax));
        f_.bsSkinEdit32->SetText(FormatTwoDecimals(t.ay));
        f_.bsSkinEdit33->SetText(FormatTwoDecimals(t.az));
    }

    void operator()(const protocol::ReceiverTelemetry& t) const
    {
        ShowChoice(f_.bsSkinEdit34, t.receiverType, protocol::kReceiverTypeNames);
        f_.bsSkinEdit15->SetText(FormatGeneral(t.lowVoltage));
        f_.bsSkinEdit48->SetText(FormatTwoDecimals(t.m1));
        f_.bsSkinEdit49->SetText(FormatTwoDecimals(t.m2));
    }

    void operator()(const protocol::LimitsTelemetry& t) const
    {
        f_.bsSkinEdit43->SetText(FormatInteger(t.rangeLimit));
        f_.bsSkinEdit45->SetText(FormatInteger(t.heightLimit));
        ShowChoice(f_.bsSkinEdit47, t.armedSpeed, protocol::kArmedSpeedNames);
    }

    void operator()(const protocol::MotorsTelemetry& t) const
    {
        TEdit* const fields[] = {f_.bsSkinEdit50, f_.bsSkinEdit51, f_.bsSkinEdit52,
                                 f_.bsSkinEdit53, f_.bsSkinEdit54, f_.bsSkinEdit55};
        for (std::size_t i = 0; i < t.motors.size(); ++i)
            fields[i]->SetText(FormatTwoDecimals(t.motors[i]));
    }

private:
    TForm1& f_;
};

void HighlightOne(const TEdit* channel, TEdit* low, TEdit* middle, TEdit* high)
{
    const double v = platform::StrToFloat(channel->Text());
    TEdit* lit = nullptr;
    if (v > 1700)
        lit = high;
    else if (v > 1350 && v < 1700)
        lit = middle;
    else if (v < 1350)
        lit = low;
    if (!lit)
        return;
    for (TEdit* caption : {low, middle, high})
        caption->SetFontColor(caption == lit ? Red : Black);
}

} // namespace

void HighlightFlightModes(TForm1& form)
{
    HighlightOne(form.bsSkinEdit20, form.bsSkinEdit35, form.bsSkinEdit38, form.bsSkinEdit39);
    HighlightOne(form.bsSkinEdit21, form.bsSkinEdit40, form.bsSkinEdit41, form.bsSkinEdit42);
}

void ShowTelemetry(TForm1& form, const protocol::Telemetry& telemetry)
{
    std::visit(FrameShower(form), telemetry);
}

} // namespace console
