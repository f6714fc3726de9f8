#include "net/DownloadInstaller.h"
#include "net/InstallerFileName.h"
#include "support/DevServer.h"
#include "support/OutcomeText.h"
#include "support/PumpUntil.h"
#include "support/TemporaryFolder.h"

#include <gtest/gtest.h>

#include <future>
#include <unistd.h>

using testing_support::DevServer;
using testing_support::TemporaryFolder;

namespace
{
/** Downloads the server's /files/name to destination on this thread; returns the outcome. */
std::string download (const juce::File& destination, const DevServer& server,
                      const juce::String& name = "installer.bin",
                      const AsyncControlBlock& control = AsyncControlBlock())
{
    const auto path = destination.getFullPathName().toStdString();
    const auto link = server.getUrl ("/files/" + name).toStdString();
    return testing_support::outcomeOf (
        [&] { downloadInstaller (path, link, control, [] (auto...) {}); });
}

/** Files and folders in folder, hidden ones included. */
int entriesIn (const juce::File& folder)
{
    return folder.getNumberOfChildFiles (juce::File::findFilesAndDirectories);
}
} // namespace

TEST (DownloadInstaller, ReplacesTheOldFileWithTheBodyByteForByteWithOrWithoutALength)
{
    TemporaryFolder folder;
    juce::MemoryBlock bytes (1024 * 1024 + 4567);
    juce::Random (7).fillBitsRandomly (bytes.getData(), bytes.getSize());
    const auto source = folder.get().getChildFile ("source.bin");
    source.replaceWithData (bytes.getData(), bytes.getSize());
    const auto path = source.getFullPathName().toStdString();
    // Near the 255-byte limit: the temporary file beside it must still have a valid name.
    const auto name = juce::String::repeatedString ("n", 246) + ".bin";

    const std::vector<std::string> rows[] { { "--file", path },
                                            { "--file", path, "--file-chunked" },
                                            { "--file", path, "--file-no-length" },
                                            { "--file-size", "0" } };
    for (const auto& options : rows)
    {
        SCOPED_TRACE (options.back());
        const DevServer server (options);
        const auto target = folder.get().getChildFile (juce::Uuid().toString());
        // An old file is replaced, or else the folder is made, with its parents.
        const auto empty = options.back() == "0";
        if (! empty && target.createDirectory().wasOk())
            target.getChildFile (name).replaceWithText ("old installer");
        ASSERT_EQ (download (target.getChildFile (name), server, name), "ok");

        juce::MemoryBlock written;
        target.getChildFile (name).loadFileAsData (written);
        EXPECT_TRUE (empty ? written.isEmpty() : written == bytes);
        EXPECT_EQ (entriesIn (target), 1);
    }
}

TEST (DownloadInstaller, FailuresLeaveTheOldFileAloneAndOnlyClientErrorsAreRetried)
{
    const std::pair<std::vector<std::string>, std::string> rows[] {
        { { "--file-status", "404" }, "ClientError: HTTP error code 404, 4" }, // outcome, requests
        { { "--file-status", "503" }, "HttpError: HTTP error code 503, 1" },
        // Too large as announced: refused before any of the body is read.
        { { "--file-size", "1G", "--file-cut-at", "0" }, "ServerError: file is too large, 1" },
        { { "--file-size", "4100M", "--file-cut-at", "0" }, "ServerError: file is too large, 1" },
        // One byte less passes the size check and fails later, when the body is cut short.
        { { "--file-size", "1073741823", "--file-cut-at", "1000" },
          "ServerError: download broken off: received 1000 bytes, expected 1073741823, 1" },
        { { "--file-size", "100000", "--file-no-length", "--file-stall-after", "5000" },
          "ServerError: download broken off: received 5000 bytes, expected unknown, 1" },
    };
    for (const auto& [options, expected] : rows)
    {
        const TemporaryFolder folder;
        const DevServer server (options);
        const auto destination = folder.get().getChildFile ("installer.bin");
        destination.replaceWithText ("old installer");
        const auto outcome = download (destination, server);
        EXPECT_EQ (outcome + ", " +
                       std::to_string (server.getRequestCount ("/files/installer.bin")),
                   expected);
        EXPECT_EQ (entriesIn (folder.get()), 1) << expected;
        EXPECT_EQ (destination.loadFileAsString(), "old installer") << expected;
    }
}

