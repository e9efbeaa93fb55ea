#include "CommandValueEncoding.h"

#include "Exception.h"
#include "NumberFormat.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace protocol {

std::uint16_t EncodeDecimal(std::string_view text, int scale, char separator)
{
    const double product = platform::StrToFloat(text, separator) * scale;
    if (!std::isfinite(product))
        throw platform::EConvertError("'" + std::string(text) + "' is not a valid floating point value");
    // fmod is exact, so this is the true low 16 bits of the truncated integer
    // even where that integer would not fit any integer type.
    double low = std::fmod(std::trunc(product), 65536.0);
    if (low < 0)
        low += 65536.0;
    return static_cast<std::uint16_t>(low);
}

std::uint16_t EncodeInteger(std::string_view text, std::uint16_t limit)
{
    const auto low = static_cast<std::uint16_t>(static_cast<std::uint32_t>(platform::StrToInt(text)) & 0xFFFF);
    return std::min(low, limit);
}

std::optional<std::uint16_t> EncodeChoice(std::string_view text, std::span<const std::string_view> names)
{
    const auto found = std::find(names.begin(), names.end(), text);
    if (found == names.end())
        return std::nullopt;
    return static_cast<std::uint16_t>(found - names.begin());
}

} // namespace protocol
