#include "net/DownloadInstaller.h"
#include "support/DevServer.h"
#include "support/OutcomeText.h"
#include "support/TemporaryFolder.h"

#include <gtest/gtest.h>

#include <future>
#include <mutex>

using testing_support::DevServer;
using testing_support::TemporaryFolder;

namespace
{
struct Report
{
    double done, total;
    std::string text;
};

/** One download on a thread of its own, watched from the test. */
class DownloadRun final
{
public:
    DownloadRun (const juce::File& destination, const juce::String& link)
        : outcome (std::async (std::launch::async, &DownloadRun::run, this,
                               destination.getFullPathName().toStdString(), link.toStdString()))
    {
    }

    ~DownloadRun() { cancel(); } // then the future waits for the thread

    std::string finish() { return outcome.get(); }

    void cancel() { control.flags |= AsyncControlBlock::cancelledBit; }

    /** Waits (up to 20 s) until some bytes have been reported. */
    bool waitForBytes()
    {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds (20);
        while (std::chrono::steady_clock::now() < deadline &&
               outcome.wait_for (std::chrono::milliseconds (2)) != std::future_status::ready)
        {
            const auto seen = getReports();
            if (! seen.empty() && seen.back().done > 0 && seen.back().text.empty())
                return true;
        }
        return false;
    }

    std::vector<Report> getReports()
    {
        std::lock_guard<std::mutex> lock (mutex);
        return reports;
    }

private:
    std::string run (const std::string& path, const std::string& url)
    {
        const auto record = [this] (double done, double total, std::string text)
        {
            std::lock_guard<std::mutex> lock (mutex);
            reports.push_back ({ done, total, text });
        };
        return testing_support::outcomeOf ([&] { downloadInstaller (path, url, control, record); });
    }

