#pragma once
// The 16-bit value of a command frame, worked out from the text of a window
// control. Every encoding yields the low 16 bits of an integer, so a negative
// number goes out in two's complement (-5 is sent as FB FF).
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

namespace protocol {

// A decimal number (StrToFloat's grammar, the given separator) times `scale`
// (1, 10 or 100), truncated toward zero, low 16 bits: "6.8" at scale 10 is 68,
// "16.7" at scale 1 is 16, "-5" is 0xFFFB. Any finite product is taken modulo
// 2^16 exactly, however large. Throws platform::EConvertError "'<text>' is not
// a valid floating point value" for a text that is not a number, and also when
// the product overflows double (no integer to take bits of).
std::uint16_t EncodeDecimal(std::string_view text, int scale, char separator);

// A signed 32-bit integer (StrToInt's grammar), its low 16 bits read as
// unsigned, then clamped to `limit`: 6000 and -1 give 5000 at limit 5000, 70000
// gives 4464. Throws platform::EConvertError "'<text>' is not a valid integer
// value" for a text that is not such an integer.
std::uint16_t EncodeInteger(std::string_view text, std::uint16_t limit);

// The position of the first name equal to the text (exact, case-sensitive);
// empty when none is, e.g. for a list that shows no text: then there is
// nothing to send.
std::optional<std::uint16_t> EncodeChoice(std::string_view text, std::span<const std::string_view> names);

} // namespace protocol
