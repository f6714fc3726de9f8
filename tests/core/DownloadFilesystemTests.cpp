// Folders the worker cannot write to, made real: root ignores permission bits, so the download
// runs in a child process inside a private mount namespace (a read-only bind mount, a tiny tmpfs).
#include "support/DevServer.h"
#include "support/TemporaryFolder.h"

#include <gtest/gtest.h>

#include <unistd.h>

namespace
{
juce::String shellQuote (const juce::String& text)
{
    return "'" + text.replace ("'", "'\\''") + "'";
}

juce::String runAndRead (const juce::String& script)
{
    juce::ChildProcess process;
    if (! process.start (juce::StringArray { "unshare", "-m", "sh", "-c", script }))
        return "cannot start unshare";
    auto output = process.readAllProcessOutput();
    process.waitForProcessToFinish (30000);
    return output;
}

juce::String readOnly (const juce::File& folder)
{
    const auto quoted = shellQuote (folder.getFullPathName());
    return "mount --bind " + quoted + " " + quoted + " && mount -o remount,bind,ro " + quoted;
}
} // namespace

TEST (DownloadFilesystem, UnwritablePlacesFailWithTheStepThatFailedAndLeaveNoPartialFile)
{
    if (::geteuid() != 0 ||
        runAndRead ("mount -t tmpfs tmpfs /mnt && echo works").trim() != "works")
        GTEST_SKIP() << "needs root and unshare -m for private mounts";

    testing_support::TemporaryFolder folder;
    testing_support::DevServer server ({ "--file-size", "4M" });
    const auto root = folder.get();
    for (const auto* name : { "downloads", "documents", "small-disk" })
        root.getChildFile (name).createDirectory();
    root.getChildFile ("downloads/installer.bin").replaceWithText ("old");

    struct Row
    {
        juce::String setup;
        juce::File destination;
        juce::String expectedStart, expectedEnd;
    };
    const auto downloads = root.getChildFile ("downloads");
    const auto created = root.getChildFile ("documents/Larkspire Downloads");
    const auto small = root.getChildFile ("small-disk");
    const Row rows[] {
        // The old installer stays; the temporary file cannot be opened.
        { readOnly (downloads), downloads.getChildFile ("installer.bin"),
          "IOError: failed to open file `" + downloads.getFullPathName() + "/.installer.bin.",
          ".part`, reason is: `Read-only file system`\nfiles:\ninstaller.bin\n" },
        { readOnly (created.getParentDirectory()), created.getChildFile ("installer.bin"),
          "IOError: failed to create directory `" + created.getFullPathName() + "`\n", "" },
        { "mount -t tmpfs -o size=1M tmpfs " + shellQuote (small.getFullPathName()),
          small.getChildFile ("installer.bin"),
          "IOError: failed to write to file `" + small.getFullPathName() + "/.installer.bin.",
          ".part`\nfiles:\n" },
    };

    for (const auto& row : rows)
    {
        // The probe prints the outcome; then the folder's listing follows "files:".
        const auto output = runAndRead (
            row.setup + " && " + shellQuote (LARKSPIRE_DOWNLOAD_PROBE_PATH) + " " +
            shellQuote (row.destination.getFullPathName()) + " " +
            shellQuote (server.getUrl ("/files/installer.bin")) + " && echo files: && ls -A " +
            shellQuote (row.destination.getParentDirectory().getFullPathName()));
        EXPECT_TRUE (output.startsWith (row.expectedStart)) << output;
        EXPECT_TRUE (output.endsWith (row.expectedEnd)) << output;
    }
    EXPECT_EQ (downloads.getChildFile ("installer.bin").loadFileAsString(), "old");
    EXPECT_FALSE (created.exists());
    EXPECT_EQ (server.getRequestCount ("/files/installer.bin"), 3);
}
