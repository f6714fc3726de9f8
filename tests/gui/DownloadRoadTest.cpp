#include "ShellTestSupport.h"

#include "pages/LangSelect.h"
#include "support/DevServer.h"
#include "support/PumpUntil.h"

#include <gtest/gtest.h>

#include <regex>

using namespace shell_testing;
using testing_support::DevServer;
using testing_support::pumpUntil;

namespace
{
const juce::String installerName ("LarkspireEditorSetup-2.3.1.bin");
const juce::String filePath ("/files/" + installerName);

class DownloadRoad : public ShellWindowTest
{
protected:
    /** Starts the server, lets the update check finish against it, and presses Next. */
    void startRoad (const std::vector<std::string>& options, int language = 1)
    {
        server = std::make_unique<DevServer> (options);
        ASSERT_TRUE (runUpdateCheck (server->getBaseUrl()));
        chooseLanguage (language);
        pressNext();
        ASSERT_NE (currentPage(), 0u);
    }

    void chooseLanguage (int id)
    {
        welcome().getLangSelect().getLanguageBox().setSelectedId (id, juce::sendNotificationSync);
    }

    bool waitForPage (size_t index, int timeoutMs = 30000)
    {
        return pumpUntil ([&] { return currentPage() == index; }, timeoutMs);
    }

    /** Every file in the download folder, hidden ones included, sorted and comma-separated. */
    std::string folderEntries()
    {
        juce::StringArray names;
        for (const auto& entry : juce::RangedDirectoryIterator (downloadFolder, false, "*",
                                                                juce::File::findFilesAndDirectories,
                                                                juce::File::FollowSymlinks::no))
            names.add (entry.getFile().getFileName());
        names.sort (false);
        return names.joinIntoString (",").toStdString();
    }

    void expectTheServedInstallerAlone()
    {
        juce::MemoryBlock served, written;
        juce::URL (server->getUrl (filePath)).readEntireBinaryStream (served);
        ASSERT_TRUE (downloadFolder.getChildFile (installerName).loadFileAsData (written));
        EXPECT_GT (written.getSize(), 0u);
        EXPECT_TRUE (written == served);
        EXPECT_EQ (folderEntries(), installerName.toStdString()); // no temporary left
    }

    bool succeeded() { return (model->outcomeFlags & InstallerModel::downloadSucceeded) != 0; }
    std::string status() { return text (downloading().statusLabel); }

    std::unique_ptr<DevServer> server;
};
} // namespace

TEST_F (DownloadRoad, SuccessShowsProgressThenFinished)
{
    // Several seconds: the speed needs three seconds of samples, with room for a slow machine.
    // The file name is the link's last segment, its query split off.
    startRoad ({ "--file-size", "2M", "--file-rate", "384K", "--link",
                 ("{base}" + filePath + "?token=1&next=/x").toStdString() });

    EXPECT_EQ (downloading().getState(), Downloading::downloading);
    EXPECT_EQ (downloading().nextButton->getButtonText(), "Cancel");
    ASSERT_TRUE (pumpUntil ([&] { return text (downloading().titleLabel) == "Downloading"; }));
    EXPECT_EQ (text (downloading().descriptionLabel),
               "Downloading Larkspire installer to your computer...");

    // Sizes while it runs, then the speed once three seconds of samples are in.
    const std::regex sizes (R"(\d+\.\d [KM]iB / 2\.0 MiB)");
    ASSERT_TRUE (pumpUntil ([&] { return std::regex_match (status(), sizes); })) << status();
    EXPECT_GE (downloading().getProgress(), 0.0);
    EXPECT_LE (downloading().getProgress(), 1.0);
    const std::regex withSpeed (R"(\d+\.\d [KM]iB / 2\.0 MiB \(\d+\.\d KiB/s\))");
    ASSERT_TRUE (pumpUntil ([&] { return std::regex_match (status(), withSpeed); }, 8000))
        << status();

    ASSERT_TRUE (waitForPage (2));
    const auto installer = downloadFolder.getChildFile (installerName);
    EXPECT_EQ (model->installerPath, installer.getFullPathName());
    EXPECT_TRUE (succeeded());
    EXPECT_EQ (model->lastError, nullptr);
    EXPECT_EQ (server->getRequestCount (filePath), 1);
    expectTheServedInstallerAlone();
    EXPECT_EQ (installer.getSize(), 2097152);

    EXPECT_EQ (text (finished().titleLabel), "Downloading Success");
    EXPECT_TRUE (finished().descriptionLabel->getText().contains (installer.getFullPathName()));
    EXPECT_FALSE (downloading().isVisible());
}

TEST_F (DownloadRoad, ServerErrorOnTheFileEndsOnTheFailurePage)
{
    startRoad ({ "--file-status", "503" });

    ASSERT_TRUE (waitForPage (2));
    EXPECT_EQ (server->getRequestCount (filePath), 1); // a 5xx is not retried
    EXPECT_EQ (text (finished().titleLabel), "Installation Failed");
    EXPECT_TRUE (
        finished().descriptionLabel->getText().contains ("\nError details: HTTP error code 503\n"));
    EXPECT_EQ (model->installerPath, "");
    EXPECT_FALSE (succeeded());
    EXPECT_EQ (folderEntries(), "");
}

