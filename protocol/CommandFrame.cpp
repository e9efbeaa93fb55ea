#include "CommandFrame.h"

#include "SettingChoices.h"

#include <algorithm>
#include <stdexcept>
#include <string>

namespace protocol {
namespace {

constexpr CommandInfo Flag(Command command, std::string_view name, std::uint8_t group, std::uint8_t code)
{
    return {command, name, group, code, ValueEncoding::Flag, 0, 0, {}, std::nullopt};
}

constexpr CommandInfo Decimal(Command command, std::string_view name, std::uint8_t code, int scale,
                              std::uint16_t defaultValue)
{
    return {command, name, kFlightGroup, code, ValueEncoding::Decimal, scale, 0, {}, defaultValue};
}

constexpr CommandInfo Integer(Command command, std::string_view name, std::uint8_t code, std::uint16_t limit,
                              std::uint16_t defaultValue)
{
    return {command, name, kLimitsGroup, code, ValueEncoding::Integer, 0, limit, {}, defaultValue};
}

constexpr CommandInfo Choice(Command command, std::string_view name, std::uint8_t group, std::uint8_t code,
                             std::span<const std::string_view> choices, std::uint16_t defaultValue)
{
    return {command, name, group, code, ValueEncoding::Choice, 0, 0, choices, defaultValue};
}

constexpr CommandInfo kCommands[] = {
    Flag(Command::ImuCalibration, "ImuCalibration", kFlightGroup, 0xAA),
    Decimal(Command::AuxGain, "AuxGain", 0xAB, 10, 68),
    Decimal(Command::GyroGain, "GyroGain", 0xAC, 1, 16),
    Decimal(Command::AltGain, "AltGain", 0xAD, 100, 1200),
    Decimal(Command::LowVoltage, "LowVoltage", 0xAE, 10, 108),
    Choice(Command::AirframeType, "AirframeType", kFlightGroup, 0xAF, kAirframeNames, 1),
    Flag(Command::StickCalibration, "StickCalibration", kFlightGroup, 0xBA),
    Choice(Command::ReceiverType, "ReceiverType", kFlightGroup, 0xBB, kReceiverTypeNames, 0),
    Integer(Command::RangeLimit, "RangeLimit", 0xAA, 5000, 1000),
    Integer(Command::HeightLimit, "HeightLimit", 0xAB, 2500, 500),
    Choice(Command::ArmedSpeed, "ArmedSpeed", kLimitsGroup, 0xAC, kArmedSpeedNames, 1),
};

constexpr Command kDefaultSettingsSequence[] = {
    Command::GyroGain,     Command::AuxGain,      Command::AltGain,    Command::LowVoltage, Command::AirframeType,
    Command::ReceiverType, Command::RangeLimit,   Command::HeightLimit, Command::ArmedSpeed,
};

} // namespace

std::span<const CommandInfo> CommandTable() { return kCommands; }

std::span<const Command> DefaultSettingsSequence() { return kDefaultSettingsSequence; }

const CommandInfo& InfoOf(Command command)
{
    const auto found = std::find_if(std::begin(kCommands), std::end(kCommands),
                                    [command](const CommandInfo& info) { return info.command == command; });
    return *found;
}

const CommandInfo* FindCommand(std::uint8_t group, std::uint8_t code)
{
    const auto found = std::find_if(std::begin(kCommands), std::end(kCommands), [=](const CommandInfo& info) {
        return info.group == group && info.code == code;
    });
    return found == std::end(kCommands) ? nullptr : found;
}

CommandFrame BuildCommandFrame(Command command, std::uint16_t value)
{
    const CommandInfo& info = InfoOf(command);
    return CommandFrame::Make(info.group, value, info.code);
}

std::optional<CommandFrame> BuildCommandFrame(Command command, std::string_view text, char separator)
{
    const CommandInfo& info = InfoOf(command);
    switch (info.encoding) {
    case ValueEncoding::Decimal:
        return BuildCommandFrame(command, EncodeDecimal(text, info.scale, separator));
    case ValueEncoding::Integer:
        return BuildCommandFrame(command, EncodeInteger(text, info.limit));
    case ValueEncoding::Choice:
        if (const auto value = EncodeChoice(text, info.choices))
            return BuildCommandFrame(command, *value);
        return std::nullopt;
    case ValueEncoding::Flag:
        break;
    }
    throw std::invalid_argument(std::string(info.name) + " carries a constant, not a text");
}

} // namespace protocol
