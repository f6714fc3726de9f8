#pragma once

#include <juce_core/juce_core.h>

#include <optional>
#include <string>

// Numbers in the update server's answers, kept within what JUCE can convert without undefined
// behaviour: a number that cannot be represented counts as 0.

/** body with every number that juce::JSON::parse would overflow on replaced by 0: one whose
    integer part is above 2^63 - 1, or whose exponent has more than four digits. Strings (in
    double or single quotes, with backslash escapes) are left alone. Nothing, as for text that
    is not JSON, when a "-" outside a string is not followed by a digit (the parser would read
    whatever follows as digits), or when a number is followed directly by a digit, ".", "e",
    "E", "+" or "-": its 0 must not join them into a number that was not there. */
std::optional<std::string> withUnrepresentableNumbersAsZero (const std::string& body);

/** A version number as a 32-bit integer: a text gives its leading decimal integer, a number
    with a fraction is cut toward zero, true and false give 1 and 0, anything else 0; and 0 for
    a value outside the 32-bit range. */
int versionNumberOf (const juce::var& value);

/** A size in bytes; 0 (none) for one that is no byte count: negative, not finite, above 9e18,
    or a text whose leading integer is any of these. */
juce::int64 byteCountOf (const juce::var& value);
