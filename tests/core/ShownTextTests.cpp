#include "net/ShownText.h"

#include <gtest/gtest.h>

TEST (ShownText, HiddenCharactersAndBytesThatAreNoTextShowAsQuestionMarks)
{
    const std::string cut (80, 'x');
    // Each row: the bytes, made into a string as they are (JUCE's own conversions would read
    // past a sequence cut short), and how a message shows them.
    const std::pair<std::string, std::string> rows[] {
        { "a\tb\u202ec\u200bd\u200fe", "a?b?c?d?e" },
        // Joiners are part of how words and emoji sequences are written.
        { "\U0001f469\u200d\U0001f4bb \u0645\u06cc\u200c\u062e",
          "\U0001f469\u200d\U0001f4bb \u0645\u06cc\u200c\u062e" },
        // Judged as an installer name is: a joiner or variation selector shows only where it
        // shapes the characters beyond ASCII next to it.
        { "Setup\ufe0f.bin\U0001d173", "Setup?.bin?" },
        { "\u2764\ufe0f\u200d\U0001f525 \u8fbb\U000e0100",
          "\u2764\ufe0f\u200d\U0001f525 \u8fbb\U000e0100" },
        { "Larkspire\u200cSetup-\u30e9\u200d", "Larkspire?Setup-\u30e9?" },
        { "\ufe0f\u2764\ufe0f\ufe0f", "?\u2764\ufe0f?" },
        // After a character refused, a joiner or a selector has nothing to shape.
        { "a\ufe0f\u200d\u2764", "a??\u2764" },
        { "\u3164\u200d\u30e9", "??\u30e9" },
        { "\U0001f469\u200d\ufe0f\U0001f4bb", "\U0001f469??\U0001f4bb" },
        { "Setup\xe2", "Setup?" },
        { "Setu\xf0\x9f\x98", "Setu?" },
        { std::string ("a\xed\xa0\x80") + "b", "a?b" },
        { cut, cut },
        { cut + "\xe2", cut + "\xe2\x80\xa6" },
    };
    for (const auto& [bytes, shown] : rows)
        EXPECT_EQ (
            shownText (juce::String::fromUTF8 (bytes.data(), static_cast<int> (bytes.size()))),
            shown);
}
