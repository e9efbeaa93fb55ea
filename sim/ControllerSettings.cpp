#include "ControllerSettings.h"

#include <charconv>

namespace sim {

using protocol::Command;

ControllerSettings::ControllerSettings()
{
    for (const auto& info : protocol::CommandTable())
        if (info.defaultValue)
            values_[Index(info.command)] = *info.defaultValue;
}

void ControllerSettings::set(Command command, uint16_t value)
{
    if (protocol::InfoOf(command).encoding != protocol::ValueEncoding::Flag)
        values_[Index(command)] = value;
}

// A decimal setting is commanded as the shown value times its scale; the telemetry
// reports the shown value (with its own scale, which the protocol applies).
double ControllerSettings::shown(Command command) const
{
    const auto& info = protocol::InfoOf(command);
    const double value = raw(command);
    return info.encoding == protocol::ValueEncoding::Decimal ? value / info.scale : value;
}

SettingsEcho ControllerSettings::echo() const
{
    SettingsEcho e;
    e.gyroGain = shown(Command::GyroGain);
    e.auxGain = shown(Command::AuxGain);
    e.altGain = shown(Command::AltGain);
    e.lowVoltage = shown(Command::LowVoltage);
    e.airframe = raw(Command::AirframeType);
    e.receiverType = raw(Command::ReceiverType);
    e.rangeLimit = raw(Command::RangeLimit);
    e.heightLimit = raw(Command::HeightLimit);
    e.armedSpeed = raw(Command::ArmedSpeed);
    return e;
}

std::string ControllerSettings::Shown(Command command, uint16_t value)
{
    const auto& info = protocol::InfoOf(command);
    switch (info.encoding) {
    case protocol::ValueEncoding::Decimal: {
        char text[32]; // shortest form, whatever the locale: 6.8, 12, 10.8
        const auto end = std::to_chars(text, text + sizeof text, static_cast<double>(value) / info.scale).ptr;
        return std::string(text, end);
    }
    case protocol::ValueEncoding::Choice:
        if (value < info.choices.size())
            return std::string(info.choices[value]);
        return "index " + std::to_string(value) + ", not one of the choices";
    default:
        return std::to_string(value);
    }
}

} // namespace sim
