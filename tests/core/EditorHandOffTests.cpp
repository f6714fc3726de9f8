#include "model/EditorHandOff.h"
#include "model/InstalledEditorSearch.h"
#include "support/FakeEditor.h"
#include "support/TemporaryFolder.h"

#include <gtest/gtest.h>

namespace
{
const juce::String version = "<key>CFBundleVersion</key><string>1.4.0</string>";

TEST (EditorHandOff, OnlyExitCode42AfterExactlyTheTwoOptionsIsATakeOver)
{
    // Blanks and quotes in the path; the run that takes over outlasts a 100 ms slice of the wait.
    const testing_support::TemporaryFolder tree;
    const auto folder = tree.get().getChildFile ("My \"Apps\" Folder");
    const auto arguments = tree.get().getChildFile ("arguments");
    const testing_support::FakeEditor editor (folder);
    ASSERT_TRUE (editor.writePlistDict (version));

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
        ASSERT_TRUE (editor.writeScript ("printf '%s\\n' \"$@\" >'" + arguments.getFullPathName() +
                                             "'\n" + c.exit,
                                         c.executable));
        const auto info = findInstalledEditor (folder);
        ASSERT_NE (info, nullptr);
        EXPECT_EQ (runEditorHandOff (*info), c.tookOver);
        EXPECT_TRUE (! c.tookOver || arguments.loadFileAsString() ==
                                         "--from-downloader\n--check-update-and-install-product\n")
            << arguments.loadFileAsString();
    }
}

TEST (EditorHandOff, TheModelsStepKeepsNoRecordUnlessTheEditorTookOver)
{
    // A take-over is left to the end-to-end test: the step then stops this process's message loop.
    const testing_support::TemporaryFolder applications, empty;
    const testing_support::FakeEditor editor (applications.get());
    ASSERT_TRUE (editor.writePlistDict (version) && editor.writeScript ("exit 0"));

    for (const auto* folder : { &applications.get(), &empty.get() })
    {
        auto installedProduct = std::make_shared<LarkspireCharacterInfo>();
        runInstalledEditorStep (installedProduct, *folder);
        EXPECT_EQ (installedProduct, nullptr);
    }
}
} // namespace
