#include "net/AnswerNumbers.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <optional>

namespace
{
/** One piece of a random answer, with what the scan must make of it: its text, or "0" for a
    number JUCE cannot hold. */
struct Token
{
    enum Kind
    {
        number,
        minus,    // a "-" standing alone: a number must follow, else the answer is no JSON
        separator // anything else the scan leaves alone: strings, brackets, commas, words
    };

    Kind kind;
    std::string text;
    std::string scanned;
    /** A number followed by number characters it cannot take in (a second exponent, a sign):
        no JSON. */
    bool glued = false;
};

template <std::size_t count>
std::string pick (juce::Random& random, const char* const (&choices)[count])
{
    return choices[random.nextInt (static_cast<int> (count))];
}

/** A number with its parts chosen at random, and whether JUCE can hold it: an integer part of
    at most 2^63 - 1 and an exponent of at most four digits, leading zeros aside. Now and then
    glued to characters that no number takes in after the parts it has. */
Token randomNumber (juce::Random& random)
{
    static const char* const integers[] = { "0",
                                            "7",
                                            "12",
                                            "9223372036854775807",
                                            "00000000000000000009223372036854775807",
                                            "9223372036854775808",
                                            "00000000000000000019223372036854775807",
                                            "99999999999999999999" };
    static const char* const exponents[] = { "5", "9999", "0000000000009", "10000", "99999999999" };
    const auto integer = random.nextInt (8);
    auto text = pick (random, { "", "", "-", "- " }) + std::string (integers[integer]);
    auto fits = integer < 5;
    const auto fraction = random.nextBool(), exponent = random.nextBool();
    if (fraction)
        text += pick (random, { ".", ".5", ".000000000000000000000001" });
    if (exponent)
    {
        const auto digits = random.nextInt (5);
        text += pick (random, { "e", "E", "e+", "e-", "E-" }) + std::string (exponents[digits]);
        fits = fits && digits < 3;
    }
    const auto sign = text.substr (0, text.find_first_of ("0123456789"));
    Token token { Token::number, text, fits ? text : sign + "0" };
    if (random.nextInt (4) == 0)
    {
        token.glued = true;
        if (exponent)
            token.text += pick (random, { "e5", "E99999", ".", ".5", "+", "-", "e" });
        else if (fraction)
            token.text += pick (random, { ".", ".5", "+", "-", "e", "e+" });
        else
            token.text += pick (random, { "+", "-", "e", "E-" });
    }
    return token;
}

Token randomToken (juce::Random& random)
{
    static const char* const others[] = { ",",
                                          ", ",
                                          " ",
                                          "[",
                                          "]",
                                          "{",
                                          "}",
                                          "null",
                                          "true",
                                          R"("a")",
                                          R"("7e99999999999")",
                                          R"("\"9\\")",
                                          R"('99999999999999999999')",
                                          R"("\u0030")",
                                          R"("- ")",
                                          ":" };
    switch (random.nextInt (7))
    {
        case 0:
        case 1:
        case 2:
            return randomNumber (random);
        case 3:
        {
            const auto text = pick (random, { "-", "- " });
            return { Token::minus, text, text };
        }
        default:
        {
            const auto text = pick (random, others);
            return { Token::separator, text, text };
        }
    }
}

/** An answer of random tokens inside {"a":[...]}, where JUCE's parser reads values, and what
    the scan must give for it. */
std::pair<std::string, std::optional<std::string>> randomAnswer (juce::Random& random)
{
    std::vector<Token> tokens;
    for (int n = 1 + random.nextInt (8); --n >= 0;)
    {
        const auto afterNumber = ! tokens.empty() && tokens.back().kind == Token::number;
        auto token = randomToken (random);
        // Two numbers side by side would read as one, and so could a glued number and what
        // follows ("1e" and "-5").
        if (afterNumber &&
            (tokens.back().glued || std::isdigit (static_cast<unsigned char> (token.text.front()))))
            tokens.push_back ({ Token::separator, ",", "," });
        tokens.push_back (token);
    }

    std::string answer = R"({"a":[)", scanned = answer;
    std::vector<std::size_t> afterMinus;
    bool json = true;
    for (std::size_t i = 0; i < tokens.size(); ++i)
    {
        const auto& next = i + 1 < tokens.size() ? tokens[i + 1].text : std::string ("]");
        if (tokens[i].glued ||
            (tokens[i].kind == Token::number &&
             std::string ("0123456789.eE+-").find (next.front()) != std::string::npos))
            json = false;
        answer += tokens[i].text;
        scanned += tokens[i].scanned;
        if (tokens[i].kind == Token::minus)
            afterMinus.push_back (answer.size());
    }
    answer += "]}";
    scanned += "]}";
    // A "-" must lead to a digit, past any spaces.
    for (const auto at : afterMinus)
        if (! std::isdigit (
                answer[std::min (answer.find_first_not_of (' ', at), answer.size() - 1)]))
            json = false;
    return { answer, json ? std::optional (scanned) : std::nullopt };
}
} // namespace

TEST (AnswerNumbers, RandomAnswersLoseExactlyTheNumbersJuceCannotHoldAndGainNone)
{
    // Under UndefinedBehaviorSanitizer an overflow in JUCE's parser ends the run.
    juce::Random random (20240611);
    constexpr int cases = 20000;
    int parsed = 0;
    for (int n = 0; n < cases; ++n)
    {
        const auto [answer, expected] = randomAnswer (random);
        const auto scanned = withUnrepresentableNumbersAsZero (answer);
        ASSERT_EQ (scanned, expected) << "case " << n << ": " << answer;
        if (! scanned)
            continue;
        // Its own output holds no number left to replace.
        ASSERT_EQ (withUnrepresentableNumbersAsZero (*scanned), scanned) << "case " << n;
        const auto result = juce::JSON::parse (
            juce::String::fromUTF8 (scanned->data(), static_cast<int> (scanned->size())));
        parsed += result.isObject() ? 1 : 0;
    }
    // The answers reach the parser's number reading, not only its refusals.
    EXPECT_GT (parsed, cases / 20);
}
