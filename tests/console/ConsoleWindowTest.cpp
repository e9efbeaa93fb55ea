// The window before any telemetry, the port list, Connect/Disconnect and the
// error report, on the real window.
#include "ConsoleWindowFixture.h"

#include "AirframeTiles.h"
#include "Application.h"

#include <QFile>
#include <QImage>

namespace consoletest {
namespace {

QColor PixelOf(const platform::TImage* image, int x, int y) { return image->Picture().pixelColor(x, y); }

TEST_F(ConsoleWindow, FrameIsAFixedDialogAtItsPlaceWithItsCaption)
{
    StartWindow({});
    EXPECT_EQ(form->windowTitle(), "Quelbry - NOVALK Assistant --- 2015.03.27");
    EXPECT_EQ(form->size(), QSize(712, 447));
    EXPECT_EQ(form->minimumSize(), form->maximumSize()) << "not resizable";
    EXPECT_EQ(form->pos(), QPoint(316, 139));
    EXPECT_FALSE(form->windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_TRUE(form->windowFlags() & Qt::WindowMinimizeButtonHint);
}

struct GroupCase {
    const char* name;
    const char* caption;
    QRect geometry;
};

void PrintTo(const GroupCase& c, std::ostream* os) { *os << c.name; }

class GroupBoxes : public ConsoleWindow, public ::testing::WithParamInterface<GroupCase> {};

TEST_P(GroupBoxes, StandAtTheirPlaces)
{
    StartWindow({});
    const auto* box = Find<platform::TGroupBox>(GetParam().name);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->title(), GetParam().caption);
    EXPECT_EQ(box->geometry(), GetParam().geometry);
}

INSTANTIATE_TEST_SUITE_P(
    Window, GroupBoxes,
    ::testing::Values(GroupCase{"bsSkinGroupBox1", "ComPort", {8, 8, 105, 129}},
                      GroupCase{"bsSkinGroupBox3", "Attitude", {112, 8, 105, 129}},
                      GroupCase{"bsSkinGroupBox6", "Heading", {216, 8, 105, 129}},
                      GroupCase{"bsSkinGroupBox7", "Parameter Adjust", {320, 8, 297, 129}},
                      GroupCase{"bsSkinGroupBox4", "Limit (meter)", {616, 8, 89, 169}},
                      GroupCase{"bsSkinGroupBox2", "Sensor Data", {8, 136, 609, 105}},
                      GroupCase{"bsSkinGroupBox9", "Armed Speed", {616, 176, 89, 105}},
                      GroupCase{"bsSkinGroupBox8", "Flight Mode", {8, 240, 153, 201}},
                      GroupCase{"bsSkinGroupBox5", "Remote Controller Signal", {160, 240, 457, 201}},
                      GroupCase{"bsSkinGroupBox10", "Motor Out", {615, 280, 89, 161}}));

TEST_F(ConsoleWindow, BeforeAnyTelemetryShowsTheStartValues)
{
    StartWindow({"/tmp/ttyV0"});

    // Level attitude: sky in the upper half, ground in the lower half.
    const platform::TImage* attitude = form->Image1;
    EXPECT_NE(PixelOf(attitude, 52, 30), PixelOf(attitude, 52, 75));
    EXPECT_EQ(PixelOf(attitude, 30, 30), PixelOf(attitude, 75, 30)) << "the horizon is level";
    EXPECT_EQ(PixelOf(attitude, 30, 75), PixelOf(attitude, 75, 75));

    // The "+4" tile although the list shows "X4".
    EXPECT_EQ(form->Image4->Picture(), form->Image3->Picture().copy(0, 0, 137, 137).convertToFormat(
                                           form->Image4->Picture().format()));
    EXPECT_EQ(form->bsSkinComboBox2->Text(), "X4");
    EXPECT_EQ(form->bsSkinComboBox2->ItemIndex(), -1);
    EXPECT_EQ(form->Image3->Picture().size(), QSize(1096, 137));
    // Only Image4 is seen where both lie.
    const QImage seen = form->bsSkinGroupBox8->grab(QRect(8, 24, 137, 137)).toImage();
    EXPECT_EQ(seen.convertToFormat(QImage::Format_RGB32),
              form->Image4->Picture().convertToFormat(QImage::Format_RGB32));

    for (const char* name : {"bsSkinEdit1", "bsSkinEdit2", "bsSkinEdit3", "bsSkinEdit4", "bsSkinEdit5",
                             "bsSkinEdit6", "bsSkinEdit29", "bsSkinEdit32", "bsSkinEdit33", "bsSkinEdit13",
                             "bsSkinEdit17", "bsSkinEdit28", "bsSkinEdit26", "bsSkinEdit27", "bsSkinEdit30",
                             "bsSkinEdit31", "bsSkinEdit37", "bsSkinEdit36", "bsSkinEdit18", "bsSkinEdit24",
                             "bsSkinEdit25"}) {
        EXPECT_EQ(Edit(name)->Text(), "0") << name;
        EXPECT_TRUE(Edit(name)->isReadOnly()) << name;
        EXPECT_EQ(Edit(name)->FontColor(), 0x000080u) << name << " is a current value: maroon";
    }
    EXPECT_EQ(form->bsSkinEdit10->Text(), "1500");
    EXPECT_EQ(form->bsSkinEdit12->Text(), "1000");
    EXPECT_EQ(form->bsSkinGauge1->Progress(), 1500);
    EXPECT_EQ(form->bsSkinGauge3->Progress(), 1000);
    EXPECT_EQ(form->bsSkinSlider5->Position(), 1000);
    EXPECT_EQ(form->bsSkinSlider4->Position(), 40) << "slider and value text start independently";
    EXPECT_EQ(form->bsSkinEdit23->Text(), "16");
    EXPECT_FALSE(form->bsSkinEdit23->isReadOnly());
    EXPECT_TRUE(form->bsSkinEdit8->isReadOnly());
    EXPECT_EQ(form->bsSkinComboBox3->Text(), "PWM");
    EXPECT_EQ(form->bsSkinComboBox4->Text(), "High");
    for (const char* caption : {"bsSkinEdit35", "bsSkinEdit38", "bsSkinEdit39", "bsSkinEdit40", "bsSkinEdit41",
                                "bsSkinEdit42"})
        EXPECT_EQ(Edit(caption)->FontColor(), 0u) << caption << ": no mode is red before a channel frame";

    EXPECT_EQ(form->bsSkinComboBox1->Items(),
              (std::vector<std::string>{"/tmp/ttyV0", "/dev/ttyUSB0", "/dev/ttyACM0"}));
    EXPECT_EQ(form->bsSkinComboBox1->ItemIndex(), 0);
    EXPECT_EQ(form->bsSkinButton2->Caption(), "Connect");
    EXPECT_EQ(form->bsSkinButton2->toolTip(), "Connect to Flight Controller");
    EXPECT_EQ(session->PortConnected, 0);
    EXPECT_EQ(session->FrameBuffer.size(), 4u);
    EXPECT_FALSE(form->Comm1->PortOpen());
    EXPECT_TRUE(capture.texts().empty());
}

TEST_F(ConsoleWindow, RefreshTwiceListsEachPortOnceWithTheFirstSelected)
{
    StartWindow({"/tmp/ttyV0"});
    form->bsSkinComboBox1->SetItemIndex(2);
    Click("bsSkinButton1");
    Click("bsSkinButton1");
    EXPECT_EQ(form->bsSkinComboBox1->Items(),
              (std::vector<std::string>{"/tmp/ttyV0", "/dev/ttyUSB0", "/dev/ttyACM0"}));
    EXPECT_EQ(form->bsSkinComboBox1->Text(), "/tmp/ttyV0");
}

TEST_F(ConsoleWindow, LaterActivationKeepsTheListAndTheUsersChoice)
{
    StartWindow({"/tmp/ttyV0"});
    form->bsSkinComboBox1->SetItemIndex(1);

    QWidget other;
    other.show();
    other.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
    form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    QCoreApplication::processEvents();

    EXPECT_EQ(form->bsSkinComboBox1->Count(), 3);
    EXPECT_EQ(form->bsSkinComboBox1->Text(), "/dev/ttyUSB0");
}

TEST_F(ConsoleWindow, FirstShowingListsThePortsAndALaterActivationKeepsThem)
{
    session = std::make_unique<console::ConsoleSession>(
        serial::PortDiscovery({"/tmp/ttyV0"}, [] { return SystemPortsForTests(); }));
    form = std::make_unique<console::TForm1>(*session);
    // No window manager: shown, and not activated (the event loop has not run).
    form->show();
    EXPECT_EQ(form->bsSkinComboBox1->Items(),
              (std::vector<std::string>{"/tmp/ttyV0", "/dev/ttyUSB0", "/dev/ttyACM0"}));
    EXPECT_EQ(form->bsSkinComboBox1->Text(), "/tmp/ttyV0");

    form->bsSkinComboBox1->SetItemIndex(2);
    form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    QCoreApplication::processEvents();
    EXPECT_EQ(form->bsSkinComboBox1->Count(), 3);
    EXPECT_EQ(form->bsSkinComboBox1->Text(), "/dev/ttyACM0");
}

TEST_F(ConsoleWindow, ConnectWithAnEmptyListDoesNothing)
{
    session = std::make_unique<console::ConsoleSession>(serial::PortDiscovery({}, [] {
        return std::vector<std::string>{};
    }));
    form = std::make_unique<console::TForm1>(*session);
    form->show();
    Click("bsSkinButton2");
    EXPECT_EQ(form->bsSkinButton2->Caption(), "Connect");
    EXPECT_EQ(session->PortConnected, 0);
    EXPECT_TRUE(capture.texts().empty());
}

TEST_F(ConsoleWindow, DisconnectAfterAFailedOpenClosesAndClearsTheFlag)
{
    StartWindow({"/tmp/flightdesk-test-no-such-port"});
    Click("bsSkinButton2");
    ASSERT_FALSE(capture.texts().empty());
    EXPECT_EQ(capture.texts()[0].rfind("Error opening serial port", 0), 0u) << capture.texts()[0];
    EXPECT_EQ(form->bsSkinButton2->Caption(), "Disconnect") << "the window shows the attempt as connected";
    EXPECT_EQ(session->PortConnected, 1);

    Click("bsSkinButton2");
    EXPECT_EQ(form->bsSkinButton2->Caption(), "Connect");
    EXPECT_EQ(session->PortConnected, 0);
    EXPECT_FALSE(form->Comm1->PortOpen());
}

TEST_F(ConnectedConsole, ConnectOpensTheChosenDeviceAndDisconnectClosesIt)
{
    EXPECT_EQ(session->PortConnected, 1);
    EXPECT_EQ(form->Comm1->BaudRate(), 115200);
    Click("bsSkinButton2");
    EXPECT_EQ(form->bsSkinButton2->Caption(), "Connect");
    EXPECT_EQ(session->PortConnected, 0);
    EXPECT_FALSE(form->Comm1->PortOpen());
    EXPECT_TRUE(capture.texts().empty()) << capture.texts()[0];
}

TEST_F(ConsoleWindow, AnErrorInAHandlerIsReportedWithAFullStopAndTheWindowGoesOn)
{
    StartWindow({});
    platform::SetApplicationTitle("");
    // A channel box holding something that is not a number: its change handler
    // fails, the report shows why, and the gauge keeps its value.
    form->bsSkinEdit10->setText(QStringLiteral("15x0"));
    ASSERT_EQ(capture.messages().size(), 1u);
    EXPECT_EQ(capture.messages()[0].text, "'15x0' is not a valid integer value.");
    EXPECT_EQ(capture.messages()[0].caption, "");
    EXPECT_EQ(capture.messages()[0].icon, platform::MessageIcon::Error);
    EXPECT_EQ(form->bsSkinGauge1->Progress(), 1500);
}

} // namespace
} // namespace consoletest
