#pragma once
// The console connected to a pseudo-terminal, read from the controller's side:
// what the settings panels put on the wire.
#include "ConsoleWindowFixture.h"

#include <QLocale>

#include <functional>

namespace settingstest {

using consoletest::Bytes;

// What "Stop RC Stick Calibration" sends. Clicked after an action, it marks the
// end of what the action wrote: anything extra would stand before it.
inline const Bytes StopCalibrationFrame{0x55, 0x00, 0x00, 0xBA};

Bytes Then(Bytes first, const Bytes& second);

// Something the user does to the window before clicking.
using Action = std::function<void(console::TForm1&)>;
// Replaces the edit's text by typing, as the user would.
Action Type(const char* edit, const char* text);
// Drags the slider through the positions, in order.
Action Slide(const char* slider, std::vector<int> positions);
// Picks a name from the drop-down list.
Action Pick(const char* list, const char* name);

class SettingsOnPty : public consoletest::ConnectedConsole {
protected:
    // Clicks "Stop RC Stick Calibration" and returns what reached the
    // controller's side until its frame: `count` bytes written before, then it.
    Bytes WrittenUpToMarker(std::size_t count);
};

// The same with a decimal comma, as a German user would have it.
class SettingsOnPtyWithComma : public SettingsOnPty {
protected:
    void SetUp() override;
    void TearDown() override;
};

} // namespace settingstest
