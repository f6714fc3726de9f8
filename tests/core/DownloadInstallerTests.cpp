#include "net/DownloadInstaller.h"
#include "support/DevServer.h"
#include "support/OutcomeText.h"
#include "support/PumpUntil.h"
#include "support/TemporaryFolder.h"

#include <gtest/gtest.h>

#include <future>

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
    // The outcome, then how many requests the server had.
    const std::pair<std::vector<std::string>, std::string> rows[] {
        { { "--file-status", "404" }, "ClientError: HTTP error code 404, 4" },
        { { "--file-status", "503" }, "HttpError: HTTP error code 503, 1" },
        // Announced lengths: nothing of these bodies is sent before the check.
        { { "--file-size", "1073741824" }, "ServerError: file is too large, 1" },
        { { "--file-size", "5G" }, "ServerError: file is too large, 1" },
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

    // The body goes to a hidden temporary file beside the old one.
    const auto temporaryFiles = [&]
    { return folder.get().getNumberOfChildFiles (juce::File::findFiles, ".installer.bin.*.part"); };
    ASSERT_TRUE (testing_support::pumpUntil ([&] { return temporaryFiles() == 1; }, 20000));
    EXPECT_EQ (destination.loadFileAsString(), "old installer");
    const auto cancelledAt = juce::Time::getMillisecondCounter();
    control.flags |= AsyncControlBlock::cancelledBit;
    EXPECT_EQ (outcome.get(), "TaskCancelledError: async task is cancelled");
    EXPECT_LT (juce::Time::getMillisecondCounter() - cancelledAt, 1000u);
    EXPECT_EQ (destination.loadFileAsString(), "old installer");
    EXPECT_EQ (entriesIn (folder.get()), 1);
}

TEST (DownloadInstaller, BadNamesOrAFileInPlaceOfTheFolderFailBeforeAnythingIsMade)
{
    const DevServer server ({ "--file-size", "1000" });
    const TemporaryFolder folder;
    const auto target = folder.get().getChildFile ("sub");
    const auto destination = target.getChildFile ("installer.bin");
    const std::pair<const char*, std::string> rows[] {
        { "..", "ServerError: unsafe installer file name `..`" },
        { "a\tb.bin", "ServerError: unsafe installer file name `a?b.bin`" },
        { "other.bin", "ServerError: installer file name `other.bin` does not match `" +
                           destination.getFullPathName().toStdString() + "`" },
    };
    for (const auto& [name, expected] : rows)
        EXPECT_EQ (download (destination, server, name), expected);
    EXPECT_FALSE (target.exists());
    EXPECT_EQ (server.getRequestCount ("/files/.."), 0);
    EXPECT_EQ (server.getRequestCount ("/files/other.bin"), 0);

    target.replaceWithText ("a file, not a folder");
    EXPECT_EQ (download (destination, server), "IOError: failed to create directory `" +
                                                   target.getFullPathName().toStdString() + "`");
    EXPECT_EQ (target.loadFileAsString(), "a file, not a folder");
}
