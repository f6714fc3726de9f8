#include "net/AnswerNumbers.h"

#include <gtest/gtest.h>

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

/** The end of the number at from: digits, perhaps a fraction, perhaps an exponent with digits. */
std::size_t endOfNumber (const std::string& text, std::size_t from)
{
    auto end = endOfDigits (text, from);
    if (end < text.size() && text[end] == '.')
        end = endOfDigits (text, end + 1);
    if (end < text.size() && (text[end] == 'e' || text[end] == 'E'))
    {
        auto digits = end + 1;
        if (digits < text.size() && (text[digits] == '+' || text[digits] == '-'))
            ++digits;
        if (endOfDigits (text, digits) > digits)
            end = endOfDigits (text, digits);
    }
    return end;
}

/** Whether scanned is body with some of its whole numbers replaced by "0": numbers outside
    strings with no number character after them. */
bool differsOnlyByWholeNumbersAsZero (const std::string& body, const std::string& scanned)
{
    std::size_t j = 0;
    char quote = 0;
    for (std::size_t i = 0; i < body.size();)
    {
        const auto c = body[i];
        if (quote == 0 && isDigit (c))
        {
            const auto end = endOfNumber (body, i);
            const auto whole = end == body.size() || ! isNumberCharacter (body[end]);
            if (scanned.compare (j, end - i, body, i, end - i) == 0)
                j += end - i;
            else if (whole && j < scanned.size() && scanned[j] == '0')
                ++j;
            else
                return false;
            i = end;
            continue;
        }
        if (j == scanned.size() || scanned[j] != c)
            return false;
        if (quote != 0 && c == '\\' && i + 1 < body.size())
        {
            if (j + 1 == scanned.size() || scanned[j + 1] != body[i + 1])
                return false;
            ++i;
            ++j;
        }
        else if (quote != 0 && c == quote)
        {
            quote = 0;
        }
        else if (quote == 0 && (c == '"' || c == '\''))
        {
            quote = c;
        }
        ++i;
        ++j;
    }
    return j == scanned.size();
}

template <std::size_t count>
const char* pick (juce::Random& random, const char* const (&fragments)[count])
{
    return fragments[random.nextInt (static_cast<int> (count))];
}

/** A value made of JSON-ish fragments: often a number, or pieces glued into one (long digit
    runs, exponents with many digits, dots, signs), else a string with escapes, or stray marks. */
std::string randomValue (juce::Random& random)
{
    static const char* const digitRuns[] = { "0",
                                             "7",
                                             "12",
                                             "99999999999999999999",
                                             "9223372036854775807",
                                             "9223372036854775808",
                                             "00000000000000000000009223372036854775807",
                                             "00000000000000000000019223372036854775807" };
    static const char* const marks[] = {
        "e", "E",  "e5",   "e99999", "E-99999", "e+0000000000009", "e99999999999",
        ".", ".5", "1.25", "+",      "-"
    };
    static const char* const stringParts[] = {
        "a",         "\\\"", "\\'", "\\\\", "\\u00e9", "\\ud83d", "99999999999999999999",
        "1e99999e9", ",",    "]"
    };
    static const char* const stray[] = { "-", "- ", "+",  ".", "e",  " ",   "[",
                                         "{", "}",  "\"", "'", "\\", "null" };

    std::string value;
    const auto kind = random.nextInt (10);
    if (kind < 6)
    {
        value = random.nextInt (4) == 0 ? pick (random, { "-", "- " }) : "";
        for (int n = 1 + random.nextInt (3); --n >= 0;)
            value += random.nextBool() ? pick (random, digitRuns) : pick (random, marks);
    }
    else if (kind < 8)
    {
        const auto quote = random.nextBool() ? "\"" : "'";
        value = quote;
        for (int n = random.nextInt (4); --n >= 0;)
            value += pick (random, stringParts);
        if (random.nextInt (8) != 0)
            value += quote;
    }
    else if (kind < 9)
    {
        value = "[" + randomValue (random) + "]";
    }
    else
    {
        value = pick (random, stray);
    }
    return value;
}

/** An answer whose values sit where JUCE's parser reads them: in an array in an object. */
std::string randomAnswer (juce::Random& random)
{
    std::string answer = R"({"a":[)";
    for (int n = random.nextInt (6); n >= 0; --n)
        answer += randomValue (random) + (n > 0 ? pick (random, { ",", ",", ", ", " " }) : "");
    return answer + "]}";
}
} // namespace

TEST (AnswerNumbers, RandomAnswersOnlyLoseWholeNumbersAndNeverGainOne)
{
    // Under UndefinedBehaviorSanitizer an overflow in JUCE's parser ends the run.
    juce::Random random (20240611);
    constexpr int cases = 20000;
    int parsed = 0;
    for (int n = 0; n < cases; ++n)
    {
        const auto answer = randomAnswer (random);
        const auto scanned = withUnrepresentableNumbersAsZero (answer);
        if (! scanned)
            continue;
        // Its own output holds no number to replace: no 0 has joined the text after it.
        ASSERT_EQ (withUnrepresentableNumbersAsZero (*scanned), scanned)
            << "case " << n << ": " << answer;
        ASSERT_TRUE (differsOnlyByWholeNumbersAsZero (answer, *scanned))
            << "case " << n << ": " << answer << " -> " << *scanned;
        const auto result = juce::JSON::parse (
            juce::String::fromUTF8 (scanned->data(), static_cast<int> (scanned->size())));
        parsed += result.isObject() ? 1 : 0;
    }
    // The answers reach the parser's number reading, not only its refusals.
    EXPECT_GT (parsed, cases / 10);
}
