#include "ConsoleWindowFixture.h"

#include "LocaleNumbers.h"
#include "WidgetsLook.h"

#include <QApplication>

namespace consoletest {

Bytes WordsFrame(std::uint8_t type, std::uint16_t w0, std::uint16_t w1, std::uint16_t w2)
{
    protocol::TelemetryFrame frame = protocol::TelemetryFrame::OfType(type);
    frame.setWord(0, w0);
    frame.setWord(1, w1);
    frame.setWord(2, w2);
    return Bytes(frame.bytes.begin(), frame.bytes.end());
}

Bytes PayloadFrame(std::uint8_t type, std::array<std::uint8_t, 6> payload)
{
    protocol::TelemetryFrame frame = protocol::TelemetryFrame::OfType(type);
    for (std::size_t i = 0; i < payload.size(); ++i)
        frame.setPayload(i, payload[i]);
    return Bytes(frame.bytes.begin(), frame.bytes.end());
}

const std::vector<std::string>& SystemPortsForTests()
{
    static const std::vector<std::string> ports{"/dev/ttyUSB0", "/dev/ttyACM0"};
    return ports;
}

void ConsoleWindow::StartWindow(const std::vector<std::string>& namedPorts)
{
    platform::ApplyLook(*qApp);
    session = std::make_unique<console::ConsoleSession>(
        serial::PortDiscovery(namedPorts, [] { return SystemPortsForTests(); }));
    form = std::make_unique<console::TForm1>(*session);
    form->show();
    form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    // The activation event is delivered through the event loop.
    ASSERT_TRUE(QTest::qWaitFor([&] { return form->bsSkinComboBox1->Count() > 0; }, 10000));
}

void ConsoleWindow::TearDown()
{
    if (form && form->Comm1->PortOpen())
        form->Comm1->SetPortOpen(false);
    form.reset();
}

void ConnectedConsole::SetUp()
{
    StartWindow({pty.slavePath()});
    ASSERT_EQ(form->bsSkinComboBox1->Text(), pty.slavePath());
    Click("bsSkinButton2");
    ASSERT_EQ(form->bsSkinButton2->Caption(), "Disconnect");
    ASSERT_TRUE(form->Comm1->PortOpen()) << ::testing::PrintToString(capture.texts());
}

void ConnectedConsole::Send(const std::vector<Bytes>& frames)
{
    Bytes stream;
    for (const Bytes& frame : frames)
        stream.insert(stream.end(), frame.begin(), frame.end());
    // The marker: a position frame whose HAC no test uses (latitude -90,
    // longitude 120).
    const std::uint16_t marker = static_cast<std::uint16_t>(60000 + ++markers_);
    const Bytes markerFrame = WordsFrame(0xA7, 0, 30000, marker);
    stream.insert(stream.end(), markerFrame.begin(), markerFrame.end());
    pty.writeMaster(stream);
    const std::string shown = platform::FormatInteger(marker);
    ASSERT_TRUE(QTest::qWaitFor([&] { return form->bsSkinEdit30->Text() == shown; }, 10000))
        << "the window did not show the frames written to the port";
}

} // namespace consoletest
