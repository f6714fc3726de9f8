#include "model/DownloadFolderSearch.h"
#include "support/TemporaryFolder.h"
#include "tasks/IOError.h"

#include <gtest/gtest.h>

#include <ostream>
#include <sys/stat.h>
#include <unistd.h>

namespace
{
bool runQuietly (const juce::StringArray& command)
{
    juce::ChildProcess process;
    return process.start (command, 0) && process.waitForProcessToFinish (30000) &&
           process.getExitCode() == 0;
}

/** Root passes every permission test, so where permissions matter the search runs as an
    unprivileged user; that needs setpriv and the right to change user. */
bool canRunUnprivileged()
{
    static const auto possible =
        runQuietly ({ "setpriv", "--reuid=65534", "--regid=65534", "--clear-groups", "true" });
    return possible;
}

struct FolderCase
{
    const char* name;
    /** Relative to the tree: "path/" makes a folder, "path=text" a file, "-path" makes an
        existing folder read-only. */
    std::vector<const char*> setUp;
    const char* expected; // relative to the tree; "" when no folder is usable
};

void PrintTo (const FolderCase& c, std::ostream* stream)
{
    *stream << c.name;
}

/** HOME and TMPDIR inside a temporary tree; the search runs in a child process that sees only
    those, so it cannot touch the real home or temporary folders. */
class DownloadFolderSearchTest : public testing::TestWithParam<FolderCase>
{
protected:
    juce::File at (const juce::String& path) const { return tree.get().getChildFile (path); }

    testing_support::TemporaryFolder tree;
};

TEST_P (DownloadFolderSearchTest, TakesTheFirstUsableCandidate)
{
    ASSERT_TRUE (at ("home").createDirectory());
    ASSERT_TRUE (at ("tmp").createDirectory());
    bool permissionsMatter = false;

    for (const juce::String step : GetParam().setUp)
    {
        if (step.startsWith ("-"))
            ASSERT_EQ (::chmod (at (step.substring (1)).getFullPathName().toRawUTF8(), 0555), 0);
        else if (step.endsWith ("/"))
            ASSERT_TRUE (at (step).createDirectory());
        else
            ASSERT_TRUE (at (step.upToFirstOccurrenceOf ("=", false, false))
                             .replaceWithText (step.fromFirstOccurrenceOf ("=", false, false),
                                               false, false, "\n"));

        permissionsMatter = permissionsMatter || step.startsWith ("-");
    }

    auto probe = juce::File (LARKSPIRE_FOLDER_PROBE_PATH);
    juce::StringArray command;

    if (permissionsMatter && ::geteuid() == 0)
    {
        if (! canRunUnprivileged())
            GTEST_SKIP() << "running as root and cannot switch to an unprivileged user with "
                            "setpriv, so folder permissions cannot be made to hold";

        // The build folder may be out of the other user's reach; a copy in the tree is not.
        ASSERT_TRUE (probe.copyFileTo (at ("probe")) && at ("probe").setExecutePermission (true));
        probe = at ("probe");
        ASSERT_TRUE (runQuietly ({ "chown", "-R", "65534:65534", tree.get().getFullPathName() }));
        command.addArray ({ "setpriv", "--reuid=65534", "--regid=65534", "--clear-groups" });
    }

    command.addArray ({ "env", "-i", "HOME=" + at ("home").getFullPathName(),
                        "TMPDIR=" + at ("tmp").getFullPathName(), "PATH=/usr/bin:/bin",
                        probe.getFullPathName() });
    juce::ChildProcess process;
    ASSERT_TRUE (process.start (command, juce::ChildProcess::wantStdOut));
    const auto output = process.readAllProcessOutput();
    ASSERT_TRUE (process.waitForProcessToFinish (30000));
    ASSERT_EQ (process.getExitCode(), 0u) << output;

    const juce::String expected (GetParam().expected);
    EXPECT_EQ (output.trimCharactersAtEnd ("\n"),
               expected.isEmpty() ? juce::String() : at (expected).getFullPathName());
    EXPECT_TRUE (expected.isEmpty() || at (expected).isDirectory());

    // A file in the way of a candidate is left as it was.
    for (const juce::String step : GetParam().setUp)
        EXPECT_TRUE (! step.contains ("=") ||
                     at (step.upToFirstOccurrenceOf ("=", false, false)).loadFileAsString() ==
                         step.fromFirstOccurrenceOf ("=", false, false))
            << step;
}

INSTANTIATE_TEST_SUITE_P (
    Candidates, DownloadFolderSearchTest,
    testing::Values (
        FolderCase { "DownloadsFolderIsCreated",
                     { "home/Documents/" },
                     "home/Documents/Larkspire Downloads" },
        FolderCase { "DocumentsIsCreatedToo", {}, "home/Documents/Larkspire Downloads" },
        FolderCase { "XdgDocumentsFolderIsFollowed",
                     { "home/Dokumente/", "home/.config/",
                       "home/.config/user-dirs.dirs=XDG_DOCUMENTS_DIR=\"$HOME/Dokumente\"\n" },
                     "home/Dokumente/Larkspire Downloads" },
        FolderCase { "FileInPlaceOfTheDownloadsFolderGivesDocuments",
                     { "home/Documents/", "home/Documents/Larkspire Downloads=not a folder" },
                     "home/Documents" },
        FolderCase {
            "UnwritableDocumentsGivesHome", { "home/Documents/", "-home/Documents" }, "home" },
        FolderCase { "UnwritableHomeGivesAFolderInTemp",
                     { "home/Documents/", "-home/Documents", "-home" },
                     "tmp/LarkspireInstaller" },
        FolderCase {
            "TempItselfIsTheLastChoice", { "tmp/LarkspireInstaller=in the way", "-home" }, "tmp" },
        FolderCase { "NothingUsableGivesNoFolder", { "-home", "-tmp" }, "" }),
    [] (const auto& test) { return std::string (test.param.name); });

TEST (DownloadFolderCandidate, ARegularFileIsRefusedWithTheReasonAndAMissingFolderMade)
{
    const testing_support::TemporaryFolder tree;
    const auto file = tree.get().getChildFile ("file");
    ASSERT_TRUE (file.replaceWithText ("x"));

    try
    {
        ensureUsableDownloadFolder (file);
        FAIL() << "a regular file was accepted";
    }
    catch (const IOError& error)
    {
        EXPECT_EQ (std::string (error.what()),
                   "file `" + file.getFullPathName().toStdString() + "` is not a dir");
    }

    EXPECT_NO_THROW (ensureUsableDownloadFolder (tree.get().getChildFile ("a/b")));
    EXPECT_TRUE (tree.get().getChildFile ("a/b").isDirectory());
}
} // namespace