    AsyncControlBlock control;
    std::mutex mutex;
    std::vector<Report> reports;
    std::future<std::string> outcome; // last: made once the rest is ready
};

std::string download (const juce::File& destination, const juce::String& link)
{
    return DownloadRun (destination, link).finish();
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

juce::String fileLink (const DevServer& server)
{
    return server.getUrl ("/files/installer.bin");
}
} // namespace

TEST (DownloadInstaller, CopiesTheBodyByteForByteWithAndWithoutLength)
{
    TemporaryFolder folder;
    const auto source = folder.get().getChildFile ("source.bin");
    juce::MemoryBlock bytes (1024 * 1024 + 4567);
    juce::Random random (7);
    for (size_t i = 0; i < bytes.getSize(); ++i)
        bytes[i] = (char) random.nextInt (256);
    source.replaceWithData (bytes.getData(), bytes.getSize());
    const auto sourceOption = source.getFullPathName().toStdString();

    const std::vector<std::pair<std::vector<std::string>, double>> rows {
        { { "--file", sourceOption }, (double) bytes.getSize() },
        { { "--file", sourceOption, "--file-chunked" }, -1.0 },
        { { "--file", sourceOption, "--file-no-length" }, -1.0 },
        { { "--file-size", "0" }, 0.0 },
    };
    for (const auto& [options, total] : rows)
    {
        const auto mode = juce::String (options.back()).fromLastOccurrenceOf ("/", false, false);
        DevServer server (options);
        // A folder that does not exist yet is made, with its parents.
        const auto target = folder.get().getChildFile ("out" + mode).getChildFile ("a/b");
        const auto destination = target.getChildFile ("installer.bin");
        DownloadRun run (destination, fileLink (server));
        ASSERT_EQ (run.finish(), "ok") << mode;

        juce::MemoryBlock written;
        ASSERT_TRUE (destination.loadFileAsData (written));
        EXPECT_TRUE (total == 0.0 ? written.isEmpty() : written == bytes) << mode;
        EXPECT_EQ (filesIn (target), juce::StringArray ("installer.bin")) << mode;

        const auto reports = run.getReports();
        ASSERT_GE (reports.size(), total == 0.0 ? 1u : 3u) << mode;
        EXPECT_EQ (reports.front().done, 0.0);
        EXPECT_EQ (reports.back().done, (double) written.getSize()) << mode;
        for (size_t i = 0; i < reports.size(); ++i)
        {
            EXPECT_EQ (reports[i].total, total) << mode;
            EXPECT_EQ (reports[i].text, "");
            EXPECT_GE (reports[i].done, i > 0 ? reports[i - 1].done : 0.0);
        }
    }
}

TEST (DownloadInstaller, ANameNearTheFileSystemLimitStillDownloads)
{
    // The temporary file beside the installer must not push the name past 255 bytes.
    TemporaryFolder folder;
    DevServer server ({ "--file-size", "1000" });
    const juce::String name = juce::String::repeatedString ("n", 246) + ".bin";
    const auto destination = folder.get().getChildFile (name);

    EXPECT_EQ (download (destination, server.getUrl ("/files/" + name)), "ok");
    EXPECT_EQ (destination.getSize(), 1000);
    EXPECT_EQ (filesIn (folder.get()), juce::StringArray (name));
}

TEST (DownloadInstaller, ClientErrorsAreRetriedThreeTimes)
{
    TemporaryFolder folder;
    const auto notices = [] (DownloadRun& run)
    {
        std::vector<std::string> texts;
        for (const auto& report : run.getReports())
            texts.push_back (std::to_string ((int) report.done) + "/" +
                             std::to_string ((int) report.total) + " " + report.text);
        return texts;
    };
    DevServer missing ({ "--file-status", "404" });
    DevServer once ({ "--file-status", "404", "--file-fail-times", "1", "--file-size", "1000" });
    const auto target = folder.get().getChildFile ("missing");
    DownloadRun failing (target.getChildFile ("installer.bin"), fileLink (missing));
    DownloadRun retried (folder.get().getChildFile ("installer.bin"), fileLink (once));

    EXPECT_EQ (failing.finish(), "ClientError: HTTP error code 404");
    EXPECT_EQ (missing.getRequestCount ("/files/installer.bin"), 4);
    EXPECT_EQ (notices (failing),
               (std::vector<std::string> { "1/3 retry", "2/3 retry", "3/3 retry" }));
    EXPECT_FALSE (target.exists());

    // After a failed attempt, the next one reports its progress afresh.
    ASSERT_EQ (retried.finish(), "ok");
    const auto seen = notices (retried);
    ASSERT_GE (seen.size(), 2u);
    EXPECT_EQ (seen[0], "1/3 retry");
    EXPECT_EQ (seen[1], "0/1000 ");
}

struct UnretriedFailure
{
    const char* name;
    std::vector<std::string> options;
    std::string expected;
};

// Printed by name, so test listings never show the row's bytes.
void PrintTo (const UnretriedFailure& row, std::ostream* stream)
{
    *stream << row.name;
}

class DownloadFailure : public testing::TestWithParam<UnretriedFailure>
{
};

TEST_P (DownloadFailure, IsNotRetriedAndLeavesNoFile)
{
    const auto& [name, options, expected] = GetParam();
    TemporaryFolder folder;
    DevServer server (options);
    const auto target = folder.get().getChildFile ("sub");

    DownloadRun run (target.getChildFile ("installer.bin"), fileLink (server));
    EXPECT_EQ (run.finish(), expected);
    EXPECT_EQ (server.getRequestCount ("/files/installer.bin"), 1);
    for (const auto& report : run.getReports())
        EXPECT_NE (report.text, "retry");
    if (expected.find ("broken off") == std::string::npos)
        EXPECT_FALSE (target.exists());
    else
        EXPECT_EQ (filesIn (target), juce::StringArray()) << "partial file left";
}

INSTANTIATE_TEST_SUITE_P (
    DownloadInstaller, DownloadFailure,
    testing::Values (
        UnretriedFailure {
            "ServerStatus", { "--file-status", "503" }, "HttpError: HTTP error code 503" },
        // Announced lengths: nothing of these bodies is sent before the check.
        UnretriedFailure {
            "OneGiB", { "--file-size", "1073741824" }, "ServerError: file is too large" },
        UnretriedFailure { "FiveGiB", { "--file-size", "5G" }, "ServerError: file is too large" },
        // One byte less passes the size check and fails later, when the body is cut short.
        UnretriedFailure {
            "CutShort",
            { "--file-size", "1073741823", "--file-cut-at", "1000" },
            "ServerError: download broken off: received 1000 bytes, expected 1073741823" },
        UnretriedFailure {
            "StalledWithoutLength",
            { "--file-size", "100000", "--file-no-length", "--file-stall-after", "5000" },
            "ServerError: download broken off: received 5000 bytes, expected unknown" }),
    [] (const testing::TestParamInfo<UnretriedFailure>& row)
    { return std::string (row.param.name); });

TEST (DownloadInstaller, AnExistingInstallerIsReplacedOnlyByAWholeOne)
{
    TemporaryFolder folder;
    const auto destination = folder.get().getChildFile ("installer.bin");
    destination.replaceWithText ("previous installer");
    const auto expectOldFileAlone = [&]
    {
        EXPECT_EQ (destination.loadFileAsString(), "previous installer");
        EXPECT_EQ (filesIn (folder.get()), juce::StringArray ("installer.bin"));
    };

    {
        // 16 MiB at 2 MiB/s: a copy that ran on after the cancel would take about 8 s.
        DevServer slow ({ "--file-size", "16M", "--file-rate", "2M" });
        DownloadRun run (destination, fileLink (slow));
        ASSERT_TRUE (run.waitForBytes());
        // While the body arrives, it goes to a temporary file and the old one stays as it was.
        EXPECT_EQ (destination.loadFileAsString(), "previous installer");
        const auto during = filesIn (folder.get());
        EXPECT_EQ (during.size(), 2);
        EXPECT_TRUE (during[0].startsWith (".installer.bin.") && during[0].endsWith (".part"))
            << during[0];

        const auto cancelledAt = juce::Time::getMillisecondCounter();
        run.cancel();
        EXPECT_EQ (run.finish(), "TaskCancelledError: async task is cancelled");
        EXPECT_LT (juce::Time::getMillisecondCounter() - cancelledAt, 1000u);
        EXPECT_LT (run.getReports().back().done, 8.0 * 1024 * 1024);
        expectOldFileAlone();
    }

    DevServer broken ({ "--file-size", "100000", "--file-cut-at", "70000" });
    EXPECT_NE (download (destination, fileLink (broken)), "ok");
    expectOldFileAlone();

    DevServer good ({ "--file-size", "3000" });
    EXPECT_EQ (download (destination, fileLink (good)), "ok");
    EXPECT_EQ (destination.getSize(), 3000);
    EXPECT_EQ (filesIn (folder.get()), juce::StringArray ("installer.bin"));
}

TEST (DownloadInstaller, BadNamesOrAParentThatIsAFileFailBeforeAnythingIsMade)
{
    DevServer server ({ "--file-size", "1000" });
    const auto base = server.getBaseUrl() + "/files/";
    const std::vector<std::pair<juce::String, std::string>> rows {
        { base + "..", "ServerError: unsafe installer file name `..`" },
        { base + ".", "ServerError: unsafe installer file name `.`" },
        { base, "ServerError: unsafe installer file name ``" },
        { "..", "ServerError: unsafe installer file name `..`" },
        { base + "a\\b.bin", "ServerError: unsafe installer file name `a\\b.bin`" },
        { base + "a\tb.bin", "ServerError: unsafe installer file name `a?b.bin`" },
        { base + "other.bin", "ServerError: installer file name `other.bin` does not match" },
    };
    for (const auto& [link, expected] : rows)
    {
        TemporaryFolder folder;
        const auto target = folder.get().getChildFile ("sub");
        const auto outcome = download (target.getChildFile ("installer.bin"), link);
        EXPECT_EQ (outcome.rfind (expected, 0), 0u) << outcome;
        EXPECT_FALSE (target.exists()) << link;
    }
    EXPECT_EQ (server.getRequestCount ("/files/.."), 0);
    EXPECT_EQ (server.getRequestCount ("/files/other.bin"), 0);

    TemporaryFolder folder;
    const auto blocker = folder.get().getChildFile ("blocker");
    blocker.replaceWithText ("a file, not a folder");
    EXPECT_EQ (download (blocker.getChildFile ("installer.bin"), fileLink (server)),
               "IOError: failed to create directory `" + blocker.getFullPathName().toStdString() +
                   "`");
    EXPECT_EQ (blocker.loadFileAsString(), "a file, not a folder");
}
