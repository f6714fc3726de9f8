#include "net/DownloadInstaller.h"
#include "support/DevServer.h"
#include "support/OutcomeText.h"
#include "support/PumpUntil.h"
#include "support/TemporaryFolder.h"
#include "tasks/BackgroundThreads.h"

#include <gtest/gtest.h>

#include <future>
#include <unistd.h>

using testing_support::DevServer;
using testing_support::TemporaryFolder;

namespace
{
/** Downloads the server's /files/name to destination on this thread, with the size a links
    answer gave (0: none); returns the outcome. */
std::string download (const juce::File& destination, const DevServer& server,
                      const juce::String& name = "installer.bin", std::int64_t totalSize = 0,
                      const AsyncControlBlock& control = AsyncControlBlock())
{
    const auto path = destination.getFullPathName().toStdString();
    const auto link = server.getUrl ("/files/" + name).toStdString();
    return testing_support::outcomeOf (
        [&] { downloadInstaller (path, link, totalSize, control, [] (auto...) {}); });
}

// Streaming 1 GiB over loopback takes about 3 s, but minutes under AddressSanitizer or
// ThreadSanitizer (fresh shadow memory for every buffer curl fills): those builds skip it.
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
constexpr bool streamsAGibibyteQuickly = false;
#elif defined(__has_feature)
constexpr bool streamsAGibibyteQuickly =
    ! (__has_feature (address_sanitizer) || __has_feature (thread_sanitizer));
#else
constexpr bool streamsAGibibyteQuickly = true;
#endif

/** While it lives, with refuse, no thread of BackgroundThreads starts; the pool starts threads
    again once it goes, whatever the test did meanwhile. */
class NoThreadStarts final
{
public:
    explicit NoThreadStarts (bool refuse)
    {
        BackgroundThreads::get().refuseStartsForTests (refuse);
    }
    ~NoThreadStarts() { BackgroundThreads::get().refuseStartsForTests (false); }

    JUCE_DECLARE_NON_COPYABLE (NoThreadStarts)
};

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

    // With or without the size from the links answer (0: none), which the body must match.
    const std::int64_t size = static_cast<std::int64_t> (bytes.getSize());
    const std::pair<std::vector<std::string>, std::int64_t> rows[] {
        { { "--file", path }, 0 },
        { { "--file", path, "--file-chunked" }, size },
        { { "--file", path, "--file-no-length" }, size },
    };
    for (const auto& [options, totalSize] : rows)
    {
        SCOPED_TRACE (options.back());
        const DevServer server (options);
        const auto target = folder.get().getChildFile (juce::Uuid().toString());
        // An old file is replaced, or else the folder is made, with its parents.
        if (options.size() == 2 && target.createDirectory().wasOk())
            target.getChildFile (name).replaceWithText ("old installer");
        ASSERT_EQ (download (target.getChildFile (name), server, name, totalSize), "ok");

        juce::MemoryBlock written;
        target.getChildFile (name).loadFileAsData (written);
        EXPECT_TRUE (written == bytes);
        EXPECT_EQ (entriesIn (target), 1);
    }
}

TEST (DownloadInstaller, FailuresLeaveTheOldFileAloneAndOnlyClientErrorsAreRetried)
{
    const std::vector<std::string> gibibyteWithoutLength { "--file-size", "1G",
                                                           "--file-no-length" };
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
        // Without a length, a closed connection ends the body: too short for the links answer's
        // size (1 MiB here), or at the size limit.
        { { "--file-no-length", "--file-cut-at", "500000" },
          "ServerError: download size mismatch: received 500000 bytes, expected 1048576, 1" },
        { gibibyteWithoutLength, "ServerError: file is too large, 1" },
    };
    for (const auto& [options, expected] : rows)
    {
        if (options == gibibyteWithoutLength && ! streamsAGibibyteQuickly)
            continue;
        const TemporaryFolder folder;
        const DevServer server (options);
        const auto destination = folder.get().getChildFile ("installer.bin");
        destination.replaceWithText ("old installer");
        const auto outcome = download (destination, server, "installer.bin", 1048576);
        EXPECT_EQ (outcome + ", " +
                       std::to_string (server.getRequestCount ("/files/installer.bin")),
                   expected);
        EXPECT_EQ (entriesIn (folder.get()), 1) << expected;
        EXPECT_EQ (destination.loadFileAsString(), "old installer") << expected;
    }
}

