#pragma once
// The names of the controller's choice settings, in the order of their index.
// The telemetry echoes a setting as this index and the command frames carry
// the index of the chosen name, so both directions use these lists.
#include <array>
#include <string_view>

namespace protocol {

constexpr std::array<std::string_view, 8> kAirframeNames{"+4", "X4", "+6", "X6", "Y6", "Fh8", "X8", "QAV250"};
constexpr std::array<std::string_view, 3> kReceiverTypeNames{"PWM", "SBUS", "PPM"};
constexpr std::array<std::string_view, 3> kArmedSpeedNames{"High", "Low", "Off"};

} // namespace protocol
