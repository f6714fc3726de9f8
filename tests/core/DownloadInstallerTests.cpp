#include "net/DownloadInstaller.h"
#include "support/DevServer.h"
#include "support/TemporaryFolder.h"
#include "tasks/ClientError.h"
#include "tasks/HttpError.h"
#include "tasks/IOError.h"
#include "tasks/TaskCancelledError.h"

#include <gtest/gtest.h>

#include <atomic>
#include <mutex>
#include <thread>

using testing_support::DevServer;
using testing_support::TemporaryFolder;

namespace
{
struct Report
{
    double done;
    double total;
    std::string text;
};

/** One download on a thread of its own, watched from the test. */
class DownloadRun final
{
public:
    DownloadRun (const juce::File& destination, const juce::String& link)
    {
        thread = std::thread (
            [this, path = destination.getFullPathName().toStdString(), text = link.toStdString()]
            {
                try
                {
                    downloadInstaller (path, text, control,
                                       [this] (double done, double total, std::string note)
                                       {
                                           std::lock_guard<std::mutex> lock (mutex);
                                           reports.push_back ({ done, total, std::move (note) });
                                       });
                    outcome = "ok";
                }
                catch (const HttpError& e)
                {
                    outcome = std::string ("HttpError: ") + e.what();
                }
                catch (const ServerError& e)
                {
                    outcome = std::string ("ServerError: ") + e.what();
                }
                catch (const ClientError& e)
                {
                    outcome = std::string ("ClientError: ") + e.what();
                }
                catch (const IOError& e)
                {
                    outcome = std::string ("IOError: ") + e.what();
                }
                catch (const TaskCancelledError& e)
                {
                    outcome = std::string ("TaskCancelledError: ") + e.what();
                }
                finished = true;
            });
    }

    ~DownloadRun()
    {
        control.flags |= AsyncControlBlock::cancelledBit;
        if (thread.joinable())
            thread.join();
    }

    std::string finish()
    {
        thread.join();
        return outcome;
    }

    void cancel() { control.flags |= AsyncControlBlock::cancelledBit; }

    /** Waits (up to 20 s) until some bytes have been reported. */
    bool waitForBytes()
    {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds (20);
        while (std::chrono::steady_clock::now() < deadline && ! finished)
        {
            {
                std::lock_guard<std::mutex> lock (mutex);
                if (! reports.empty() && reports.back().done > 0 && reports.back().text.empty())
                    return true;
            }
            std::this_thread::sleep_for (std::chrono::milliseconds (2));
        }
        return false;
    }

    std::vector<Report> getReports()
    {
        std::lock_guard<std::mutex> lock (mutex);
        return reports;
    }

private:
    AsyncControlBlock control;
    std::mutex mutex;
    std::vector<Report> reports;
    std::string outcome;
    std::atomic<bool> finished { false };
    std::thread thread;
};

std::string download (const juce::File& destination, const juce::String& link)
{
    return DownloadRun (destination, link).finish();
}

juce::MemoryBlock randomBytes (size_t size)
{
    juce::MemoryBlock bytes (size);
    juce::Random random (size);
    for (size_t i = 0; i < size; ++i)
        bytes[i] = (char) random.nextInt (256);
    return bytes;
}

/** Every file in folder, hidden ones included, as names. */
juce::StringArray filesIn (const juce::File& folder)
{
    juce::StringArray names;
    for (const auto& file : folder.findChildFiles (juce::File::findFilesAndDirectories, false))
        names.add (file.getFileName());
    names.sort (false);
    return names;
}

juce::String fileLink (const DevServer& server, const juce::String& name = "installer.bin")
{
    return server.getUrl ("/files/" + name);
}
} // namespace