TEST (DownloadInstaller, ACancelEndsTheRunAtOnceAtAnySpeedAndLeavesTheOldFileAlone)
{
    // A copy under way stops before its next read. A read blocked on a stall or a 4 KiB/s
    // trickle, or a request without an answer, runs on for 8 to 32 s unless the cancel
    // interrupts it: from a thread of its own, or from the cancelling one when no thread can be
    // started. A cancel that comes before the request (its interrupter has run and found no
    // request) keeps it from going out at all.
    enum class Cancel
    {
        underWay,
        underWayWithNoThreadToStart,
        first
    };
    const std::pair<std::vector<std::string>, Cancel> rows[] {
        { { "--file-size", "16M", "--file-rate", "2M" }, Cancel::underWay },
        { { "--file-size", "16M", "--file-stall-after", "204800" }, Cancel::underWay },
        { { "--file-size", "16M", "--file-stall-after", "204800" },
          Cancel::underWayWithNoThreadToStart },
        { { "--file-size", "16M", "--file-rate", "4K" }, Cancel::underWay },
        { { "--file-hang" }, Cancel::underWay },
        { { "--file-hang" }, Cancel::underWayWithNoThreadToStart },
        { { "--file-hang" }, Cancel::first },
    };
    for (const auto& [options, cancel] : rows)
    {
        const char* const cancelTexts[] { "", ", no thread to start", ", cancelled first" };
        SCOPED_TRACE (options.back() + cancelTexts[static_cast<int> (cancel)]);
        const TemporaryFolder folder;
        const auto destination = folder.get().getChildFile ("installer.bin");
        destination.replaceWithText ("old installer");
        const DevServer server (options);
        const auto control = std::make_shared<AsyncControlBlock>();
        const auto cancelledFirst = cancel == Cancel::first;
        if (cancelledFirst)
        {
            cancelFunctionFor (control)();
            ASSERT_TRUE (BackgroundThreads::get().waitForAll (5000));
        }
        auto outcome =
            std::async (std::launch::async, [&]
                        { return download (destination, server, "installer.bin", 0, *control); });

        // Under way: the body goes to a partial file beside the old one, once there is an answer.
        const auto answered = options.back() != "--file-hang";
        if (! cancelledFirst)
        {
            ASSERT_TRUE (testing_support::pumpUntil (
                [&]
                {
                    return server.getRequestCount ("/files/installer.bin") == 1 &&
                           entriesIn (folder.get()) == (answered ? 2 : 1);
                },
                20000));
            const NoThreadStarts noThreads (cancel == Cancel::underWayWithNoThreadToStart);
            if (cancel == Cancel::underWayWithNoThreadToStart)
            {
                EXPECT_FALSE (BackgroundThreads::get().start ([] {}));
            }
            cancelFunctionFor (control)();
        }
        ASSERT_EQ (outcome.wait_for (std::chrono::seconds (5)), std::future_status::ready);
        EXPECT_EQ (outcome.get(), "TaskCancelledError: async task is cancelled");
        EXPECT_EQ (destination.loadFileAsString(), "old installer");
        EXPECT_EQ (entriesIn (folder.get()), 1);
        EXPECT_EQ (server.getRequestCount ("/files/installer.bin"), cancelledFirst ? 0 : 1);
    }
}

TEST (DownloadInstaller, PartialFilesOfDeadRunsGoButNotOneAnotherCopyIsWriting)
{
    const TemporaryFolder folder;
    const auto destination = folder.get().getChildFile ("installer.bin");
    const auto dead = folder.get().getChildFile (".installer.bin.3f2a9c.part");
    dead.replaceWithText ("left by a run that was killed");
    const juce::StringArray others { ".installer.bin.xyz.part", ".installer.bin.3f2a9c.part.keep",
                                     "installer.bin.3f2a9c.part", ".other.bin.3f2a9c.part" };
    for (const auto& name : others)
        folder.get().getChildFile (name).replaceWithText ("not a partial file of ours");

    // A second copy of the program downloads the same installer over a stalled link.
    const DevServer stalled ({ "--file-size", "16M", "--file-stall-after", "102400" });
    juce::ChildProcess second;
    ASSERT_TRUE (second.start (juce::StringArray {
        juce::File::getSpecialLocation (juce::File::currentExecutableFile).getFullPathName(),
        "--download", destination.getFullPathName(), stalled.getUrl ("/files/installer.bin") }));
    juce::File live;
    ASSERT_TRUE (testing_support::pumpUntil (
        [&]
        {
            for (const auto& file : folder.get().findChildFiles (juce::File::findFiles, false))
                if (file != dead && ! others.contains (file.getFileName()))
                    live = file;
            return live.exists();
        },
        20000));

    const DevServer server;
    EXPECT_EQ (download (destination, server), "ok");
    EXPECT_FALSE (dead.exists());
    EXPECT_TRUE (live.exists());
    for (const auto& name : others)
        EXPECT_TRUE (folder.get().getChildFile (name).exists()) << name;

    // Killed, the second copy leaves its file behind, unlocked: the next download removes it.
    second.kill();
    second.waitForProcessToFinish (10000);
    EXPECT_EQ (download (destination, server), "ok");
    EXPECT_FALSE (live.exists());
    EXPECT_EQ (entriesIn (folder.get()), 1 + others.size());
}

