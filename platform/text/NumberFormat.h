#pragma once
// The number texts of both programs, written and read in one place so that a
// value printed into a box reads back as the same number. Locale-free: the
// decimal separator is a parameter (LocaleNumbers.h supplies the user's).
#include <cstdint>
#include <string>
#include <string_view>

namespace platform {

// Fixed point with exactly `decimals` digits after the separator ("0.00" is
// FormatFixed(v, 2, sep)): rounded to nearest, at least one digit before the
// separator, leading minus, no grouping. A value that rounds to zero prints
// without a minus sign.
std::string FormatFixed(double value, int decimals, char separator);

inline std::string FormatTwoDecimals(double value, char separator) { return FormatFixed(value, 2, separator); }
inline std::string FormatFourDecimals(double value, char separator) { return FormatFixed(value, 4, separator); }
inline std::string FormatOneDecimal(double value, char separator) { return FormatFixed(value, 1, separator); }

// Fifteen significant digits, no trailing zeros, no separator for whole
// values: 12.600000000000001 prints "12.6", 12.0 prints "12". Magnitudes from
// 1e-4 up to 1e15 print without exponent; beyond that an exponent is used
// ("1e+20"), which none of the displayed quantities reach.
std::string FormatGeneral(double value, char separator);

std::string FormatInteger(std::int64_t value);

// Reads a decimal number: blanks (space, tab) before and after, optional sign,
// digits with an optional separator and fraction, optional exponent (E or e,
// optional sign, digits); at least one mantissa digit. Too small a magnitude
// reads as zero. Throws EConvertError "'<text>' is not a valid floating point
// value" for anything else, including a magnitude beyond double's range.
double StrToFloat(std::string_view text, char separator);

// Reads a decimal integer: blanks before, optional sign, digits, nothing after;
// must fit a signed 32-bit integer. Throws EConvertError "'<text>' is not a
// valid integer value" otherwise.
std::int32_t StrToInt(std::string_view text);

} // namespace platform