TEST (DownloadInstaller, CopiesTheBodyByteForByteWithAndWithoutLength)
{
    TemporaryFolder folder;
    const auto source = folder.get().getChildFile ("source.bin");
    const auto bytes = randomBytes (1024 * 1024 + 4567);
    source.replaceWithData (bytes.getData(), bytes.getSize());

    for (const auto* mode : { "--file-chunked", "--file-no-length", "" })
    {
        std::vector<std::string> options { "--file", source.getFullPathName().toStdString() };
        if (*mode != 0)
            options.push_back (mode);
        DevServer server (options);

        // A folder that does not exist yet is made, with its parents.
        const auto target =
            folder.get().getChildFile (juce::String ("out") + mode).getChildFile ("a/b");
        const auto destination = target.getChildFile ("installer.bin");
        DownloadRun run (destination, fileLink (server));
        ASSERT_EQ (run.finish(), "ok") << mode;

        juce::MemoryBlock written;
        ASSERT_TRUE (destination.loadFileAsData (written));
        EXPECT_TRUE (written == bytes) << mode;
        EXPECT_EQ (filesIn (target), juce::StringArray ("installer.bin")) << mode;

        const auto reports = run.getReports();
        const double total = *mode == 0 ? (double) bytes.getSize() : -1.0;
        ASSERT_GE (reports.size(), 3u);
        EXPECT_EQ (reports.front().done, 0.0);
        EXPECT_EQ (reports.back().done, (double) bytes.getSize()) << mode;
        for (size_t i = 0; i < reports.size(); ++i)
        {
            EXPECT_EQ (reports[i].total, total) << mode;
            EXPECT_EQ (reports[i].text, "");
            if (i > 0)
            {
                EXPECT_GE (reports[i].done, reports[i - 1].done);
            }
        }
    }
}

TEST (DownloadInstaller, EmptyBodyGivesAnEmptyFile)
{
    TemporaryFolder folder;
    DevServer server ({ "--file-size", "0" });
    const auto destination = folder.get().getChildFile ("installer.bin");

    DownloadRun run (destination, fileLink (server));
    ASSERT_EQ (run.finish(), "ok");
    EXPECT_TRUE (destination.existsAsFile());
    EXPECT_EQ (destination.getSize(), 0);
    // The stream may report its end before any read, so (0, 0) comes once or twice.
    const auto reports = run.getReports();
    ASSERT_FALSE (reports.empty());
    EXPECT_LE (reports.size(), 2u);
    for (const auto& report : reports)
    {
        EXPECT_EQ (report.done, 0.0);
        EXPECT_EQ (report.total, 0.0);
        EXPECT_EQ (report.text, "");
    }
}

TEST (DownloadInstaller, NotFoundIsRetriedThreeTimesThenFails)
{
    TemporaryFolder folder;
    DevServer server ({ "--file-status", "404" });
    const auto target = folder.get().getChildFile ("missing");

    DownloadRun run (target.getChildFile ("installer.bin"), fileLink (server));
    EXPECT_EQ (run.finish(), "ClientError: HTTP error code 404");
    EXPECT_EQ (server.getRequestCount ("/files/installer.bin"), 4);

    std::vector<std::string> notices;
    for (const auto& report : run.getReports())
        notices.push_back (std::to_string ((int) report.done) + "/" +
                           std::to_string ((int) report.total) + " " + report.text);
    EXPECT_EQ (notices, (std::vector<std::string> { "1/3 retry", "2/3 retry", "3/3 retry" }));
    EXPECT_FALSE (target.exists());
}

TEST (DownloadInstaller, OneFailedAttemptThenSuccess)
{
    TemporaryFolder folder;
    DevServer server ({ "--file-status", "404", "--file-fail-times", "1", "--file-size", "1000" });
    DownloadRun run (folder.get().getChildFile ("installer.bin"), fileLink (server));
    ASSERT_EQ (run.finish(), "ok");

    const auto reports = run.getReports();
    ASSERT_GE (reports.size(), 2u);
    EXPECT_EQ (reports[0].text, "retry");
    EXPECT_EQ (reports[0].done, 1.0);
    EXPECT_EQ (reports[1].text, "");
    EXPECT_EQ (reports[1].done, 0.0);
    EXPECT_EQ (reports[1].total, 1000.0);
}

