#include "model/DownloadFolderSearch.h"
#include "support/TemporaryFolder.h"

#include <gtest/gtest.h>

#include <optional>
#include <sys/stat.h>
#include <unistd.h>

namespace
{
constexpr const char* unprivilegedId = "65534";

bool runQuietly (const juce::StringArray& command)
{
    juce::ChildProcess process;

    if (! process.start (command, 0) || ! process.waitForProcessToFinish (30000))
        return false;

    return process.getExitCode() == 0;
}

/** Root passes every permission test, so where permissions matter the search runs as an
    unprivileged user; that needs setpriv and the right to change user. */
bool canRunUnprivileged()
{
    static const auto possible =
        runQuietly ({ "setpriv", "--reuid=65534", "--regid=65534", "--clear-groups", "true" });
    return possible;
}

/** HOME and TMPDIR inside a temporary tree; the search runs in a child process that sees only
    those, so it cannot touch the real home or temporary folders. */
class DownloadFolderSearchTest : public testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE (home.createDirectory());
        ASSERT_TRUE (temp.createDirectory());
    }

    /** The result of the search, or nothing when permissionsMatter and they cannot be made to
        (the caller skips). */
    std::optional<juce::String> search (bool permissionsMatter)
    {
        auto probe = juce::File (LARKSPIRE_FOLDER_PROBE_PATH);
        juce::StringArray command;

        if (permissionsMatter && geteuid() == 0)
        {
            if (! canRunUnprivileged())
                return std::nullopt;

            // The build folder may be out of the other user's reach; a copy in the tree is not.
            const auto copy = tree.get().getChildFile ("probe");
            EXPECT_TRUE (probe.copyFileTo (copy));
            copy.setExecutePermission (true);
            probe = copy;

            EXPECT_TRUE (
                runQuietly ({ "chown", "-R", juce::String (unprivilegedId) + ":" + unprivilegedId,
                              tree.get().getFullPathName() }));
            command.addArray ({ "setpriv", "--reuid=65534", "--regid=65534", "--clear-groups" });
        }

        command.addArray ({ "env", "-i", "HOME=" + home.getFullPathName(),
                            "TMPDIR=" + temp.getFullPathName(), "PATH=/usr/bin:/bin",
                            probe.getFullPathName() });

        juce::ChildProcess process;
        EXPECT_TRUE (process.start (command, juce::ChildProcess::wantStdOut));
        const auto output = process.readAllProcessOutput();
        EXPECT_TRUE (process.waitForProcessToFinish (30000));
        EXPECT_EQ (process.getExitCode(), 0u) << output;
        return output.trimCharactersAtEnd ("\n");
    }

    static void makeReadOnly (const juce::File& folder)
    {
        ASSERT_EQ (::chmod (folder.getFullPathName().toRawUTF8(), 0555), 0);
    }

    testing_support::TemporaryFolder tree;
    juce::File home = tree.get().getChildFile ("home");
    juce::File temp = tree.get().getChildFile ("tmp");
    juce::File documents = home.getChildFile ("Documents");
};

#define SKIP_WITHOUT_PERMISSIONS(result)                                                           \
    if (! (result).has_value())                                                                    \
    GTEST_SKIP() << "running as root and cannot switch to an unprivileged user with setpriv, so "  \
                    "folder permissions cannot be made to hold"

TEST_F (DownloadFolderSearchTest, CreatesAMissingDownloadsFolderInDocuments)
{
    ASSERT_TRUE (documents.createDirectory());

    const auto result = search (false);
    EXPECT_EQ (result, documents.getChildFile ("Larkspire Downloads").getFullPathName());
    EXPECT_TRUE (documents.getChildFile ("Larkspire Downloads").isDirectory());
}

TEST_F (DownloadFolderSearchTest, CreatesDocumentsToo)
{
    const auto result = search (false);
    EXPECT_EQ (result, documents.getChildFile ("Larkspire Downloads").getFullPathName());
    EXPECT_TRUE (documents.getChildFile ("Larkspire Downloads").isDirectory());
}

