#pragma once
// The real window on the offscreen platform, shown and activated as a user
// would see it, with a port list the test controls and every message box
// captured.
#include "ConsoleSession.h"
#include "MainWindow.h"
#include "Messages.h"
#include "PtyPair.h"
#include "TelemetryFrame.h"

#include <QTest>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace consoletest {

using Bytes = std::vector<std::uint8_t>;

// A telemetry frame from its three payload words.
Bytes WordsFrame(std::uint8_t type, std::uint16_t w0, std::uint16_t w1, std::uint16_t w2);
// A telemetry frame from its six payload bytes.
Bytes PayloadFrame(std::uint8_t type, std::array<std::uint8_t, 6> payload);

// Stands in for the system's serial ports, which differ from machine to machine.
const std::vector<std::string>& SystemPortsForTests();

class ConsoleWindow : public ::testing::Test {
protected:
    void TearDown() override;

    // Creates the session and the window, shows it and waits for its first
    // activation.
    void StartWindow(const std::vector<std::string>& namedPorts);

    template <typename T>
    T* Find(const char* name)
    {
        T* widget = form->findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }
    platform::TEdit* Edit(const char* name) { return Find<platform::TEdit>(name); }
    platform::TButton* Button(const char* name) { return Find<platform::TButton>(name); }
    platform::TComboBox* ComboBox(const char* name) { return Find<platform::TComboBox>(name); }

    void Click(const char* buttonName) { QTest::mouseClick(Button(buttonName), Qt::LeftButton); }

    platform::MessageCapture capture;
    std::unique_ptr<console::ConsoleSession> session;
    std::unique_ptr<console::TForm1> form;
};

// The window connected to a pseudo-terminal: the test plays the controller on
// the master side.
class ConnectedConsole : public ConsoleWindow {
protected:
    void SetUp() override;

    // Writes the frames and waits until the window has shown all of them: a
    // marker frame written last must have reached its field.
    void Send(const std::vector<Bytes>& frames);

    serialtest::PtyPair pty;
    int markers_ = 0;
};

} // namespace consoletest
