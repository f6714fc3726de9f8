#include "net/InstallerFileName.h"

#include <gtest/gtest.h>

TEST (InstallerFileName, IsTheLinksLastSegmentWithoutTheQueryAndMustBeSafe)
{
    for (const auto* link : { "https://cdn.example/a/b/setup.pkg?a=1",
                              "https://cdn.example/a/setup.pkg?next=/x/y", "setup.pkg" })
        EXPECT_EQ (installerFileNameFromLink (link), "setup.pkg") << link;
    EXPECT_EQ (installerFileNameFromLink ("https://cdn.example/Setup%201.bin"), "Setup%201.bin");

    for (const auto& name :
         { juce::String ("LarkspireEditorSetup-2.3.1.bin"),
           juce::String::fromUTF8 ("ラークスパー.pkg"), juce::String (".hidden") })
        EXPECT_TRUE (isSafeInstallerFileName (name)) << name;
    // A leading tilde would name a home folder.
    for (const auto& name :
         { juce::String(), juce::String ("."), juce::String (".."), juce::String ("a/b"),
           juce::String ("a\\b"), juce::String ("~x"), juce::String ("a\tb"),
           juce::String::charToString (0x7f), juce::String::charToString (0x85) })
        EXPECT_FALSE (isSafeInstallerFileName (name)) << name;
}
