#pragma once
// The four-byte frames the console sends to the controller: group byte (0x55
// or 0x66), 16-bit value low byte first, command code. No length, no checksum,
// no reply. A command is the pair (group, code): codes 0xAA..0xAC exist in both
// groups with different meanings.
#include "CommandValueEncoding.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

namespace protocol {

constexpr std::size_t kCommandFrameSize = 4;
constexpr std::uint8_t kFlightGroup = 0x55; // gains, voltage, airframe, receiver, calibrations
constexpr std::uint8_t kLimitsGroup = 0x66; // range and height limits, armed speed

struct CommandFrame {
    std::array<std::uint8_t, kCommandFrameSize> bytes{};

    static CommandFrame Make(std::uint8_t group, std::uint16_t value, std::uint8_t code)
    {
        return CommandFrame{{group, static_cast<std::uint8_t>(value & 0xFF), static_cast<std::uint8_t>(value >> 8), code}};
    }

    std::uint8_t group() const { return bytes[0]; }
    std::uint16_t value() const { return static_cast<std::uint16_t>(bytes[1] | bytes[2] << 8); }
    std::uint8_t code() const { return bytes[3]; }

    friend bool operator==(const CommandFrame&, const CommandFrame&) = default;
};

enum class Command {
    ImuCalibration,
    AuxGain,
    GyroGain,
    AltGain,
    LowVoltage,
    AirframeType,
    StickCalibration,
    ReceiverType,
    RangeLimit,
    HeightLimit,
    ArmedSpeed,
};

enum class ValueEncoding {
    Flag,    // a constant chosen by the button (1 start, 0 stop)
    Decimal, // EncodeDecimal with `scale`
    Integer, // EncodeInteger with `limit`
    Choice,  // EncodeChoice over `choices`
};

struct CommandInfo {
    Command command;
    std::string_view name;
    std::uint8_t group;
    std::uint8_t code;
    ValueEncoding encoding;
    int scale;                              // Decimal only
    std::uint16_t limit;                    // Integer only
    std::span<const std::string_view> choices; // Choice only
    std::optional<std::uint16_t> defaultValue; // what "Default All Setting" sends; empty: not sent
};

// All eleven commands, in the order of the controller's command table.
std::span<const CommandInfo> CommandTable();

// The nine commands "Default All Setting" sends, in its order (gyro gain
// first, then AUX gain, ...), each with its defaultValue.
std::span<const Command> DefaultSettingsSequence();

const CommandInfo& InfoOf(Command command);

// The command a (group, code) pair names, if any.
const CommandInfo* FindCommand(std::uint8_t group, std::uint8_t code);

CommandFrame BuildCommandFrame(Command command, std::uint16_t value);

// The frame a Save button sends for a control's text, with the command's own
// encoding and the given decimal separator. Throws platform::EConvertError for
// a text that is not a number (decimal and integer encodings). Empty for a
// choice whose text is none of its names (a list that shows nothing): nothing
// is sent then. Flag commands take no text: use the overload with a value.
std::optional<CommandFrame> BuildCommandFrame(Command command, std::string_view text, char separator);

} // namespace protocol
