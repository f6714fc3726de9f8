#include "model/DownloadFolderSearch.h"
#include "support/TemporaryFolder.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
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

int modeOf (const juce::File& file)
{
    struct stat info;
    return ::lstat (file.getFullPathName().toRawUTF8(), &info) == 0 ? int (info.st_mode & 07777)
                                                                    : -1;
}

/** The candidates made unusable one by one. The search runs in a child process that sees only
    the tree's HOME and TMPDIR, with umask 0; permission bits do not stop root, so then it runs as
    nobody. */
TEST (DownloadFolderSearch, TakesTheFirstUsableCandidate)
{
    const testing_support::TemporaryFolder tree;
    const auto at = [&] (const juce::String& path) { return tree.get().getChildFile (path); };
    const auto path = [&] (const juce::String& relative)
    { return at (relative).getFullPathName(); };
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

    const auto user = ::geteuid() == 0 ? juce::String ("65534") : juce::String (::geteuid());
    const auto own = [&] (const char* base) { return juce::String (base) + "/larkspire-" + user; };
    const char* tmp = "tmp";
    const auto search = [&] (bool asRootWithHomeAFile = false)
    {
        juce::String output;
        EXPECT_TRUE (::geteuid() != 0 ||
                     run ({ "chown", "-R", "65534:65534", path ("home"), path ("tmp") }));
        auto userCommand = asRootWithHomeAFile ? juce::StringArray() : command;
        userCommand.addArray ({ "env", "-i",
                                "HOME=" + path (asRootWithHomeAFile ? "probe" : "home"),
                                "TMPDIR=" + path (tmp), probe.getFullPathName() });
        EXPECT_TRUE (run (userCommand, &output)) << output;
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

    // The temporary folder is everyone's: a folder of the user's own in it, for no one else.
    ASSERT_TRUE (at ("home").setReadOnly (true));
    const auto installer = own ("tmp") + "/LarkspireInstaller";
    EXPECT_EQ (search(), path (installer));
    EXPECT_EQ (modeOf (at (own ("tmp"))), 0700);
    EXPECT_EQ (modeOf (at (installer)), 0700);

    ASSERT_TRUE (at (installer).deleteRecursively() &&
                 at (installer).replaceWithText ("in the way"));
    EXPECT_EQ (search(), path (own ("tmp")));

    ASSERT_TRUE (at (own ("tmp")).setReadOnly (true));
    EXPECT_EQ (search(), "");

    // Another account came first: its "LarkspireInstaller" (777) is passed over, and so is the
    // user's folder's name when it is a link (to a folder of the user's), a folder anyone may
    // write, or, with root the user, nobody's folder.
    tmp = "shared";
    ASSERT_TRUE (at ("shared/LarkspireInstaller").createDirectory() &&
                 at ("bait").createDirectory());
    ASSERT_TRUE (run ({ "chmod", "1777", path ("shared") }) &&
                 run ({ "chmod", "777", path ("shared/LarkspireInstaller") }) &&
                 run ({ "chmod", "700", path ("bait") }) &&
                 (::geteuid() != 0 || run ({ "chown", "65534:65534", path ("bait") })));
    EXPECT_EQ (search(), path (own ("shared") + "/LarkspireInstaller"));
    ASSERT_TRUE (at (own ("shared")).deleteRecursively());

    for (const juce::String takenAs : { "a link", "another's 777 folder", "the user's 777 folder",
                                        "nobody's 755 folder, root searching" })
    {
        const auto forRoot = takenAs.endsWith ("root searching");
        if (forRoot && ::geteuid() != 0)
            continue;

        const auto taken = at (forRoot ? juce::String ("shared/larkspire-0") : own ("shared"));
        const auto mode = forRoot ? "755" : "777";
        ASSERT_TRUE (takenAs == "a link" ? at ("bait").createSymbolicLink (taken, false)
                                         : taken.createDirectory() &&
                                               run ({ "chmod", mode, taken.getFullPathName() }));
        const auto byNobody = forRoot || takenAs.startsWith ("the user's");
        ASSERT_TRUE (! byNobody || ::geteuid() != 0 ||
                     run ({ "chown", "65534:65534", taken.getFullPathName() }));

        EXPECT_EQ (search (forRoot), "") << takenAs;
        for (const auto& [folder, expectedMode] :
             { std::pair (taken, forRoot ? 0755 : 0777), std::pair (at ("bait"), 0700),
               std::pair (at ("shared/LarkspireInstaller"), 0777) })
        {
            EXPECT_EQ (modeOf (folder), expectedMode) << takenAs;
            EXPECT_EQ (folder.getNumberOfChildFiles (juce::File::findFilesAndDirectories), 0)
                << takenAs;
        }
        ASSERT_TRUE (taken.deleteRecursively());
    }

    // Without the sticky bit, anyone could rename the user's folder away after the look.
    ASSERT_TRUE (run ({ "chmod", "777", path ("shared") }));
    EXPECT_EQ (search(), "");
    EXPECT_FALSE (at (own ("shared")).exists());
}
} // namespace