TEST (DownloadInstaller, RequestsTheLinkByteForByte)
{
    const TemporaryFolder folder;
    const DevServer server;
    for (const juce::String query :
         { "?token&sig=a%2Fb+c&x=1", "?a=b=c==&empty=&=x", "?p=%20%E3%81%82%2b+", "?only" })
    {
        EXPECT_EQ (download (folder.get().getChildFile ("X.bin"), server, "X.bin" + query), "ok");
        EXPECT_EQ (server.getLastTarget ("/files/X.bin"), "/files/X.bin" + query);
    }
}

TEST (DownloadInstaller, NoFolderIsMadeForABadNameOrAnswerAndAFileInItsPlaceFails)
{
    const DevServer server ({ "--file-status", "503", "--file-fail-times", "1" });
    const TemporaryFolder folder;
    const auto target = folder.get().getChildFile ("sub");
    const auto destination = target.getChildFile ("installer.bin");
    EXPECT_EQ (download (destination, server, "a\tb.bin"),
               "ServerError: unsafe installer file name `a?b.bin`");
    // A lone surrogate (JUCE's reading of an unpaired escape) is no text, though the name fits.
    const auto loneSurrogate = juce::String::fromUTF8 ("Setup\xed\xa0\x80.bin");
    EXPECT_EQ (download (target.getChildFile (loneSurrogate), server, loneSurrogate),
               "ServerError: unsafe installer file name `Setup?.bin`");
    EXPECT_EQ (download (destination, server, "other.bin"),
               "ServerError: installer file name `other.bin` does not match `" +
                   destination.getFullPathName().toStdString() + "`");
    // 256 bytes, though 130 characters: over a file name's limit, and cut to 80 in the message.
    const auto tooLong = juce::String::repeatedString (juce::String::fromUTF8 ("é"), 126) + ".bin";
    EXPECT_EQ (download (target.getChildFile (tooLong), server, tooLong),
               "ServerError: installer file name `" + tooLong.substring (0, 80).toStdString() +
                   "\xe2\x80\xa6` is longer than 255 bytes");
    EXPECT_EQ (server.getRequestCount ("/files/other.bin") +
                   server.getRequestCount ("/files/" + tooLong) +
                   server.getRequestCount ("/files/" + loneSurrogate),
               0);
    EXPECT_EQ (download (destination, server), "HttpError: HTTP error code 503");
    EXPECT_FALSE (target.exists());

    // A folder where the installer should go: refused before any request.
    const auto inTheWay = folder.get().getChildFile ("installer.bin");
    inTheWay.createDirectory();
    EXPECT_EQ (download (inTheWay, server), "IOError: cannot save the installer as `" +
                                                inTheWay.getFullPathName().toStdString() +
                                                "`: a folder of that name is in the way");
    EXPECT_EQ (server.getRequestCount ("/files/installer.bin"), 1);

    target.replaceWithText ("a file, not a folder");
    EXPECT_EQ (download (destination, server), "IOError: failed to create directory `" +
                                                   target.getFullPathName().toStdString() + "`");
    EXPECT_EQ (target.loadFileAsString(), "a file, not a folder");
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

    // The messages name the installer, never the partial file.
    const auto installer = "/installer.bin`";
    const auto expected =
        juce::StringArray { "IOError: failed to open file `" + downloads.getFullPathName() +
                                installer + ", reason is: `Read-only file system`",
                            "IOError: failed to create directory `" + documents.getFullPathName() +
                                "/Larkspire Downloads`",
                            "IOError: failed to write to file `" + small.getFullPathName() +
                                installer,
                            "" }
            .joinIntoString ("\n");
    EXPECT_TRUE (output.matchesWildcard (expected, false)) << output << "\nexpected:\n" << expected;
    EXPECT_EQ (downloads.getChildFile ("installer.bin").loadFileAsString(), "old");
    EXPECT_EQ (entriesIn (downloads), 1);
    EXPECT_EQ (entriesIn (documents), 0);
    EXPECT_EQ (server.getRequestCount ("/files/installer.bin"), 3);
}
