#include "model/ApplicationsFolder.h"
#include "model/InstalledEditorSearch.h"
#include "support/FakeEditor.h"
#include "support/ScopedEnvironment.h"
#include "support/TemporaryFolder.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace
{
class InstalledEditorSearchTest : public testing::Test
{
protected:
    std::shared_ptr<LarkspireCharacterInfo> search() const
    {
        return findInstalledEditor (applications.get());
    }

    testing_support::TemporaryFolder applications;
    testing_support::FakeEditor editor { applications.get() };
};

TEST_F (InstalledEditorSearchTest, NoBundleNoPlistOrAPlistFolderGiveNoRecord)
{
    EXPECT_EQ (search(), nullptr);
    editor.writeScript ("exit 42");
    EXPECT_EQ (search(), nullptr);
    ASSERT_TRUE (editor.getPlistFile().createDirectory());
    EXPECT_EQ (search(), nullptr);
}

TEST_F (InstalledEditorSearchTest, AcceptsAnyIdentifierButTheExcludedOne)
{
    editor.writePlist ("2.3.1", excludedEditorBundleIdentifier);
    EXPECT_EQ (search(), nullptr);

    editor.writePlist ("2.3.1", "com.larkspire.editor");
    const auto info = search();
    ASSERT_NE (info, nullptr);
    EXPECT_EQ (info->bundlePath, editor.getBundle().getFullPathName().toStdString());
    EXPECT_EQ (info->executablePath, editor.getExecutable().getFullPathName().toStdString());
    EXPECT_EQ (info->version, "2.3.1");
}

TEST_F (InstalledEditorSearchTest, PlistWalkFindsTheVersionOrNothing)
{
    const struct
    {
        const char* description;
        const char* text;    // the whole file when it starts with "<?", else the dict's children
        const char* version; // null: no record
    } cases[] = {
        { "not XML", "CFBundleVersion = 1.0", nullptr },
        { "broken XML", "<?xml version=\"1.0\"?><plist><dict><key>CFBundleVersion</key>", nullptr },
        { "no dict",
          "<?xml version=\"1.0\"?><plist><array><key>CFBundleVersion</key><string>1.0</string>"
          "</array></plist>",
          nullptr },
        { "dict tag in other case, any root name",
          "<?xml version=\"1.0\"?><root><DICT><key>CFBundleVersion</key><string>1.0</string>"
          "</DICT></root>",
          "1.0" },
        { "no version", "<key>CFBundleIdentifier</key><string>com.example</string>", nullptr },
        { "empty version", "<key>CFBundleVersion</key><string></string>", nullptr },
        { "version without identifier", "<key>CFBundleVersion</key><string>5</string>", "5" },
        { "version kept as written", "<key>CFBundleVersion</key><string> 1.2 b </string>",
          " 1.2 b " },
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

    ASSERT_TRUE (editor.getPlistFile().getParentDirectory().createDirectory());

    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.description);
        const juce::String text (juce::CharPointer_UTF8 (c.text));

        if (text.startsWith ("<?") || ! text.startsWith ("<"))
            ASSERT_TRUE (editor.getPlistFile().replaceWithText (text));
        else
            editor.writePlistDict (text);

        const auto info = search();
        EXPECT_EQ (info == nullptr ? std::nullopt : std::optional<std::string> (info->version),
                   c.version == nullptr ? std::nullopt : std::optional<std::string> (c.version));
    }
}

TEST (ApplicationsFolder, FollowsTheEnvironmentVariableWhenSetAndNotEmpty)
{
    const std::pair<std::optional<std::string>, const char*> cases[] = {
        { "/tmp/some-apps", "/tmp/some-apps" }, { "", "/opt" }, { std::nullopt, "/opt" }
    };

    for (const auto& [value, expected] : cases)
    {
        const testing_support::ScopedEnvironment variable ("LARKSPIRE_APPLICATIONS_DIR", value);
        EXPECT_EQ (applicationsFolder(), juce::File (expected)) << value.value_or ("(unset)");
    }
}
} // namespace
