#include "PortDiscovery.h"

#include <QSerialPortInfo>

#include <algorithm>
#include <fstream>

namespace serial {

PortDiscovery::PortDiscovery(std::vector<std::string> namedPorts)
    : PortDiscovery(std::move(namedPorts), ListSystemSerialPorts)
{
}

PortDiscovery::PortDiscovery(std::vector<std::string> namedPorts, Enumerator systemPorts)
    : namedPorts_(std::move(namedPorts)), systemPorts_(std::move(systemPorts))
{
}

std::vector<std::string> PortDiscovery::Scan() const
{
    std::vector<std::string> ports;
    auto addOnce = [&ports](const std::string& name) {
        if (std::find(ports.begin(), ports.end(), name) == ports.end())
            ports.push_back(name);
    };
    for (const std::string& name : namedPorts_)
        addOnce(name);
    if (systemPorts_)
        for (const std::string& name : systemPorts_())
            addOnce(name);
    return ports;
}

std::vector<std::string> ListSystemSerialPorts()
{
    std::vector<std::string> ports;
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts()) {
#ifdef _WIN32
        ports.push_back(info.portName().toStdString());
#else
        if (!IsPlaceholderUart(info.portName().toStdString()))
            ports.push_back(info.systemLocation().toStdString());
#endif
    }
    return ports;
}

bool IsPlaceholderUart(const std::string& portName, const std::string& sysfsClassTty)
{
    if (portName.rfind("ttyS", 0) != 0)
        return false;
    std::ifstream typeFile(sysfsClassTty + "/" + portName + "/type");
    int type = -1;
    return typeFile >> type && type == 0;
}

std::optional<int> ComPortNumberOf(const std::string& name)
{
    for (int n = 1; n <= 15; ++n)
        if (name == "COM" + std::to_string(n))
            return n;
    return std::nullopt;
}

std::string DevicePathOf(const std::string& name)
{
#ifdef _WIN32
    if (name.rfind("\\\\", 0) != 0 && name.find_first_of("\\/") == std::string::npos)
        return "\\\\.\\" + name;
#endif
    return name;
}

} // namespace serial
