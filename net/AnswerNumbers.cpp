#include "net/AnswerNumbers.h"

#include <cmath>
#include <limits>
#include <optional>

namespace
{
bool isDigit (char c)
{
    return c >= '0' && c <= '9';
}

bool isNumberCharacter (char c)
{
    return isDigit (c) || c == '.' || c == 'e' || c == 'E' || c == '+' || c == '-';
}

std::size_t endOfDigits (const std::string& text, std::size_t from)
{
    while (from < text.size() && isDigit (text[from]))
        ++from;
    return from;
}

/** Digits of [from, to) without leading zeros: how JUCE's accumulators see them. */
std::string significantDigits (const std::string& text, std::size_t from, std::size_t to)
{
    while (from < to && text[from] == '0')
        ++from;
    return text.substr (from, to - from);
}

bool fitsInt64 (const std::string& digits)
{
    static const std::string largest = std::to_string (std::numeric_limits<juce::int64>::max());
    return digits.size() < largest.size() || (digits.size() == largest.size() && digits <= largest);
}

/** The leading decimal integer of text, read as juce::String's conversions read it (spaces,
    an optional "-", digits; 0 without digits); nothing when it leaves the 64-bit range. */
std::optional<juce::int64> leadingInteger (const juce::String& text)
{
    const auto utf8 = text.trimStart().toStdString();
    const auto negative = ! utf8.empty() && utf8[0] == '-';
    const auto start = negative ? std::size_t (1) : std::size_t (0);
    const auto digits = significantDigits (utf8, start, endOfDigits (utf8, start));
    if (! fitsInt64 (digits))
        return std::nullopt;
    const auto value = digits.empty() ? juce::int64 (0) : std::stoll (digits);
    return negative ? -value : value;
}
} // namespace

std::optional<std::string> withUnrepresentableNumbersAsZero (const std::string& body)
{
    std::string result;
    result.reserve (body.size());
    char quote = 0;

    for (std::size_t i = 0; i < body.size();)
    {
        const auto c = body[i];
        if (quote == 0 && c == '-')
        {
            // JUCE takes the character after a "-" (and any space) as a digit, whatever it is.
            auto next = i + 1;
            while (next < body.size() &&
                   (body[next] == ' ' || (body[next] >= 9 && body[next] <= 13)))
                ++next;
            if (next == body.size() || ! isDigit (body[next]))
                return std::nullopt;
        }
        if (quote != 0 || ! isDigit (c))
        {
            if (quote != 0 && c == '\\' && i + 1 < body.size())
                result += body[i++];
            else if (quote != 0 && c == quote)
                quote = 0;
            else if (quote == 0 && (c == '"' || c == '\''))
                quote = c;
            result += body[i++];
            continue;
        }

        // A number as JUCE reads it: integer digits, then perhaps a fraction and an exponent.
        const auto start = i;
        i = endOfDigits (body, i);
        auto fits = fitsInt64 (significantDigits (body, start, i));
        if (i < body.size() && body[i] == '.')
            i = endOfDigits (body, i + 1);
        if (i < body.size() && (body[i] == 'e' || body[i] == 'E'))
        {
            auto digits = i + 1;
            if (digits < body.size() && (body[digits] == '+' || body[digits] == '-'))
                ++digits;
            const auto end = endOfDigits (body, digits);
            if (end > digits)
            {
                fits = fits && significantDigits (body, digits, end).size() <= 4;
                i = end;
            }
        }
        // A number glued to more number characters is no JSON (JUCE refuses it too); were it
        // replaced, its 0 would join them into a new number ("1e99999e999" to "0e999").
        if (i < body.size() && isNumberCharacter (body[i]))
            return std::nullopt;
        result += fits ? body.substr (start, i - start) : std::string ("0");
    }
    return result;
}

int versionNumberOf (const juce::var& value)
{
    constexpr auto smallest = std::numeric_limits<int>::min();
    constexpr auto largest = std::numeric_limits<int>::max();

    if (value.isString())
    {
        const auto number = leadingInteger (value.toString());
        return number && *number >= smallest && *number <= largest ? static_cast<int> (*number) : 0;
    }
    if (value.isDouble())
    {
        // Converting a double out of range is undefined, so the range is looked at first.
        const auto number = static_cast<double> (value);
        return std::isfinite (number) && number > smallest - 1.0 && number < largest + 1.0
                   ? static_cast<int> (number)
                   : 0;
    }
    if (value.isInt64())
    {
        const auto number = static_cast<juce::int64> (value);
        return number >= smallest && number <= largest ? static_cast<int> (number) : 0;
    }
    return static_cast<int> (value);
}

juce::int64 byteCountOf (const juce::var& value)
{
    constexpr juce::int64 largest = 9000000000000000000;

    if (value.isString())
    {
        const auto number = leadingInteger (value.toString());
        return number && *number >= 0 && *number <= largest ? *number : 0;
    }

    // A double out of the 64-bit range cannot even be converted safely, so it is looked at first.
    const auto number = static_cast<double> (value);
    if (! std::isfinite (number) || number < 0.0 || number > 9.0e18)
        return 0;
    return value.isDouble() ? static_cast<juce::int64> (number) : static_cast<juce::int64> (value);
}
