#pragma once
// Which serial ports to offer the user, and how a chosen name is opened. Shared by
// both programs and free of widgets: a window puts the list into its drop-down.
//
// The list holds the ports named on the command line first (so the first of
// them is the one selected after a scan), then the system's real serial ports by
// their device names: USB serial and ACM adapters and the on-board UARTs that
// exist. The Linux kernel registers a row of ttyS devices whether or not a UART
// answers behind them; those are left out.
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace serial {

class PortDiscovery {
public:
    using Enumerator = std::function<std::vector<std::string>()>;

    explicit PortDiscovery(std::vector<std::string> namedPorts = {});
    // For tests: a stand-in for the system's port list.
    PortDiscovery(std::vector<std::string> namedPorts, Enumerator systemPorts);

    // The named ports in their order, then the system's ports; each name once.
    std::vector<std::string> Scan() const;

    const std::vector<std::string>& NamedPorts() const { return namedPorts_; }

private:
    std::vector<std::string> namedPorts_;
    Enumerator systemPorts_;
};

// The system's real serial ports, in the order the system lists them: device
// paths on POSIX ("/dev/ttyUSB0"), port names on Windows ("COM3").
std::vector<std::string> ListSystemSerialPorts();

// Whether a ttyS device is a placeholder without a UART behind it, as the kernel
// reports it under sysfsClassTty ("/sys/class/tty"): a port type of 0. Devices of
// other names, or whose type cannot be read, are taken as real.
bool IsPlaceholderUart(const std::string& portName, const std::string& sysfsClassTty = "/sys/class/tty");

// The number n of a name "COM1" … "COM15" (exact, case-sensitive: "COM1" is not
// "COM10", "com3" is nothing); nullopt for every other name.
std::optional<int> ComPortNumberOf(const std::string& name);

// The device to open for a name that is not COM1 … COM15: the name itself, a
// device path; on Windows a bare "COM16" gets the device namespace prefix.
std::string DevicePathOf(const std::string& name);

} // namespace serial
