// The window's stored description: every control at its place, with its caption,
// initial text, colours, read-only flag and range.
#include "MainWindow.h"

namespace console {

using platform::TButton;
using platform::TComboBox;
using platform::TEdit;
using platform::TGauge;
using platform::TGroupBox;
using platform::TLabel;
using platform::TSlider;

namespace {

constexpr int FieldHeight = 18;
constexpr platform::TColor Maroon = 0x000080;

// The kinds of value field, by what the user may do with them and how they look.
enum class Field {
    CurrentValue, // the controller's value: read-only, maroon
    Setting,      // the value Save sends, typed by the user
    FixedSetting, // the value Save sends, set only by its slider: read-only
    Indicator,    // a flight-mode caption: centred, coloured by the display
};

TEdit* AddField(QWidget* box, const char* name, int x, int y, int width, const char* text, Field kind)
{
    const bool readOnly = kind == Field::CurrentValue || kind == Field::FixedSetting;
    auto* edit = new TEdit(box, QString::fromLatin1(name), QRect(x, y, width, FieldHeight),
                           QString::fromLatin1(text), readOnly);
    if (kind == Field::CurrentValue)
        edit->SetFontColor(Maroon);
    if (kind == Field::Indicator)
        edit->setAlignment(Qt::AlignCenter);
    return edit;
}

TButton* AddButton(QWidget* box, const char* name, const QRect& geometry, const char* caption,
                   const char* hint = "")
{
    return new TButton(box, QString::fromLatin1(name), geometry, QString::fromLatin1(caption),
                       QString::fromLatin1(hint));
}

void AddLabel(QWidget* box, const char* caption, int x, int y)
{
    new TLabel(box, QString::fromLatin1(caption), QPoint(x, y));
}

TGroupBox* AddGroup(QWidget* window, const char* name, const QRect& geometry, const char* caption)
{
    return new TGroupBox(window, QString::fromLatin1(name), geometry, QString::fromLatin1(caption));
}

} // namespace

void TForm1::CreateControls()
{
    CreatePortControls();
    CreateInstrumentControls();
    CreateParameterControls();
    CreateLimitControls();
    CreateSensorControls();
    CreateArmedSpeedControls();
    CreateFlightModeControls();
    CreateRemoteControllerControls();
    CreateMotorControls();
}

void TForm1::CreatePortControls()
{
    auto* box = bsSkinGroupBox1 = AddGroup(this, "bsSkinGroupBox1", {8, 8, 105, 129}, "ComPort");
    bsSkinButton1 = AddButton(box, "bsSkinButton1", {8, 24, 89, 25}, "Refresh ", "Refresh Windows Com Port Number");
    bsSkinStdLabel7 = new TLabel(box, QStringLiteral("Port   "), QPoint(16, 52), true);
    bsSkinStdLabel7->setObjectName(QStringLiteral("bsSkinStdLabel7"));
    bsSkinComboBox1 = new TComboBox(box, QStringLiteral("bsSkinComboBox1"), {8, 68, 89, 21});
    bsSkinButton2 = AddButton(box, "bsSkinButton2", {8, 96, 89, 25}, "Connect", "Connect to Flight Controller");
}

void TForm1::CreateInstrumentControls()
{
    bsSkinGroupBox3 = AddGroup(this, "bsSkinGroupBox3", {112, 8, 105, 129}, "Attitude");
    // The pictures cover their whole area, so nothing behind them is repainted
    // when an instrument is redrawn.
    Image1 = new platform::TImage(bsSkinGroupBox3, {0, 24, 105, 105});
    Image1->setAttribute(Qt::WA_OpaquePaintEvent);
    Image1->setObjectName(QStringLiteral("Image1"));
    bsSkinGroupBox6 = AddGroup(this, "bsSkinGroupBox6", {216, 8, 105, 129}, "Heading");
    Image2 = new platform::TImage(bsSkinGroupBox6, {0, 24, 105, 105});
    Image2->setAttribute(Qt::WA_OpaquePaintEvent);
    Image2->setObjectName(QStringLiteral("Image2"));
}

void TForm1::CreateParameterControls()
{
    auto* box = bsSkinGroupBox7 = AddGroup(this, "bsSkinGroupBox7", {320, 8, 297, 129}, "Parameter Adjust");
    AddLabel(box, "Gyro Gain   ", 16, 24);
    bsSkinEdit22 = AddField(box, "bsSkinEdit22", 8, 40, 33, "0", Field::CurrentValue);
    bsSkinEdit23 = AddField(box, "bsSkinEdit23", 40, 40, 33, "16", Field::Setting);
    bsSkinSlider4 = new TSlider(box, QStringLiteral("bsSkinSlider4"), {8, 56, 65, 33}, 4, 64, 40);
    bsSkinButton7 = AddButton(box, "bsSkinButton7", {8, 96, 65, 25}, "Save");

    AddLabel(box, "AUX Gain   ", 88, 24);
    bsSkinEdit7 = AddField(box, "bsSkinEdit7", 80, 40, 33, "0", Field::CurrentValue);
    bsSkinEdit8 = AddField(box, "bsSkinEdit8", 112, 40, 33, "6.8", Field::FixedSetting);
    bsSkinSlider1 = new TSlider(box, QStringLiteral("bsSkinSlider1"), {80, 56, 65, 33}, 48, 96, 60);
    bsSkinButton3 = AddButton(box, "bsSkinButton3", {80, 96, 65, 25}, "Save");

    AddLabel(box, "Alt Gain  ", 160, 24);
    bsSkinEdit9 = AddField(box, "bsSkinEdit9", 152, 40, 33, "0", Field::CurrentValue);
    bsSkinEdit14 = AddField(box, "bsSkinEdit14", 184, 40, 33, "12", Field::FixedSetting);
    bsSkinSlider2 = new TSlider(box, QStringLiteral("bsSkinSlider2"), {152, 56, 65, 33}, 4, 20, 11);
    bsSkinButton4 = AddButton(box, "bsSkinButton4", {152, 96, 65, 25}, "Save");

    AddLabel(box, "Low Voltage  ", 224, 24);
    bsSkinEdit15 = AddField(box, "bsSkinEdit15", 224, 40, 33, "0", Field::CurrentValue);
    bsSkinEdit16 = AddField(box, "bsSkinEdit16", 256, 40, 33, "10.8", Field::FixedSetting);
    bsSkinSlider3 = new TSlider(box, QStringLiteral("bsSkinSlider3"), {224, 56, 65, 33}, 30, 250, 105);
    bsSkinButton5 = AddButton(box, "bsSkinButton5", {224, 96, 65, 25}, "Save");
}

void TForm1::CreateLimitControls()
{
    auto* box = bsSkinGroupBox4 = AddGroup(this, "bsSkinGroupBox4", {616, 8, 89, 169}, "Limit (meter)");
    AddLabel(box, "Range Limit ", 10, 24);
    bsSkinEdit43 = AddField(box, "bsSkinEdit43", 8, 40, 41, "0", Field::CurrentValue);
    bsSkinEdit44 = AddField(box, "bsSkinEdit44", 48, 40, 33, "1000", Field::Setting);
    bsSkinButton12 = AddButton(box, "bsSkinButton12", {8, 64, 73, 25}, "Save");
    AddLabel(box, "Height Limit ", 9, 96);
    bsSkinEdit45 = AddField(box, "bsSkinEdit45", 8, 112, 41, "0", Field::CurrentValue);
    bsSkinEdit46 = AddField(box, "bsSkinEdit46", 48, 112, 33, "500", Field::Setting);
    bsSkinButton13 = AddButton(box, "bsSkinButton13", {8, 136, 73, 25}, "Save");
}

void TForm1::CreateSensorControls()
{
    auto* box = bsSkinGroupBox2 = AddGroup(this, "bsSkinGroupBox2", {8, 136, 609, 105}, "Sensor Data");
    struct Row {
        const char* label;
        int labelX;
        TEdit** field;
        const char* name;
        int fieldX;
        int width;
        int y;
    };
    const Row rows[] = {
        {"Roll ", 8, &bsSkinEdit1, "bsSkinEdit1", 40, 41, 32},
        {"Pitch ", 8, &bsSkinEdit2, "bsSkinEdit2", 40, 41, 56},
        {"Yaw ", 8, &bsSkinEdit3, "bsSkinEdit3", 40, 41, 80},
        {"GyroX ", 88, &bsSkinEdit4, "bsSkinEdit4", 128, 41, 32},
        {"GyroY ", 88, &bsSkinEdit5, "bsSkinEdit5", 128, 41, 56},
        {"GyroZ ", 88, &bsSkinEdit6, "bsSkinEdit6", 128, 41, 80},
        {"Ax ", 176, &bsSkinEdit29, "bsSkinEdit29", 200, 33, 32},
        {"Ay ", 176, &bsSkinEdit32, "bsSkinEdit32", 200, 33, 56},
        {"Az ", 176, &bsSkinEdit33, "bsSkinEdit33", 200, 33, 80},
        {"Mx ", 240, &bsSkinEdit13, "bsSkinEdit13", 264, 33, 32},
        {"My ", 240, &bsSkinEdit17, "bsSkinEdit17", 264, 33, 56},
        {"Mz ", 240, &bsSkinEdit28, "bsSkinEdit28", 264, 33, 80},
        {"Lat. ", 304, &bsSkinEdit26, "bsSkinEdit26", 336, 41, 32},
        {"Lon. ", 304, &bsSkinEdit27, "bsSkinEdit27", 336, 41, 56},
        {"HAC ", 304, &bsSkinEdit30, "bsSkinEdit30", 336, 41, 80},
        {"Azimuth", 384, &bsSkinEdit31, "bsSkinEdit31", 440, 41, 32},
        {"Heading ", 384, &bsSkinEdit37, "bsSkinEdit37", 440, 41, 56},
        {"Version ", 384, &bsSkinEdit36, "bsSkinEdit36", 440, 41, 80},
        {"Altitude ", 488, &bsSkinEdit18, "bsSkinEdit18", 536, 41, 32},
        {"Alt Vel  ", 488, &bsSkinEdit24, "bsSkinEdit24", 536, 41, 56},
        {"Battery ", 488, &bsSkinEdit25, "bsSkinEdit25", 536, 41, 80},
    };
    for (const Row& row : rows) {
        AddLabel(box, row.label, row.labelX, row.y);
        *row.field = AddField(box, row.name, row.fieldX, row.y, row.width, "0", Field::CurrentValue);
    }
    AddLabel(box, "cm ", 580, 32);
    AddLabel(box, "cm/s  ", 580, 56);
    AddLabel(box, "V ", 580, 80);
}

void TForm1::CreateArmedSpeedControls()
{
    auto* box = bsSkinGroupBox9 = AddGroup(this, "bsSkinGroupBox9", {616, 176, 89, 105}, "Armed Speed");
    bsSkinEdit47 = AddField(box, "bsSkinEdit47", 8, 24, 73, "High", Field::CurrentValue);
    bsSkinComboBox4 = new TComboBox(box, QStringLiteral("bsSkinComboBox4"), {8, 48, 73, 17},
                                    {"High", "Low", "Off"}, QStringLiteral("High"));
    bsSkinButton14 = AddButton(box, "bsSkinButton14", {8, 72, 73, 25}, "Save");
}

void TForm1::CreateFlightModeControls()
{
    auto* box = bsSkinGroupBox8 = AddGroup(this, "bsSkinGroupBox8", {8, 240, 153, 201}, "Flight Mode");
    // Image3 holds the strip of tiles and is never seen: Image4, created after
    // it at the same place, lies on top.
    Image3 = new platform::TImage(box, {8, 24, 41, 41});
    Image3->setObjectName(QStringLiteral("Image3"));
    Image4 = new platform::TImage(box, {8, 24, 137, 137});
    Image4->setAttribute(Qt::WA_OpaquePaintEvent);
    Image4->setObjectName(QStringLiteral("Image4"));
    bsSkinComboBox2 = new TComboBox(box, QStringLiteral("bsSkinComboBox2"), {8, 168, 65, 25},
                                    {"+4", "X4", "+6", "X6", "Y6", "Fh8", "X8", "QAV250"}, QStringLiteral("X4"));
    bsSkinComboBox2->setFont(platform::NarrowBoldFont());
    bsSkinButton6 = AddButton(box, "bsSkinButton6", {80, 168, 65, 25}, "Save");
}

void TForm1::CreateRemoteControllerControls()
{
    auto* box = bsSkinGroupBox5 =
        AddGroup(this, "bsSkinGroupBox5", {160, 240, 457, 201}, "Remote Controller Signal");
    AddLabel(box, "CH1 A ", 8, 32);
    AddLabel(box, "CH2 E ", 8, 56);
    AddLabel(box, "CH3 T  ", 8, 80);
    AddLabel(box, "CH4 R  ", 8, 104);
    bsSkinGauge1 = new TGauge(box, QStringLiteral("bsSkinGauge1"), {56, 32, 105, 17}, 1000, 2000, 1500);
    bsSkinGauge2 = new TGauge(box, QStringLiteral("bsSkinGauge2"), {56, 56, 105, 17}, 1000, 2000, 1500);
    bsSkinGauge3 = new TGauge(box, QStringLiteral("bsSkinGauge3"), {56, 80, 105, 17}, 1000, 2000, 1000);
    bsSkinGauge4 = new TGauge(box, QStringLiteral("bsSkinGauge4"), {56, 104, 105, 17}, 1000, 2000, 1500);
    bsSkinEdit10 = AddField(box, "bsSkinEdit10", 168, 32, 33, "1500", Field::CurrentValue);
    bsSkinEdit11 = AddField(box, "bsSkinEdit11", 168, 56, 33, "1500", Field::CurrentValue);
    bsSkinEdit12 = AddField(box, "bsSkinEdit12", 168, 80, 33, "1000", Field::CurrentValue);
    bsSkinEdit19 = AddField(box, "bsSkinEdit19", 168, 104, 33, "1500", Field::CurrentValue);

    AddLabel(box, "CH5  ", 216, 40);
    AddLabel(box, "CH6  ", 216, 88);
    bsSkinEdit20 = AddField(box, "bsSkinEdit20", 216, 56, 33, "1000", Field::CurrentValue);
    bsSkinEdit21 = AddField(box, "bsSkinEdit21", 216, 104, 33, "1000", Field::CurrentValue);
    bsSkinSlider5 = new TSlider(box, QStringLiteral("bsSkinSlider5"), {248, 32, 201, 25}, 1000, 2000, 1000);
    bsSkinSlider6 = new TSlider(box, QStringLiteral("bsSkinSlider6"), {248, 80, 201, 25}, 1000, 2000, 1000);
    bsSkinEdit35 = AddField(box, "bsSkinEdit35", 256, 56, 65, "GPS", Field::Indicator);
    bsSkinEdit38 = AddField(box, "bsSkinEdit38", 320, 56, 65, "Alt Hold", Field::Indicator);
    bsSkinEdit39 = AddField(box, "bsSkinEdit39", 384, 56, 57, "Stabilize", Field::Indicator);
    bsSkinEdit40 = AddField(box, "bsSkinEdit40", 256, 104, 65, "RTL", Field::Indicator);
    bsSkinEdit41 = AddField(box, "bsSkinEdit41", 320, 104, 65, "IOC", Field::Indicator);
    bsSkinEdit42 = AddField(box, "bsSkinEdit42", 384, 104, 57, "OFF", Field::Indicator);

    bsSkinEdit34 = AddField(box, "bsSkinEdit34", 8, 136, 41, "PWM", Field::CurrentValue);
    bsSkinComboBox3 = new TComboBox(box, QStringLiteral("bsSkinComboBox3"), {56, 136, 65, 25},
                                    {"PWM", "SBUS", "PPM"}, QStringLiteral("PWM"));
    bsSkinButton8 = AddButton(box, "bsSkinButton8", {8, 168, 113, 25}, "Save");
    bsSkinButton9 = AddButton(box, "bsSkinButton9", {136, 136, 145, 25}, "Start RC Stick Calibration");
    bsSkinButton10 = AddButton(box, "bsSkinButton10", {136, 168, 145, 25}, "Stop RC Stick Calibration");
    bsSkinButton11 = AddButton(box, "bsSkinButton11", {288, 136, 153, 25}, "IMU Calibration");
    bsSkinButton15 = AddButton(box, "bsSkinButton15", {288, 168, 153, 25}, "Default All Setting");
}

void TForm1::CreateMotorControls()
{
    auto* box = bsSkinGroupBox10 = AddGroup(this, "bsSkinGroupBox10", {615, 280, 89, 161}, "Motor Out");
    TEdit** fields[] = {&bsSkinEdit48, &bsSkinEdit49, &bsSkinEdit50, &bsSkinEdit51,
                        &bsSkinEdit52, &bsSkinEdit53, &bsSkinEdit54, &bsSkinEdit55};
    for (int i = 0; i < 8; ++i) {
        const int y = 24 + 16 * i;
        const std::string label = "M" + std::to_string(i + 1);
        const std::string name = "bsSkinEdit" + std::to_string(48 + i);
        AddLabel(box, label.c_str(), 8, y);
        *fields[i] = AddField(box, name.c_str(), 32, y, 49, "0", Field::CurrentValue);
    }
}

} // namespace console
