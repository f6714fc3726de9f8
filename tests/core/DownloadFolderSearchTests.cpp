#include "model/DownloadFolderSearch.h"
#include "support/TemporaryFolder.h"

#include <gtest/gtest.h>

#include <unistd.h>

namespace
{
bool run (const juce::StringArray& command, juce::String* output = nullptr)
{
    juce::ChildProcess process;

    if (! process.start (command, output != nullptr ? juce::ChildProcess::wantStdOut : 0))
        return false;

    if (output != nullptr)
        *output = process.readAllProcessOutput().trimEnd();

    return process.waitForProcessToFinish (30000) && process.getExitCode() == 0;
}

/** The candidates made unusable one by one. The search runs in a child process that sees only
    the tree's HOME and TMPDIR; permission bits do not stop root, so then it runs as nobody. */
TEST (DownloadFolderSearch, TakesTheFirstUsableCandidate)
{
    const testing_support::TemporaryFolder tree;
    const auto at = [&] (const char* path) { return tree.get().getChildFile (path); };
    const auto path = [&] (const char* relative) { return at (relative).getFullPathName(); };
    ASSERT_TRUE (at ("home").createDirectory() && at ("tmp").createDirectory());

    juce::StringArray command;
    auto probe = juce::File (LARKSPIRE_FOLDER_PROBE_PATH);

    if (::geteuid() == 0)
    {
        command = { "setpriv", "--reuid=65534", "--regid=65534", "--clear-groups", "true" };

        if (! run (command))
            GTEST_SKIP() << "running as root and setpriv cannot switch to user nobody";

        command.remove (command.size() - 1);

        // The build folder may be out of nobody's reach; a copy in the tree is not.
        ASSERT_TRUE (probe.copyFileTo (at ("probe")) && at ("probe").setExecutePermission (true));
        probe = at ("probe");
    }

    command.addArray ({ "env", "-i", "HOME=" + path ("home"), "TMPDIR=" + path ("tmp"),
                        probe.getFullPathName() });
    const auto search = [&]
    {
        juce::String output;
        EXPECT_TRUE (::geteuid() != 0 || run ({ "chown", "-R", "65534:65534", path ("") }));
        EXPECT_TRUE (run (command, &output)) << output;
        return output;
    };

    EXPECT_EQ (search(), path ("home/Documents/Larkspire Downloads"));

    // The documents folder named in the user's folder settings.
    ASSERT_TRUE (at ("home/Dokumente").createDirectory() && at ("home/.config").createDirectory() &&
                 at ("home/.config/user-dirs.dirs")
                     .replaceWithText ("XDG_DOCUMENTS_DIR=\"$HOME/Dokumente\""));
    EXPECT_EQ (search(), path ("home/Dokumente/Larkspire Downloads"));

    // A file in the way is passed over and left as it was.
    ASSERT_TRUE (at ("home/Dokumente/Larkspire Downloads").deleteRecursively() &&
                 at ("home/Dokumente/Larkspire Downloads").replaceWithText ("in the way"));
    EXPECT_EQ (search(), path ("home/Dokumente"));
    EXPECT_EQ (at ("home/Dokumente/Larkspire Downloads").loadFileAsString(), "in the way");

    ASSERT_TRUE (at ("home/Dokumente").setReadOnly (true));
    EXPECT_EQ (search(), path ("home"));

    ASSERT_TRUE (at ("home").setReadOnly (true));
    EXPECT_EQ (search(), path ("tmp/LarkspireInstaller"));

    ASSERT_TRUE (at ("tmp/LarkspireInstaller").deleteRecursively() &&
                 at ("tmp/LarkspireInstaller").replaceWithText ("in the way"));
    EXPECT_EQ (search(), path ("tmp"));

    ASSERT_TRUE (at ("tmp").setReadOnly (true));
    EXPECT_EQ (search(), "");
}
} // namespace
