#include "model/EditorHandOff.h"
#include "model/InstalledEditorSearch.h"
#include "support/FakeEditor.h"
#include "support/TemporaryFolder.h"

#include <gtest/gtest.h>

namespace
{
class EditorHandOffTest : public testing::Test
{
protected:
    std::shared_ptr<LarkspireCharacterInfo> installedEditor (const juce::String& scriptBody,
                                                             bool executable = true)
    {
        editor.writePlist ("1.4.0", "com.larkspire.editor");
        editor.writeScript (scriptBody, executable);
        return findInstalledEditor (applications.get());
    }

    testing_support::TemporaryFolder applications;
    testing_support::FakeEditor editor { applications.get() };
};

TEST_F (EditorHandOffTest, ExitCode42TakesOverAndGetsExactlyTheTwoOptions)
{
    const auto info = installedEditor (editor.recordingScript (42));
    ASSERT_NE (info, nullptr);

    EXPECT_TRUE (runEditorHandOff (*info));
    EXPECT_EQ (editor.getArgumentsFile().loadFileAsString(),
               "--from-downloader\n--check-update-and-install-product\n");
}

TEST_F (EditorHandOffTest, PathWithBlanksAndQuotesReachesTheEditorUnchanged)
{
    const auto folder = applications.get().getChildFile ("My \"Apps\" Folder");
    ASSERT_TRUE (folder.createDirectory());
    const testing_support::FakeEditor spaced (folder);
    spaced.writePlist ("1.0");
    spaced.writeScript (spaced.recordingScript (42));

    // Not the model's step: its stop request would end this process's message loop for good.
    const auto info = findInstalledEditor (folder);
    ASSERT_NE (info, nullptr);
    EXPECT_TRUE (runEditorHandOff (*info));
    EXPECT_EQ (spaced.getArgumentsFile().loadFileAsString(),
               "--from-downloader\n--check-update-and-install-product\n");
}

TEST_F (EditorHandOffTest, WaitsForAnEditorThatRunsLongerThanOneSlice)
{
    const auto marker = applications.get().getChildFile ("finished");
    const auto info =
        installedEditor ("sleep 0.4\ntouch '" + marker.getFullPathName() + "'\nexit 42");
    ASSERT_NE (info, nullptr);

    EXPECT_TRUE (runEditorHandOff (*info));
    EXPECT_TRUE (marker.existsAsFile());
}

struct DeclineCase
{
    const char* description;
    const char* scriptBody; // null: no executable at all
    bool executable;
};

class EditorDeclinesTest
    : public EditorHandOffTest
    , public testing::WithParamInterface<DeclineCase>
{
};

TEST_P (EditorDeclinesTest, AnythingButExitCode42IsAFreshDownload)
{
    const auto& c = GetParam();
    std::shared_ptr<LarkspireCharacterInfo> info;

    if (c.scriptBody != nullptr)
    {
        info = installedEditor (c.scriptBody, c.executable);
    }
    else
    {
        editor.writePlist ("1.4.0");
        info = findInstalledEditor (applications.get());
    }

    ASSERT_NE (info, nullptr) << c.description;
    EXPECT_FALSE (runEditorHandOff (*info)) << c.description;

    // The model's step resets the record in the same cases.
    std::shared_ptr<LarkspireCharacterInfo> installedProduct;
    runInstalledEditorStep (installedProduct, applications.get());
    EXPECT_EQ (installedProduct, nullptr) << c.description;
}

INSTANTIATE_TEST_SUITE_P (
    Outcomes, EditorDeclinesTest,
    testing::Values (DeclineCase { "exits 0", "exit 0", true },
                     DeclineCase { "exits 1", "exit 1", true },
                     DeclineCase { "exits 43", "exit 43", true },
                     DeclineCase { "exits 255", "exit 255", true },
                     DeclineCase { "killed by a signal", "kill -KILL $$", true },
                     DeclineCase { "ends by SIGTERM", "kill -TERM $$\nsleep 5", true },
                     DeclineCase { "missing executable", nullptr, false },
                     DeclineCase { "no run bit", "exit 42", false }));

TEST_F (EditorHandOffTest, NoEditorLeavesTheRecordEmpty)
{
    auto installedProduct = std::make_shared<LarkspireCharacterInfo>();
    runInstalledEditorStep (installedProduct, applications.get());
    EXPECT_EQ (installedProduct, nullptr);
}
} // namespace