TEST_F (DownloadRoad, LinkWithoutFileNameIsRefusedBeforeAnythingIsWritten)
{
    startRoad ({ "--link", "{base}/files/" });

    ASSERT_TRUE (waitForPage (2));
    EXPECT_EQ (text (finished().titleLabel), "Installation Failed");
    EXPECT_EQ (folderEntries(), "");
    EXPECT_EQ (server->getRequestCount ("/files/"), 0);
}

TEST_F (DownloadRoad, RetriesAndAnUnannouncedTotalAreShownInTheSizeLine)
{
    startRoad ({ "--file-status", "404", "--file-fail-times", "2", "--file-no-length",
                 "--file-size", "512K", "--file-rate", "256K" });

    ASSERT_TRUE (pumpUntil ([&] { return status() == "retry 1/3"; }, 5000)) << status();
    ASSERT_TRUE (pumpUntil ([&] { return status() == "retry 2/3"; }, 5000)) << status();

    // Then the bytes so far without a total (the speed already counts the retries' samples),
    // and a busy bar rather than a negative fraction.
    const std::regex bytesOnly (R"([1-9]\d*\.\d KiB( \(\d+\.\d KiB/s\))?)");
    ASSERT_TRUE (pumpUntil ([&] { return std::regex_match (status(), bytesOnly); })) << status();
    EXPECT_EQ (downloading().getProgress(), -1.0);

    ASSERT_TRUE (waitForPage (2));
    EXPECT_EQ (downloading().getRetryCount(), 2);
    EXPECT_EQ (server->getRequestCount (filePath), 3);
    EXPECT_EQ (text (finished().titleLabel), "Downloading Success");
}

TEST_F (DownloadRoad, StallKeepsTheFiguresAndDropsTheSpeed)
{
    // Four seconds at 256 KiB/s, long enough for the speed to show, then silence.
    startRoad ({ "--file-size", "2M", "--file-rate", "256K", "--file-stall-after", "1048576" });

    const std::regex withSpeed (R"(\d+\.\d KiB / 2\.0 MiB \(\d+\.\d KiB/s\))");
    ASSERT_TRUE (pumpUntil ([&] { return std::regex_match (status(), withSpeed); }, 8000))
        << status();

    // Thirty refreshes after the stall the window holds equal samples: the speed goes.
    ASSERT_TRUE (pumpUntil ([&] { return status() == "1024.0 KiB / 2.0 MiB"; }, 8000)) << status();
    testing_support::pumpFor (300);
    EXPECT_EQ (status(), "1024.0 KiB / 2.0 MiB");
    EXPECT_EQ (currentPage(), 1u);
    EXPECT_DOUBLE_EQ (downloading().getProgress(), 0.5);
}

TEST_F (DownloadRoad, CancelReturnsToWelcomeAndNextStartsAfreshInTheNewLanguage)
{
    startRoad ({ "--file-size", "1M", "--file-rate", "512K" }, 2);

    // The language chosen on Welcome carries through.
    ASSERT_TRUE (pumpUntil ([&] { return downloading().titleLabel->getText().isNotEmpty(); }));
    EXPECT_NE (text (downloading().titleLabel), "Downloading");
    EXPECT_EQ (downloading().titleLabel->getText(), juce::translate ("Downloading"));
    EXPECT_EQ (downloading().descriptionLabel->getText(),
               juce::translate ("Downloading {AnyProductName} installer to your computer...")
                   .replace ("{AnyProductName}", "LARKSPIRE"));
    EXPECT_EQ (downloading().nextButton->getButtonText(), juce::translate ("Cancel"));

    ASSERT_TRUE (pumpUntil ([&] { return downloading().getProgress() > 0.0; }));
    downloading().nextButton->triggerClick();
    ASSERT_TRUE (waitForPage (0, 2000));

    EXPECT_NE (model->outcomeFlags & InstallerModel::userCancelled, 0u);
    EXPECT_FALSE (succeeded());
    EXPECT_EQ (downloading().getState(), Downloading::notStarted);
    EXPECT_EQ (model->downloadFolder, downloadFolder.getFullPathName());
    EXPECT_EQ (welcome().getLangSelect().getLanguageBox().getSelectedId(), 2);

    // The cancelled run removes its temporary file; nothing is left behind.
    EXPECT_TRUE (pumpUntil ([&] { return folderEntries().empty(); }, 5000)) << folderEntries();
    testing_support::pumpFor (300); // a late callback of the old run must change nothing
    EXPECT_EQ (currentPage(), 0u);
    EXPECT_EQ (model->lastError, nullptr);

    chooseLanguage (3);
    pressNext();
    ASSERT_EQ (currentPage(), 1u);
    ASSERT_TRUE (waitForPage (2));
    EXPECT_EQ (server->getRequestCount (filePath), 2);
    expectTheServedInstallerAlone();
    EXPECT_NE (text (finished().titleLabel), "Downloading Success");
    EXPECT_EQ (finished().titleLabel->getText(), juce::translate ("Downloading Success"));
    EXPECT_TRUE (finished().descriptionLabel->getText().startsWith (
        juce::translate ("{ProductName} installer is successfully downloaded to your computer.")
            .replace ("{ProductName}", "Larkspire")));
}