TEST_F (DownloadFolderSearchTest, FollowsTheXdgDocumentsFolder)
{
    const auto dokumente = home.getChildFile ("Dokumente");
    ASSERT_TRUE (dokumente.createDirectory());
    ASSERT_TRUE (home.getChildFile (".config").createDirectory());
    ASSERT_TRUE (home.getChildFile (".config/user-dirs.dirs")
                     .replaceWithText ("XDG_DESKTOP_DIR=\"$HOME/Desktop\"\n"
                                       "XDG_DOCUMENTS_DIR=\"$HOME/Dokumente\"\n"));

    EXPECT_EQ (search (false), dokumente.getChildFile ("Larkspire Downloads").getFullPathName());
    EXPECT_FALSE (documents.exists());
}

TEST_F (DownloadFolderSearchTest, RegularFileInPlaceOfTheDownloadsFolderGivesDocuments)
{
    const auto blocker = documents.getChildFile ("Larkspire Downloads");
    ASSERT_TRUE (documents.createDirectory());
    ASSERT_TRUE (blocker.replaceWithText ("not a folder"));

    EXPECT_EQ (search (false), documents.getFullPathName());
    EXPECT_TRUE (blocker.existsAsFile());
    EXPECT_EQ (blocker.loadFileAsString(), "not a folder");
}

TEST_F (DownloadFolderSearchTest, UnwritableDocumentsGivesHome)
{
    ASSERT_TRUE (documents.createDirectory());
    makeReadOnly (documents);

    const auto result = search (true);
    SKIP_WITHOUT_PERMISSIONS (result);
    EXPECT_EQ (*result, home.getFullPathName());
    EXPECT_FALSE (documents.getChildFile ("Larkspire Downloads").exists());
}

TEST_F (DownloadFolderSearchTest, UnwritableHomeGivesAFolderInTemp)
{
    ASSERT_TRUE (documents.createDirectory());
    makeReadOnly (documents);
    makeReadOnly (home);

    const auto result = search (true);
    SKIP_WITHOUT_PERMISSIONS (result);
    EXPECT_EQ (*result, temp.getChildFile ("LarkspireInstaller").getFullPathName());
    EXPECT_TRUE (temp.getChildFile ("LarkspireInstaller").isDirectory());
}

TEST_F (DownloadFolderSearchTest, TempItselfIsTheLastChoice)
{
    ASSERT_TRUE (temp.getChildFile ("LarkspireInstaller").replaceWithText ("in the way"));
    makeReadOnly (home);

    const auto result = search (true);
    SKIP_WITHOUT_PERMISSIONS (result);
    EXPECT_EQ (*result, temp.getFullPathName());
}

TEST_F (DownloadFolderSearchTest, NothingUsableGivesAnEmptyFolder)
{
    makeReadOnly (home);
    makeReadOnly (temp);

    const auto result = search (true);
    SKIP_WITHOUT_PERMISSIONS (result);
    EXPECT_EQ (*result, juce::String());
    EXPECT_FALSE (temp.getChildFile ("LarkspireInstaller").exists());
}

TEST (DownloadFolderCandidate, ThrowsOnlyIOErrorWithTheReason)
{
    const testing_support::TemporaryFolder tree;
    const auto file = tree.get().getChildFile ("file");
    ASSERT_TRUE (file.replaceWithText ("x"));

    try
    {
        ensureUsableDownloadFolder (file);
        FAIL() << "a regular file was accepted";
    }
    catch (const std::exception& error)
    {
        EXPECT_EQ (std::string (error.what()),
                   "file `" + file.getFullPathName().toStdString() + "` is not a dir");
    }

    const auto missing = tree.get().getChildFile ("a/b");
    EXPECT_NO_THROW (ensureUsableDownloadFolder (missing));
    EXPECT_TRUE (missing.isDirectory());
}
} // namespace
