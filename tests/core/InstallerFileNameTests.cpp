#include "net/InstallerFileName.h"

#include <gtest/gtest.h>

TEST (InstallerFileName, IsTheLinksLastSegmentWithoutTheQueryAndMustBeSafe)
{
    for (const auto* link : { "https://cdn.example/a/b/setup.pkg?a=1",
                              "https://cdn.example/a/setup.pkg?next=/x/y", "setup.pkg" })
        EXPECT_EQ (installerFileNameFromLink (link), "setup.pkg") << link;
    EXPECT_EQ (installerFileNameFromLink ("https://cdn.example/Setup%201.bin"), "Setup%201.bin");

    for (const auto& name : { juce::String ("LarkspireEditorSetup-2.3.1.bin"),
                              juce::String::fromUTF8 ("ラークスパー.pkg") })
        EXPECT_TRUE (isSafeInstallerFileName (name)) << name;
    // A leading tilde would name a home folder; a leading dot hides the file (a reversed row).
    for (const auto& name :
         { juce::String(), juce::String ("."), juce::String (".."), juce::String (".hidden"),
           juce::String ("a/b"), juce::String ("a\\b"), juce::String ("~x"), juce::String ("a\tb"),
           juce::String::charToString (0x7f), juce::String::charToString (0x85) })
        EXPECT_FALSE (isSafeInstallerFileName (name)) << name;
}

TEST (InstallerFileName, HiddenOrDisguisedNamesAreUnsafe)
{
    const auto setup = [] (juce::juce_wchar c)
    { return "Setup" + juce::String::charToString (c).toStdString() + ".bin"; };
    // Each row: a name that hides its file, or reads as another, or is no text, and the
    // characters next to the refused ranges, which stay allowed.
    const std::pair<std::string, bool> rows[] {
        { ".bashrc", false },
        { ".LarkspireEditorSetup.bin", false },
        { "LarkspireSetup\u202enib.exe", false }, // shows as "...exe.bin"
        { "Setup\u200b.bin", false },
        { "Setup\u200f.bin", false },
        { "Setup\u2028.bin", false },
        { "Setup\u202a.bin", false },
        { "Setup\u2060.bin", false },
        { "Setup\u2066.bin", false },
        { "Setup\u2069.bin", false },
        { "\ufeffSetup.bin", false },
        { "Set\u00adup.bin", false },     // a soft hyphen
        { "Setup\u3164.bin", false },     // a blank filler
        { "Setup\U000e0041.bin", false }, // a tag character
        { "Setup\u206f.bin", false },
        { "Setup\u200e.bin", false },
        { "Setup\u2010\u2027.bin", true },
        { "Setup.1.bin", true },
        { setup (0x01), false }, // the ends of ASCII's controls, and the space after them
        { setup (0x1f), false },
        { setup (0x20), true },
        { setup (0xfff9), false }, // interlinear annotation marks
        { setup (0xfffb), false },
        { setup (0x061c), false }, // the Arabic letter mark
        { setup (0x2029), false }, // a paragraph separator
        { setup (0x034f), false }, // the combining grapheme joiner
        { setup (0x115f), false }, // Hangul fillers
        { setup (0x1160), false },
        { setup (0xffa0), false },
        { setup (0x180e), false },  // the Mongolian vowel separator
        { setup (0xe0000), false }, // the ends of the tags' block
        { setup (0xe007f), false },
        // Both ends of the ranges of format characters and of characters that show as nothing,
        // and their neighbours that show.
        { setup (0xfdff), true },
        { setup (0xfe00), false },
        { setup (0xfe0f), false },
        { setup (0xfe10), true },
        { setup (0xe0100), false },
        { setup (0xe01ef), false },
        { setup (0x180a), true },
        { setup (0x180b), false },
        { setup (0x180f), false },
        { setup (0x1810), true },
        { setup (0x17b3), true },
        { setup (0x17b4), false },
        { setup (0x17b5), false },
        { setup (0x17b6), true },
        { setup (0x0600), false },
        { setup (0x0605), false },
        { setup (0x0606), true },
        { setup (0x06dc), true },
        { setup (0x06dd), false },
        { setup (0x06de), true },
        { setup (0x070f), false },
        { setup (0x0710), true },
        { setup (0x0890), false },
        { setup (0x0891), false },
        { setup (0x08e1), true },
        { setup (0x08e2), false },
        { setup (0x08e3), true },
        { setup (0x110bc), true },
        { setup (0x110bd), false },
        { setup (0x110be), true },
        { setup (0x110cd), false },
        { setup (0x1342f), true },
        { setup (0x13430), false },
        { setup (0x13438), false },
        { setup (0x1bc9f), true },
        { setup (0x1bca0), false },
        { setup (0x1bca3), false },
        { setup (0x1d172), true },
        { setup (0x1d173), false },
        { setup (0x1d17a), false },
        { setup (0x1d17b), true },
        // A variation selector chooses how the character beyond ASCII before it looks; after
        // ASCII, at the start, doubled or after a joiner it only hides.
        { "\u2764\ufe0f.bin", true },
        { "\u8fbb\U000e0100.bin", true },
        { "\u2764\ufe0f\u200d\U0001f525.bin", true },
        { "\ufe0fSetup.bin", false },
        { "\u2764\ufe0f\ufe0f.bin", false },
        { "\U0001f469\u200d\ufe0f\U0001f4bb.bin", false },
        // Joiners: Persian and Indic words and emoji sequences are written with them; next to
        // ASCII, at an end or doubled they hide.
        { "\u0645\u06cc\u200c\u062e\u0648\u0627\u0647\u0645.bin", true },
        { "\U0001f469\u200d\U0001f4bb.bin", true },
        { "Larkspire\u200cSetup.bin", false },
        { "\u0645\u06cc\u200c.bin", false },
        { "\u200d\U0001f4bb.bin", false },
        { "\u0645\u200c\u200c\u062e.bin", false },
        { "Setup.bin\u200d", false },
        { "Setup-\u30e9\u200d", false },
        // No text: a sequence cut short at the end, a lone surrogate.
        { "Setup\xe2\xa0", false },
        { "Setu\xf0\x9f\x98", false },
        { "Setup\xed\xa0\x80.bin", false },
    };
    // From the bytes as they are: JUCE's own conversions would read past a sequence cut short.
    for (const auto& [name, safe] : rows)
        EXPECT_EQ (isSafeInstallerFileName (
                       juce::String::fromUTF8 (name.data(), static_cast<int> (name.size()))),
                   safe)
            << name;
}
