#include "model/EditorHandOff.h"
#include "model/InstalledEditorSearch.h"
#include "support/FakeEditor.h"
#include "support/TemporaryFolder.h"

#include <gtest/gtest.h>

namespace
{
TEST (EditorHandOff, EditorThatTakesOverGetsExactlyTheTwoOptionsAndIsWaitedFor)
{
    // Blanks and quotes in the path, and a run longer than one 100 ms slice of the wait.
    const testing_support::TemporaryFolder tree;
    const auto folder = tree.get().getChildFile ("My \"Apps\" Folder");
    const testing_support::FakeEditor editor (folder);
    editor.writePlist ("1.4.0", "com.larkspire.editor");
    editor.writeScript ("sleep 0.4\n" + editor.recordingScript (42));

    // Not the model's step: its stop request would end this process's message loop for good.
    const auto info = findInstalledEditor (folder);
    ASSERT_NE (info, nullptr);
    EXPECT_TRUE (runEditorHandOff (*info));
    EXPECT_EQ (editor.getArgumentsFile().loadFileAsString(),
               "--from-downloader\n--check-update-and-install-product\n");
}

TEST (EditorHandOff, AnythingButExitCode42ClearsTheRecord)
{
    const struct
    {
        const char* description;
        const char* scriptBody; // null: no executable at all
        bool executable;
        bool plist;
    } cases[] = {
        { "no editor", nullptr, false, false },
        { "exits 0", "exit 0", true, true },
        { "exits 43", "exit 43", true, true },
        { "killed by a signal", "kill -KILL $$", true, true },
        { "missing executable", nullptr, false, true },
        { "no run bit", "exit 42", false, true },
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.description);
        const testing_support::TemporaryFolder applications;
        const testing_support::FakeEditor editor (applications.get());

        if (c.plist)
            editor.writePlist ("1.4.0");
        if (c.scriptBody != nullptr)
            editor.writeScript (c.scriptBody, c.executable);

        auto installedProduct = std::make_shared<LarkspireCharacterInfo>();
        runInstalledEditorStep (installedProduct, applications.get());
        EXPECT_EQ (installedProduct, nullptr);
    }
}
} // namespace