TEST (DownloadInstaller, ServerErrorsAndSizeLimitsFailAtOnce)
{
    struct Row
    {
        std::vector<std::string> options;
        std::string expected;
    };
    const std::vector<Row> rows {
        { { "--file-status", "503" }, "HttpError: HTTP error code 503" },
        // Announced lengths: nothing of these bodies is sent before the check.
        { { "--file-size", "1073741824" }, "ServerError: file is too large" },
        { { "--file-size", "5G" }, "ServerError: file is too large" },
        // One byte less passes the size check and fails later, when the body is cut short.
        { { "--file-size", "1073741823", "--file-cut-at", "1000" },
          "ServerError: download broken off: received 1000 bytes, expected 1073741823" },
    };

    for (const auto& row : rows)
    {
        TemporaryFolder folder;
        DevServer server (row.options);
        const auto target = folder.get().getChildFile ("sub");

        DownloadRun run (target.getChildFile ("installer.bin"), fileLink (server));
        EXPECT_EQ (run.finish(), row.expected);
        EXPECT_EQ (server.getRequestCount ("/files/installer.bin"), 1) << row.expected;
        for (const auto& report : run.getReports())
            EXPECT_NE (report.text, "retry") << row.expected;
        if (row.expected.find ("broken off") == std::string::npos)
            EXPECT_FALSE (target.exists()) << row.expected;
        else
            EXPECT_EQ (filesIn (target), juce::StringArray()) << "partial file left";
    }
}

TEST (DownloadInstaller, CancelDuringTheCopyStopsWithinOneRead)
{
    TemporaryFolder folder;
    // 16 MiB at 2 MiB/s: a copy that ran on after the cancel would take about 8 s.
    DevServer server ({ "--file-size", "16M", "--file-rate", "2M" });
    const auto destination = folder.get().getChildFile ("installer.bin");

    DownloadRun run (destination, fileLink (server));
    ASSERT_TRUE (run.waitForBytes());
    const auto cancelledAt = juce::Time::getMillisecondCounter();
    run.cancel();

    EXPECT_EQ (run.finish(), "TaskCancelledError: async task is cancelled");
    EXPECT_LT (juce::Time::getMillisecondCounter() - cancelledAt, 1000u);
    EXPECT_LT (run.getReports().back().done, 8.0 * 1024 * 1024);
    EXPECT_EQ (filesIn (folder.get()), juce::StringArray());
}

TEST (DownloadInstaller, TransferCutShortFailsAndIsNotRetried)
{
    TemporaryFolder folder;
    DevServer server ({ "--file-size", "100000", "--file-cut-at", "5000" });
    const auto destination = folder.get().getChildFile ("installer.bin");

    EXPECT_EQ (download (destination, fileLink (server)),
               "ServerError: download broken off: received 5000 bytes, expected 100000");
    EXPECT_EQ (server.getRequestCount ("/files/installer.bin"), 1);
    EXPECT_EQ (filesIn (folder.get()), juce::StringArray());
}

TEST (DownloadInstaller, StalledTransferWithoutLengthFailsAfterTheTimeOut)
{
    TemporaryFolder folder;
    DevServer server (
        { "--file-size", "100000", "--file-no-length", "--file-stall-after", "5000" });
    const auto destination = folder.get().getChildFile ("installer.bin");

    EXPECT_EQ (download (destination, fileLink (server)),
               "ServerError: download broken off: received 5000 bytes, expected unknown");
    EXPECT_EQ (server.getRequestCount ("/files/installer.bin"), 1);
    EXPECT_EQ (filesIn (folder.get()), juce::StringArray());
}

