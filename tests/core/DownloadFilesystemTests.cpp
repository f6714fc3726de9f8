// Places the worker cannot write to, made real: root ignores permission bits, so the downloads
// run in a child process inside a private mount namespace (read-only bind mounts, a tiny tmpfs).
#include "support/DevServer.h"
#include "support/TemporaryFolder.h"

#include <gtest/gtest.h>

#include <regex>
#include <unistd.h>

TEST (DownloadFilesystem, ReadOnlyOrFullPlacesFailAtTheStepThatFailedAndLeaveNoPartialFile)
{
    const testing_support::TemporaryFolder folder;
    const testing_support::DevServer server ({ "--file-size", "4M" });
    const auto downloads = folder.get().getChildFile ("downloads");
    const auto documents = folder.get().getChildFile ("documents");
    const auto small = folder.get().getChildFile ("small");
    for (const auto& place : { downloads, documents, small })
        place.createDirectory();
    downloads.getChildFile ("installer.bin").replaceWithText ("old");

    // Paths reach the script as arguments; the full tmpfs is listed before it goes.
    const juce::String script = R"(set -e
for d in "$1" "$2"; do mount --bind "$d" "$d"; mount -o remount,bind,ro "$d"; done
mount -t tmpfs -o size=1M tmpfs "$3"
for d in "$1" "$2/Larkspire Downloads" "$3"; do "$4" --download "$d/installer.bin" "$5"; done
ls -A "$3")";
    juce::ChildProcess process;
    ASSERT_TRUE (process.start (juce::StringArray {
        "unshare", "-m", "sh", "-c", script, "sh", downloads.getFullPathName(),
        documents.getFullPathName(), small.getFullPathName(),
        juce::File::getSpecialLocation (juce::File::currentExecutableFile).getFullPathName(),
        server.getUrl ("/files/installer.bin") }));
    const auto output = process.readAllProcessOutput().toStdString();
    if (::geteuid() != 0 || output.rfind ("unshare:", 0) == 0)
        GTEST_SKIP() << "needs root and unshare -m for private mounts: " << output;

    const auto part = [] (const juce::File& place)
    { return place.getFullPathName().toStdString() + "/.installer.bin.*.part`"; };
    EXPECT_EQ (std::regex_replace (output, std::regex (R"(\.installer\.bin\.\w+\.part`)"),
                                   ".installer.bin.*.part`"),
               "IOError: failed to open file `" + part (downloads) +
                   ", reason is: `Read-only file system`\nIOError: failed to create directory `" +
                   documents.getFullPathName().toStdString() +
                   "/Larkspire Downloads`\nIOError: failed to write to file `" + part (small) +
                   "\n");
    EXPECT_EQ (downloads.getChildFile ("installer.bin").loadFileAsString(), "old");
    EXPECT_EQ (downloads.getNumberOfChildFiles (juce::File::findFilesAndDirectories), 1);
    EXPECT_EQ (documents.getNumberOfChildFiles (juce::File::findFilesAndDirectories), 0);
    EXPECT_EQ (server.getRequestCount ("/files/installer.bin"), 3);
}
