#include "net/InstallerFileName.h"

#include <gtest/gtest.h>

// "", ".", "..", backslashes and tabs are refused end to end in the download worker's tests.
TEST (InstallerFileName, TakesTheLastSegmentWithoutTheQuery)
{
    const std::pair<const char*, const char*> rows[] {
        { "https://cdn.example/a/b/setup.pkg?a=1", "setup.pkg" },
        { "https://cdn.example/a/setup.pkg?next=/x/y", "setup.pkg" },
        { "setup.bin", "setup.bin" },
        { "https://cdn.example/files/Setup%201.bin", "Setup%201.bin" },
    };
    for (const auto& [link, name] : rows)
        EXPECT_EQ (installerFileNameFromLink (link), juce::String (name)) << link;
}

TEST (InstallerFileName, SafeNames)
{
    const std::pair<juce::String, bool> rows[] {
        { "LarkspireEditorSetup-2.3.1.bin", true },
        { juce::String::fromUTF8 ("ラークスパー.pkg"), true },
        { ".hidden", true },
        { "a/b", false },
        { "~x", false }, // a leading tilde would name a home folder
        { "~", false },
        { "a\nb", false },
        { juce::String::charToString (0x7f), false },
        { juce::String::charToString (0x85), false },
    };
    for (const auto& [name, safe] : rows)
        EXPECT_EQ (isSafeInstallerFileName (name), safe) << name;
}