TEST (DownloadInstaller, AnExistingInstallerIsReplacedOnlyByAWholeOne)
{
    TemporaryFolder folder;
    const auto destination = folder.get().getChildFile ("installer.bin");
    destination.replaceWithText ("previous installer");

    {
        // While the body arrives, the old file stays as it was; a cancel keeps it.
        DevServer slow ({ "--file-size", "1M", "--file-rate", "256K" });
        DownloadRun run (destination, fileLink (slow));
        ASSERT_TRUE (run.waitForBytes());
        EXPECT_EQ (destination.loadFileAsString(), "previous installer");
        const auto during = filesIn (folder.get());
        EXPECT_EQ (during.size(), 2);
        EXPECT_TRUE (during[0].startsWith (".installer.bin.") && during[0].endsWith (".part"))
            << during[0];
        run.cancel();
        EXPECT_EQ (run.finish(), "TaskCancelledError: async task is cancelled");
        EXPECT_EQ (destination.loadFileAsString(), "previous installer");
        EXPECT_EQ (filesIn (folder.get()), juce::StringArray ("installer.bin"));
    }
    {
        DevServer broken ({ "--file-size", "100000", "--file-cut-at", "70000" });
        EXPECT_NE (download (destination, fileLink (broken)), "ok");
        EXPECT_EQ (destination.loadFileAsString(), "previous installer");
        EXPECT_EQ (filesIn (folder.get()), juce::StringArray ("installer.bin"));
    }
    {
        DevServer good ({ "--file-size", "3000" });
        EXPECT_EQ (download (destination, fileLink (good)), "ok");
        EXPECT_EQ (destination.getSize(), 3000);
        EXPECT_EQ (filesIn (folder.get()), juce::StringArray ("installer.bin"));
    }
}

TEST (DownloadInstaller, UnsafeOrMismatchedNamesFailBeforeAnythingIsCreated)
{
    DevServer server;
    const auto base = server.getBaseUrl();
    struct Row
    {
        juce::String link;
        juce::String destinationName;
        std::string expected;
    };
    const std::vector<Row> rows {
        { base + "/files/..", "installer.bin", "ServerError: unsafe installer file name `..`" },
        { base + "/files/.", "installer.bin", "ServerError: unsafe installer file name `.`" },
        { base + "/files/", "installer.bin", "ServerError: unsafe installer file name ``" },
        { "..", "installer.bin", "ServerError: unsafe installer file name `..`" },
        { base + "/files/a\\b.bin", "installer.bin",
          "ServerError: unsafe installer file name `a\\b.bin`" },
        { base + "/files/a\tb.bin", "installer.bin",
          "ServerError: unsafe installer file name `a?b.bin`" },
        { base + "/files/other.bin", "installer.bin",
          "ServerError: installer file name `other.bin` does not match" },
    };

    for (const auto& row : rows)
    {
        TemporaryFolder folder;
        const auto target = folder.get().getChildFile ("sub");
        const auto outcome = download (target.getChildFile (row.destinationName), row.link);
        EXPECT_EQ (outcome.rfind (row.expected, 0), 0u) << outcome;
        EXPECT_FALSE (target.exists()) << row.link;
    }
    EXPECT_EQ (server.getRequestCount ("/files/.."), 0);
    EXPECT_EQ (server.getRequestCount ("/files/other.bin"), 0);
}

TEST (DownloadInstaller, ParentPathThatIsAFileCannotBeCreated)
{
    TemporaryFolder folder;
    DevServer server ({ "--file-size", "1000" });
    const auto blocker = folder.get().getChildFile ("blocker");
    blocker.replaceWithText ("a file, not a folder");

    EXPECT_EQ (download (blocker.getChildFile ("installer.bin"), fileLink (server)),
               "IOError: failed to create directory `" + blocker.getFullPathName().toStdString() +
                   "`");
    EXPECT_EQ (blocker.loadFileAsString(), "a file, not a folder");
}
