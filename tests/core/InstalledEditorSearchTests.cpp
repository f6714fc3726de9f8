#include "model/InstalledEditorSearch.h"
#include "support/FakeEditor.h"
#include "support/TemporaryFolder.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace
{
TEST (InstalledEditorSearch, WalksThePlistsKeyValuePairs)
{
    const testing_support::TemporaryFolder applications;
    const testing_support::FakeEditor editor (applications.get());
    const auto search = [&] { return findInstalledEditor (applications.get()); };
    EXPECT_EQ (search(), nullptr);

    const struct
    {
        const char* description;
        const char* text;    // the whole file when not a tag or "<plist", else the dict's children
        const char* version; // null: no record
    } cases[] = {
        { "not XML", "CFBundleVersion = 1.0", nullptr },
        { "no dict", "<plist><array><key>CFBundleVersion</key><string>1</string></array></plist>",
          nullptr },
        { "no version", "<key>CFBundleIdentifier</key><string>com.example</string>", nullptr },
        { "empty version", "<key>CFBundleVersion</key><string></string>", nullptr },
        { "version kept as written", "<key>CFBundleVersion</key><string> 1.2 b </string>",
          " 1.2 b " },
        { "the excluded identifier",
          "<key>CFBundleIdentifier</key><string>com.larkspire.editor.trial</string>"
          "<key>CFBundleVersion</key><string>3</string>",
          nullptr },
        { "identifier compares case-sensitively",
          "<key>CFBundleIdentifier</key><string>COM.LARKSPIRE.EDITOR.TRIAL</string>"
          "<key>CFBundleVersion</key><string>3</string>",
          "3" },
        { "a later empty version wins",
          "<key>CFBundleVersion</key><string>1</string><key>CFBundleVersion</key><string/>",
          nullptr },
        { "a key as last child is not examined",
          "<key>CFBundleVersion</key><string>1</string><key>CFBundleVersion</key>", "1" },
        { "key names compare case-sensitively", "<key>cfbundleversion</key><string>1</string>",
          nullptr },
        { "a stray element skips the pair after it",
          "<true/><key>CFBundleVersion</key><string>1</string>", nullptr },
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
        const juce::String text (c.text);
        ASSERT_TRUE (text.startsWith ("<") && ! text.startsWith ("<plist")
                         ? editor.writePlistDict (text)
                         : editor.getPlistFile().replaceWithText (text));
        const auto info = search();
        EXPECT_EQ (info == nullptr ? std::nullopt : std::optional<std::string> (info->version),
                   c.version == nullptr ? std::nullopt : std::optional<std::string> (c.version));
    }

    ASSERT_TRUE (editor.writePlistDict ("<key>CFBundleVersion</key><string>2</string>"));
    const auto info = search();
    ASSERT_NE (info, nullptr);
    EXPECT_EQ (info->bundlePath,
               (applications.get().getFullPathName() + "/larkspire.app").toStdString());
    EXPECT_EQ (info->executablePath, editor.getExecutable().getFullPathName().toStdString());
}
} // namespace
