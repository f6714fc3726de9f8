// Folders the worker cannot write to, made real: root ignores permission bits, so these run the
// download in a child process inside a private mount namespace (a read-only bind mount, a tiny
// tmpfs), or as an unprivileged user where namespaces are not available.
#include "support/DevServer.h"
#include "support/TemporaryFolder.h"

#include <gtest/gtest.h>

#include <unistd.h>

using testing_support::DevServer;
using testing_support::TemporaryFolder;

namespace
{
juce::String shellQuote (const juce::String& text)
{
    return "'" + text.replace ("'", "'\\''") + "'";
}

juce::String runAndRead (const juce::StringArray& command)
{
    juce::ChildProcess process;
    if (! process.start (command))
        return "cannot start " + command[0];
    auto output = process.readAllProcessOutput();
    process.waitForProcessToFinish (30000);
    return output;
}

bool privateMountsWork()
{
    if (::geteuid() != 0)
        return false;
    return runAndRead ({ "unshare", "-m", "sh", "-c", "mount -t tmpfs tmpfs /mnt && echo works" })
               .trim() == "works";
}

/** Runs setup (shell, may mount) and then the download in a private mount namespace; prints
    the probe's outcome line, then "files:" and the folder's listing. */
juce::String downloadInPrivateMounts (const juce::String& setup, const juce::File& destination,
                                      const juce::String& link)
{
    const auto script = setup + " && " + shellQuote (LARKSPIRE_DOWNLOAD_PROBE_PATH) + " " +
                        shellQuote (destination.getFullPathName()) + " " + shellQuote (link) +
                        " && echo files: && ls -A " +
                        shellQuote (destination.getParentDirectory().getFullPathName());
    return runAndRead ({ "unshare", "-m", "sh", "-c", script });
}
} // namespace

TEST (DownloadFilesystem, ReadOnlyFolderFailsToOpenAndKeepsTheOldFile)
{
    TemporaryFolder folder;
    DevServer server ({ "--file-size", "5000" });
    const auto target = folder.get().getChildFile ("downloads");
    target.createDirectory();
    const auto destination = target.getChildFile ("installer.bin");
    destination.replaceWithText ("old");
    const auto link = server.getUrl ("/files/installer.bin");
    const auto quoted = shellQuote (target.getFullPathName());

    if (privateMountsWork())
    {
        const auto output = downloadInPrivateMounts ("mount --bind " + quoted + " " + quoted +
                                                         " && mount -o remount,bind,ro " + quoted,
                                                     destination, link);
        const auto prefix =
            "IOError: failed to open file `" + target.getFullPathName() + "/.installer.bin.";
        EXPECT_TRUE (output.startsWith (prefix)) << output;
        EXPECT_TRUE (output.contains (".part`, reason is: `Read-only file system`")) << output;
        EXPECT_TRUE (output.endsWith ("files:\ninstaller.bin\n")) << output;
    }
    else if (runAndRead ({ "setpriv", "--help" }).contains ("reuid"))
    {
        // As nobody, permission bits hold.
        target.setReadOnly (true);
        folder.get().setExecutePermission (true);
        const auto output =
            runAndRead ({ "setpriv", "--reuid=65534", "--regid=65534", "--clear-groups",
                          LARKSPIRE_DOWNLOAD_PROBE_PATH, destination.getFullPathName(), link });
        if (output.contains ("Permission denied") && ! output.startsWith ("IOError"))
            GTEST_SKIP() << "cannot run the probe as an unprivileged user: " << output;
        EXPECT_TRUE (output.startsWith ("IOError: failed to open file `")) << output;
        EXPECT_TRUE (output.contains ("reason is: `Permission denied`")) << output;
    }
    else
    {
        GTEST_SKIP() << "neither a private mount namespace nor setpriv is available";
    }

    EXPECT_EQ (destination.loadFileAsString(), "old");
    EXPECT_EQ (server.getRequestCount ("/files/installer.bin"), 1);
}

TEST (DownloadFilesystem, ReadOnlyParentFailsToCreateTheFolder)
{
    if (! privateMountsWork())
        GTEST_SKIP() << "needs root and unshare -m for a read-only bind mount";

    TemporaryFolder folder;
    DevServer server ({ "--file-size", "5000" });
    const auto parent = folder.get().getChildFile ("documents");
    parent.createDirectory();
    const auto target = parent.getChildFile ("Larkspire Downloads");
    const auto quoted = shellQuote (parent.getFullPathName());

    const auto script = "mount --bind " + quoted + " " + quoted + " && mount -o remount,bind,ro " +
                        quoted + " && " + shellQuote (LARKSPIRE_DOWNLOAD_PROBE_PATH) + " " +
                        shellQuote (target.getChildFile ("installer.bin").getFullPathName()) + " " +
                        shellQuote (server.getUrl ("/files/installer.bin"));
    const auto output = runAndRead ({ "unshare", "-m", "sh", "-c", script });

    EXPECT_EQ (output.trim(),
               "IOError: failed to create directory `" + target.getFullPathName() + "`");
    EXPECT_FALSE (target.exists());
}

TEST (DownloadFilesystem, FullDiskFailsToWriteAndLeavesNoPartialFile)
{
    if (! privateMountsWork())
        GTEST_SKIP() << "needs root and unshare -m for a small tmpfs";

    TemporaryFolder folder;
    DevServer server ({ "--file-size", "4M" });
    const auto target = folder.get().getChildFile ("small-disk");
    target.createDirectory();
    const auto destination = target.getChildFile ("installer.bin");

    const auto output = downloadInPrivateMounts (
        "mount -t tmpfs -o size=1M tmpfs " + shellQuote (target.getFullPathName()), destination,
        server.getUrl ("/files/installer.bin"));

    const auto prefix =
        "IOError: failed to write to file `" + target.getFullPathName() + "/.installer.bin.";
    EXPECT_TRUE (output.startsWith (prefix)) << output;
    EXPECT_TRUE (output.endsWith (".part`\nfiles:\n")) << output;
}
