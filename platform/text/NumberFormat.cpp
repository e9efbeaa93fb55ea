#include "NumberFormat.h"

#include "Exception.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <limits>
#include <system_error>

namespace platform {
namespace {

// Longest fixed-point text of a double: 309 integer digits, sign, separator and
// the few decimals we print.
constexpr std::size_t kTextCapacity = 400;

bool IsBlank(char c) { return c == ' ' || c == '\t'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// std::to_chars always writes '.'; the user's separator goes in afterwards, and
// a minus in front of nothing but zeros goes away ("-0.00" says something the
// value does not).
std::string Localise(const char* first, const char* last, char separator)
{
    std::string text(first, last);
    std::replace(text.begin(), text.end(), '.', separator);
    const bool onlyZeros = std::none_of(text.begin(), text.end(),
                                        [](char c) { return c >= '1' && c <= '9'; });
    if (!text.empty() && text.front() == '-' && onlyZeros)
        text.erase(0, 1);
    return text;
}

[[noreturn]] void ThrowNotFloat(std::string_view text)
{
    throw EConvertError("'" + std::string(text) + "' is not a valid floating point value");
}

[[noreturn]] void ThrowNotInteger(std::string_view text)
{
    throw EConvertError("'" + std::string(text) + "' is not a valid integer value");
}

// The pieces of a number text that passed the grammar, rewritten in the
// C form that std::from_chars reads ('.' separator, no '+').
struct ScannedNumber {
    std::string cText;
    bool valid = false;
    // Rough decimal order of magnitude of the value (saturated); tells an
    // underflow (reads as zero) from an overflow (an error) when from_chars
    // reports a value out of range.
    long long order = 0;
};

ScannedNumber ScanFloat(std::string_view text, char separator)
{
    ScannedNumber number;
    std::size_t i = 0;
    const std::size_t n = text.size();
    while (i < n && IsBlank(text[i]))
        ++i;
    if (i < n && (text[i] == '+' || text[i] == '-')) {
        if (text[i] == '-')
            number.cText += '-';
        ++i;
    }
    std::size_t mantissaDigits = 0;
    long long significantIntegerDigits = 0;
    long long leadingFractionZeros = 0;
    bool seenNonZero = false;
    while (i < n && IsDigit(text[i])) {
        seenNonZero = seenNonZero || text[i] != '0';
        if (seenNonZero)
            ++significantIntegerDigits;
        number.cText += text[i++];
        ++mantissaDigits;
    }
    if (i < n && text[i] == separator) {
        number.cText += '.';
        ++i;
        while (i < n && IsDigit(text[i])) {
            if (!seenNonZero && text[i] == '0')
                ++leadingFractionZeros;
            seenNonZero = seenNonZero || text[i] != '0';
            number.cText += text[i++];
            ++mantissaDigits;
        }
    }
    if (mantissaDigits == 0)
        return number;
    long long exponent = 0;
    if (i < n && (text[i] == 'e' || text[i] == 'E')) {
        number.cText += 'e';
        ++i;
        bool negative = false;
        if (i < n && (text[i] == '+' || text[i] == '-')) {
            negative = text[i] == '-';
            number.cText += text[i++];
        }
        std::size_t exponentDigits = 0;
        while (i < n && IsDigit(text[i])) {
            exponent = std::min(exponent * 10 + (text[i] - '0'), 1'000'000'000LL);
            number.cText += text[i++];
            ++exponentDigits;
        }
        if (exponentDigits == 0)
            return number;
        if (negative)
            exponent = -exponent;
    }
    while (i < n && IsBlank(text[i]))
        ++i;
    number.valid = i == n;
    number.order = (significantIntegerDigits > 0 ? significantIntegerDigits : -leadingFractionZeros) + exponent;
    return number;
}

} // namespace

std::string FormatFixed(double value, int decimals, char separator)
{
    std::array<char, kTextCapacity> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                      std::chars_format::fixed, decimals);
    return Localise(buffer.data(), result.ptr, separator);
}

std::string FormatGeneral(double value, char separator)
{
    std::array<char, kTextCapacity> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                      std::chars_format::general, 15);
    return Localise(buffer.data(), result.ptr, separator);
}

std::string FormatInteger(std::int64_t value)
{
    std::array<char, 24> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value);
    return std::string(buffer.data(), result.ptr);
}

double StrToFloat(std::string_view text, char separator)
{
    const ScannedNumber number = ScanFloat(text, separator);
    if (!number.valid)
        ThrowNotFloat(text);
    double value = 0.0;
    const char* first = number.cText.data();
    const char* last = first + number.cText.size();
    const auto [end, error] = std::from_chars(first, last, value);
    if (error == std::errc::result_out_of_range && number.order < 0)
        return number.cText.front() == '-' ? -0.0 : 0.0;
    if (error != std::errc() || end != last)
        ThrowNotFloat(text);
    return value;
}

std::int32_t StrToInt(std::string_view text)
{
    std::size_t i = 0;
    while (i < text.size() && IsBlank(text[i]))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    // from_chars reads no sign of its own but a '-', so the digits alone go in
    // as unsigned and the sign is applied with a range check of our own.
    const std::string_view digits = text.substr(i);
    if (digits.empty() || !IsDigit(digits.front()))
        ThrowNotInteger(text);
    std::uint64_t magnitude = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), magnitude);
    constexpr std::uint64_t kMaxPositive = std::numeric_limits<std::int32_t>::max();
    if (error != std::errc() || end != digits.data() + digits.size() ||
        magnitude > kMaxPositive + (negative ? 1 : 0))
        ThrowNotInteger(text);
    const auto signedValue = negative ? -static_cast<std::int64_t>(magnitude) : static_cast<std::int64_t>(magnitude);
    return static_cast<std::int32_t>(signedValue);
}

} // namespace platform
