// Any text typed into a number box: reading it either gives a number or raises
// the conversion error, never anything else, and a number read back from its
// own printed form is the same number (the console parses what it printed).
#include "Exception.h"
#include "NumberFormat.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    for (const char separator : {'.', ','}) {
        try {
            const double value = platform::StrToFloat(text, separator);
            if (!std::isfinite(value))
                std::abort();
            const std::string printed = platform::FormatGeneral(value, separator);
            const double again = platform::StrToFloat(printed, separator);
            if (platform::FormatGeneral(again, separator) != printed)
                std::abort();
        } catch (const platform::EConvertError&) {
        }
    }
    try {
        const std::int32_t value = platform::StrToInt(text);
        if (platform::StrToInt(platform::FormatInteger(value)) != value)
            std::abort();
    } catch (const platform::EConvertError&) {
    }
    return 0;
}
