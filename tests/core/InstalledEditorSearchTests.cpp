#include "model/ApplicationsFolder.h"
#include "model/InstalledEditorSearch.h"
#include "support/FakeEditor.h"
#include "support/ScopedEnvironment.h"
#include "support/TemporaryFolder.h"

#include <gtest/gtest.h>

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

TEST_F (InstalledEditorSearchTest, NoBundleGivesNoRecord)
{
    EXPECT_EQ (search(), nullptr);
}

TEST_F (InstalledEditorSearchTest, BundleWithoutPlistGivesNoRecord)
{
    editor.writeScript (editor.recordingScript (42));
    EXPECT_EQ (search(), nullptr);
}

TEST_F (InstalledEditorSearchTest, PlistThatIsAFolderGivesNoRecord)
{
    ASSERT_TRUE (editor.getPlistFile().createDirectory());
    EXPECT_EQ (search(), nullptr);
}

TEST_F (InstalledEditorSearchTest, AcceptedEditorGivesTheBundleLayout)
{
    editor.writePlist ("2.3.1", "com.larkspire.editor");
    const auto info = search();

    ASSERT_NE (info, nullptr);
    EXPECT_EQ (info->bundlePath, editor.getBundle().getFullPathName().toStdString());
    EXPECT_EQ (info->executablePath, editor.getExecutable().getFullPathName().toStdString());
    EXPECT_EQ (info->version, "2.3.1");
}

TEST_F (InstalledEditorSearchTest, ExcludedIdentifierGivesNoRecord)
{
    editor.writePlist ("2.3.1", excludedEditorBundleIdentifier);
    EXPECT_EQ (search(), nullptr);
}

struct PlistCase
{
    const char* description;
    const char* plistText;       // whole file, or dict children when it does not start with "<?"
    const char* expectedVersion; // null: no record
};

class PlistWalkTest
    : public InstalledEditorSearchTest
    , public testing::WithParamInterface<PlistCase>
{
};

TEST_P (PlistWalkTest, FindsTheVersionOrNothing)
{
    const auto& c = GetParam();
    const juce::String text (juce::CharPointer_UTF8 (c.plistText));

    if (text.startsWith ("<?") || ! text.startsWith ("<"))
    {
        editor.getPlistFile().getParentDirectory().createDirectory();
        editor.getPlistFile().replaceWithText (text);
    }
    else
    {
        editor.writePlistDict (text);
    }

    const auto info = search();

    if (c.expectedVersion == nullptr)
    {
        EXPECT_EQ (info, nullptr) << c.description;
    }
    else
    {
        ASSERT_NE (info, nullptr) << c.description;
        EXPECT_EQ (info->version, c.expectedVersion) << c.description;
    }
}

INSTANTIATE_TEST_SUITE_P (
    Cases, PlistWalkTest,
    testing::Values (
        PlistCase { "empty file", "", nullptr },
        PlistCase { "not XML", "CFBundleVersion = 1.0", nullptr },
        PlistCase { "broken XML", "<?xml version=\"1.0\"?><plist><dict><key>CFBundleVersion</key>",
                    nullptr },
        PlistCase { "no dict",
                    "<?xml version=\"1.0\"?><plist><array><key>CFBundleVersion</key>"
                    "<string>1.0</string></array></plist>",
                    nullptr },
        PlistCase { "dict tag in other case, any root name",
                    "<?xml version=\"1.0\"?><root><DICT><key>CFBundleVersion</key>"
                    "<string>1.0</string></DICT></root>",
                    "1.0" },
        PlistCase { "no version", "<key>CFBundleIdentifier</key><string>com.example</string>",
                    nullptr },
        PlistCase { "empty version", "<key>CFBundleVersion</key><string></string>", nullptr },
        PlistCase { "version without identifier", "<key>CFBundleVersion</key><string>5</string>",
                    "5" },
        PlistCase { "version text kept as written",
                    "<key>CFBundleVersion</key><string> 1.2 beta </string>", " 1.2 beta " },
        PlistCase { "identifier differs only in case",
                    "<key>CFBundleIdentifier</key><string>COM.LARKSPIRE.EDITOR.TRIAL</string>"
                    "<key>CFBundleVersion</key><string>3</string>",
                    "3" },
        PlistCase { "later pair replaces an earlier one",
                    "<key>CFBundleVersion</key><string>1</string>"
                    "<key>CFBundleVersion</key><string>2</string>",
                    "2" },
        PlistCase { "later empty version wins",
                    "<key>CFBundleVersion</key><string>1</string>"
                    "<key>CFBundleVersion</key><string/>",
                    nullptr },
        PlistCase { "key as last child is not examined",
                    "<key>CFBundleVersion</key><string>1</string><key>CFBundleVersion</key>", "1" },
        PlistCase { "key names compare case-sensitively",
                    "<key>cfbundleversion</key><string>1</string>", nullptr },
        PlistCase { "key tag compares case-sensitively: skipped by three",
                    "<Key>CFBundleVersion</Key><string>1</string><key>x</key>"
                    "<key>CFBundleVersion</key><string>7</string>",
                    "7" },
        PlistCase { "a stray element skips the pair after it",
                    "<true/><key>CFBundleVersion</key><string>1</string>", nullptr },
        PlistCase { "walk back in step after a skip by three",
                    "<true/><key>A</key><string>a</string>"
                    "<key>CFBundleVersion</key><string>9</string>",
                    "9" },
        PlistCase { "value of any element kind, text of all its content",
                    "<key>CFBundleVersion</key><string>4<b>.0</b></string>", "4.0" }));

TEST (ApplicationsFolder, FollowsTheEnvironmentVariable)
{
    {
        const testing_support::ScopedEnvironment variable ("LARKSPIRE_APPLICATIONS_DIR",
                                                           "/tmp/some-apps");
        EXPECT_EQ (applicationsFolder(), juce::File ("/tmp/some-apps"));
    }
    {
        const testing_support::ScopedEnvironment variable ("LARKSPIRE_APPLICATIONS_DIR", "");
        EXPECT_EQ (applicationsFolder(), juce::File ("/opt"));
    }
    {
        const testing_support::ScopedEnvironment variable ("LARKSPIRE_APPLICATIONS_DIR",
                                                           std::nullopt);
        EXPECT_EQ (applicationsFolder(), juce::File ("/opt"));
    }
}
} // namespace
