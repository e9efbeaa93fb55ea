#pragma once
// The number formats of NumberFormat.h with the user's decimal separator, for
// the windows: every number a window writes or reads back goes through these.
#include "NumberFormat.h"

#include <string>
#include <string_view>

namespace platform {

// The decimal separator of QLocale() — the system locale unless the program (or
// a test) has set another default. A separator that is not one ASCII character
// (some locales use U+066B) falls back to '.', so that writing and reading back
// stay consistent with each other.
char LocaleDecimalSeparator();

inline std::string FormatTwoDecimals(double value) { return FormatTwoDecimals(value, LocaleDecimalSeparator()); }
inline std::string FormatFourDecimals(double value) { return FormatFourDecimals(value, LocaleDecimalSeparator()); }
inline std::string FormatOneDecimal(double value) { return FormatOneDecimal(value, LocaleDecimalSeparator()); }
inline std::string FormatGeneral(double value) { return FormatGeneral(value, LocaleDecimalSeparator()); }
inline double StrToFloat(std::string_view text) { return StrToFloat(text, LocaleDecimalSeparator()); }

} // namespace platform
