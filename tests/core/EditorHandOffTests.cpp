#include "model/EditorHandOff.h"
#include "model/InstalledEditorSearch.h"
#include "support/TemporaryFolder.h"

#include <gtest/gtest.h>

namespace
{
juce::File inBundle (const juce::File& applications, const char* path)
{
    const auto file = applications.getChildFile ("larkspire.app/Contents").getChildFile (path);
    file.getParentDirectory().createDirectory();
    return file;
}

/** Info.plist with these children of its "dict", or the whole text when no tag or a plist. */
bool writePlist (const juce::File& applications, const juce::String& text)
{
    const auto whole = ! text.startsWith ("<") || text.startsWith ("<plist");
    return inBundle (applications, "Info.plist")
        .replaceWithText (whole ? text : "<plist><dict>" + text + "</dict></plist>");
}

bool writeEditor (const juce::File& applications, const juce::String& body, bool executable)
{
    const auto file = inBundle (applications, "MacOS/larkspire");
    return file.replaceWithText ("#!/bin/sh\n" + body + "\n", false, false, "\n") &&
           file.setExecutePermission (executable);
}

TEST (InstalledEditorSearch, WalksThePlistsKeyValuePairs)
{
    const testing_support::TemporaryFolder applications;
    const auto search = [&] { return findInstalledEditor (applications.get()); };
    EXPECT_EQ (search(), nullptr);

    const struct
    {
        const char* description;
        const char* text;
        const char* version; // "-": no record
    } cases[] = {
        { "not XML", "CFBundleVersion = 1.0", "-" },
        { "no dict", "<plist><array><key>CFBundleVersion</key><string>1</string></array></plist>",
          "-" },
        { "version kept as written", "<key>CFBundleVersion</key><string> 1.2 b </string>",
          " 1.2 b " },
        { "the excluded identifier",
          "<key>CFBundleIdentifier</key><string>com.larkspire.editor.trial</string>"
          "<key>CFBundleVersion</key><string>3</string>",
          "-" },
        { "identifier compares case-sensitively",
          "<key>CFBundleIdentifier</key><string>COM.LARKSPIRE.EDITOR.TRIAL</string>"
          "<key>CFBundleVersion</key><string>3</string>",
          "3" },
        { "a later empty version wins",
          "<key>CFBundleVersion</key><string>1</string><key>CFBundleVersion</key><string/>", "-" },
        { "a key as last child is not examined",
          "<key>CFBundleVersion</key><string>1</string><key>CFBundleVersion</key>", "1" },
        { "key names compare case-sensitively", "<key>cfbundleversion</key><string>1</string>",
          "-" },
        { "a stray element skips the pair after it",
          "<true/><key>CFBundleVersion</key><string>1</string>", "-" },
        { "a key tag in other case is stray: the walk moves on by three",
          "<Key>CFBundleVersion</Key><string>1</string><key>x</key>"
          "<key>CFBundleVersion</key><string>7</string>",
          "7" },
        { "the value is all the text of any element",
          "<key>CFBundleVersion</key><string>4<b>.0</b></string>", "4.0" },
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.description);
        ASSERT_TRUE (writePlist (applications.get(), c.text));
        const auto info = search();
        EXPECT_EQ (info == nullptr ? "-" : info->version, c.version);
    }
}

TEST (EditorHandOff, OnlyExitCode42AfterExactlyTheTwoOptionsIsATakeOver)
{
    // Blanks and quotes in the path; the run that takes over outlasts a 100 ms slice of the wait.
    const testing_support::TemporaryFolder tree;
    const auto folder = tree.get().getChildFile ("My \"Apps\" Folder");
    const auto arguments = tree.get().getChildFile ("arguments");
    ASSERT_TRUE (writePlist (folder, "<key>CFBundleVersion</key><string>1.4.0</string>"));

    const struct
    {
        const char* description;
        const char* exit;
        bool executable;
        bool tookOver;
    } cases[] = {
        { "exits 42", "sleep 0.4; exit 42", true, true },
        { "exits 0", "exit 0", true, false },
        { "exits 43", "exit 43", true, false },
        { "killed by a signal", "kill -KILL $$", true, false },
        { "no run bit", "exit 42", false, false },
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.description);
        ASSERT_TRUE (writeEditor (
            folder, "printf '%s\\n' \"$@\" >'" + arguments.getFullPathName() + "'\n" + c.exit,
            c.executable));
        const auto info = findInstalledEditor (folder);
        ASSERT_NE (info, nullptr);
        EXPECT_EQ (runEditorHandOff (*info), c.tookOver);
        EXPECT_TRUE (! c.tookOver || arguments.loadFileAsString() ==
                                         "--from-downloader\n--check-update-and-install-product\n")
            << arguments.loadFileAsString();
    }
}

} // namespace