TEST (DownloadInstaller, ACancelStopsWithinAReadAndLeavesTheOldFileAlone)
{
    TemporaryFolder folder;
    const auto destination = folder.get().getChildFile ("installer.bin");
    destination.replaceWithText ("old installer");
    // 16 MiB at 2 MiB/s: a copy that ran on after the cancel would take about 8 s.
    const DevServer slow ({ "--file-size", "16M", "--file-rate", "2M" });
    AsyncControlBlock control;
    auto outcome = std::async (std::launch::async, [&]
                               { return download (destination, slow, "installer.bin", control); });

    // The body goes to a temporary file beside the old one.
    ASSERT_TRUE (testing_support::pumpUntil ([&] { return entriesIn (folder.get()) == 2; }, 20000));
    const auto cancelledAt = juce::Time::getMillisecondCounter();
    control.flags |= AsyncControlBlock::cancelledBit;
    EXPECT_EQ (outcome.get(), "TaskCancelledError: async task is cancelled");
    EXPECT_LT (juce::Time::getMillisecondCounter() - cancelledAt, 1000u);
    EXPECT_EQ (destination.loadFileAsString(), "old installer");
    EXPECT_EQ (entriesIn (folder.get()), 1);
}

TEST (DownloadInstaller, NoFolderIsMadeForABadNameOrAnswerAndAFileInItsPlaceFails)
{
    const DevServer server ({ "--file-status", "503", "--file-fail-times", "1" });
    const TemporaryFolder folder;
    const auto target = folder.get().getChildFile ("sub");
    const auto destination = target.getChildFile ("installer.bin");
    EXPECT_EQ (download (destination, server, "a\tb.bin"),
               "ServerError: unsafe installer file name `a?b.bin`");
    EXPECT_EQ (download (destination, server, "other.bin"),
               "ServerError: installer file name `other.bin` does not match `" +
                   destination.getFullPathName().toStdString() + "`");
    EXPECT_EQ (server.getRequestCount ("/files/other.bin"), 0);
    EXPECT_EQ (download (destination, server), "HttpError: HTTP error code 503");
    EXPECT_FALSE (target.exists());

    target.replaceWithText ("a file, not a folder");
    EXPECT_EQ (download (destination, server), "IOError: failed to create directory `" +
                                                   target.getFullPathName().toStdString() + "`");
    EXPECT_EQ (target.loadFileAsString(), "a file, not a folder");
}

TEST (InstallerFileName, IsTheLinksLastSegmentWithoutTheQueryAndMustBeSafe)
{
    for (const auto* link : { "https://cdn.example/a/b/setup.pkg?a=1",
                              "https://cdn.example/a/setup.pkg?next=/x/y", "setup.pkg" })
        EXPECT_EQ (installerFileNameFromLink (link), "setup.pkg") << link;
    EXPECT_EQ (installerFileNameFromLink ("https://cdn.example/Setup%201.bin"), "Setup%201.bin");

    for (const auto& name :
         { juce::String ("LarkspireEditorSetup-2.3.1.bin"),
           juce::String::fromUTF8 ("ラークスパー.pkg"), juce::String (".hidden") })
        EXPECT_TRUE (isSafeInstallerFileName (name)) << name;
    // A leading tilde would name a home folder.
    for (const auto& name :
         { juce::String(), juce::String ("."), juce::String (".."), juce::String ("a/b"),
           juce::String ("a\\b"), juce::String ("~x"), juce::String ("a\tb"),
           juce::String::charToString (0x7f), juce::String::charToString (0x85) })
        EXPECT_FALSE (isSafeInstallerFileName (name)) << name;
}

// Places the worker cannot write to, made real: root ignores permission bits, so the downloads
// run in a child process inside a private mount namespace (read-only bind mounts, a tiny tmpfs).
TEST (DownloadFilesystem, ReadOnlyOrFullPlacesFailAtTheStepThatFailedAndLeaveNoPartialFile)
{
    const TemporaryFolder folder;
    const DevServer server ({ "--file-size", "4M" });
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
    const auto output = process.readAllProcessOutput();
    if (::geteuid() != 0 || output.startsWith ("unshare:"))
        GTEST_SKIP() << "needs root and unshare -m for private mounts: " << output;

    const auto part = "/.installer.bin.*.part`"; // a random name
    const auto expected =
        juce::StringArray { "IOError: failed to open file `" + downloads.getFullPathName() + part +
                                ", reason is: `Read-only file system`",
                            "IOError: failed to create directory `" + documents.getFullPathName() +
                                "/Larkspire Downloads`",
                            "IOError: failed to write to file `" + small.getFullPathName() + part,
                            "" }
            .joinIntoString ("\n");
    EXPECT_TRUE (output.matchesWildcard (expected, false)) << output << "\nexpected:\n" << expected;
    EXPECT_EQ (downloads.getChildFile ("installer.bin").loadFileAsString(), "old");
    EXPECT_EQ (entriesIn (downloads), 1);
    EXPECT_EQ (entriesIn (documents), 0);
    EXPECT_EQ (server.getRequestCount ("/files/installer.bin"), 3);
}
