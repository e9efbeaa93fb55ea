#pragma once
// The settings stored in the controller, as the console's command frames set them
// (raw 16-bit values), starting from the values "Default All Setting" sends.
#include "CommandFrame.h"
#include "FlightModel.h"

#include <array>
#include <cstdint>
#include <string>

namespace sim {

class ControllerSettings {
public:
    ControllerSettings();

    // Stores a setting command's value; flags (the calibrations) are not settings.
    void set(protocol::Command command, uint16_t value);
    uint16_t raw(protocol::Command command) const { return values_[Index(command)]; }

    // The stored values as the telemetry reports them.
    SettingsEcho echo() const;
    // A value as the console shows it: "6.8", "QAV250", "1000".
    static std::string Shown(protocol::Command command, uint16_t value);

private:
    static std::size_t Index(protocol::Command command) { return static_cast<std::size_t>(command); }
    double shown(protocol::Command command) const;

    std::array<uint16_t, 11> values_{};
};

} // namespace sim
