// Which port the console talks to: the port list, Refresh, Connect/Disconnect.
#include "MainWindow.h"

#include <algorithm>

namespace console {

namespace {

const char* const ConnectCaption = "Connect";
const char* const DisconnectCaption = "Disconnect";

} // namespace

// Appends the ports on offer and selects the first item, whether or not
// anything was found.
void TForm1::ScanPorts()
{
    for (const std::string& port : session_.Ports.Scan())
        bsSkinComboBox1->AddItem(port);
    bsSkinComboBox1->SetItemIndex(0);
}

// The first activation (or the first showing, see event()) fills the list and
// selects its first item. Later ones (after a message box, or when the user
// comes back to the window) look again, because an adapter may have been plugged
// in meanwhile, but neither repeat the names already listed nor drop the user's
// choice.
void TForm1::bsBusinessSkinForm1Activate(TObject*)
{
    if (!activatedBefore_) {
        activatedBefore_ = true;
        ScanPorts();
        return;
    }
    const std::string chosen = bsSkinComboBox1->Text();
    const std::vector<std::string> ports = session_.Ports.Scan();
    if (ports == bsSkinComboBox1->Items())
        return;
    bsSkinComboBox1->Clear();
    for (const std::string& port : ports)
        bsSkinComboBox1->AddItem(port);
    const auto kept = std::find(ports.begin(), ports.end(), chosen);
    bsSkinComboBox1->SetItemIndex(kept != ports.end() ? int(kept - ports.begin()) : 0);
}

void TForm1::bsSkinButton1Click(TObject*)
{
    bsSkinComboBox1->Clear();
    ScanPorts();
}

// The caption is the connection state as the user sees it. A failed open is
// reported by Comm1 itself; the window still counts as connected until the user
// disconnects, so one click always undoes the last.
void TForm1::bsSkinButton2Click(TObject*)
{
    if (bsSkinButton2->Caption() == ConnectCaption) {
        const std::string name = bsSkinComboBox1->Text();
        if (name.empty())
            return;
        bsSkinButton2->SetCaption(DisconnectCaption);
        OpenPortByName(name);
        session_.PortConnected = 1;
    } else {
        bsSkinButton2->SetCaption(ConnectCaption);
        Comm1->SetPortOpen(false);
        session_.PortConnected = 0;
    }
}

// "COM1" … "COM15" select the port by number; any other name is a device path
// (the system's ports are listed by their device names).
void TForm1::OpenPortByName(const std::string& name)
{
    if (const std::optional<int> n = serial::ComPortNumberOf(name))
        Comm1->SetCommPort(static_cast<TComPortNumber>(*n - 1));
    else
        Comm1->SetDevicePath(serial::DevicePathOf(name));
    Comm1->SetPortOpen(true);
}

} // namespace console
