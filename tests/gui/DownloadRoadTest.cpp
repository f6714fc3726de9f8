#include "ShellTestSupport.h"

#include "app/MainComponent.h"
#include "pages/Downloading.h"
#include "pages/Finished.h"
#include "pages/LangSelect.h"
#include "pages/PathEditor.h"
#include "pages/Welcome.h"
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
    void startRoad (const std::vector<std::string>& options)
    {
        server = std::make_unique<DevServer> (options);
        ASSERT_TRUE (runUpdateCheck (*model, server->getBaseUrl()));
        pressNext();
        ASSERT_NE (currentPage(), 0u);
    }

    bool waitForPage (size_t index, int timeoutMs = 30000)
    {
        return pumpUntil ([&] { return currentPage() == index; }, timeoutMs);
    }

    juce::MemoryBlock servedBytes (const juce::String& path)
    {
        juce::MemoryBlock bytes;
        juce::URL (server->getUrl (path)).readEntireBinaryStream (bytes);
        return bytes;
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

    std::string status() { return text (downloading().statusLabel); }

    std::unique_ptr<DevServer> server;
};
} // namespace

TEST_F (DownloadRoad, SuccessShowsProgressThenFinished)
{
    // Several seconds: the speed needs three seconds of samples, with room for a slow machine.
    startRoad ({ "--file-size", "2M", "--file-rate", "384K" });

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
    EXPECT_NE (model->outcomeFlags & InstallerModel::downloadSucceeded, 0u);
    EXPECT_EQ (model->lastError, nullptr);
    EXPECT_EQ (server->getRequestCount (filePath), 1);

    juce::MemoryBlock written;
    ASSERT_TRUE (installer.loadFileAsData (written));
    EXPECT_EQ (written.getSize(), 2097152u);
    EXPECT_TRUE (written == servedBytes (filePath));
    EXPECT_EQ (folderEntries(), installerName.toStdString()); // no temporary left

    EXPECT_EQ (text (finished().titleLabel), "Downloading Success");
    EXPECT_TRUE (finished().descriptionLabel->getText().contains (installer.getFullPathName()));
    EXPECT_EQ (finished().nextButton->getButtonText(), "Open Folder");
    EXPECT_FALSE (downloading().isVisible());
}

TEST_F (DownloadRoad, ServerErrorOnTheFileEndsOnTheFailurePage)
{
    startRoad ({ "--file-status", "503" });

    ASSERT_TRUE (waitForPage (2));
    EXPECT_EQ (server->getRequestCount (filePath), 1); // a 5xx is not retried
    EXPECT_EQ (text (finished().titleLabel), "Installation Failed");
    EXPECT_EQ (text (finished().descriptionLabel),
               "Failed to download Larkspire\n"
               "Other error\n"
               "Please report this incident to customer support.\n"
               "\n"
               "Error details: HTTP error code 503\n"
               "\n"
               "Press Open Folder to open the installer file location.\n");
    EXPECT_EQ (model->installerPath, "");
    EXPECT_EQ (model->outcomeFlags & InstallerModel::downloadSucceeded, 0u);
    EXPECT_EQ (folderEntries(), "");
}

TEST_F (DownloadRoad, RetriesAreShownWithTheirAttemptNumber)
{
    startRoad ({ "--file-status", "404", "--file-fail-times", "2" });

    ASSERT_TRUE (pumpUntil ([&] { return status() == "retry 1/3"; }, 5000)) << status();
    ASSERT_TRUE (pumpUntil ([&] { return status() == "retry 2/3"; }, 5000)) << status();
    ASSERT_TRUE (waitForPage (2));
    EXPECT_EQ (downloading().getRetryCount(), 2);
    EXPECT_EQ (server->getRequestCount (filePath), 3);
    EXPECT_EQ (text (finished().titleLabel), "Downloading Success");
}

TEST_F (DownloadRoad, UnannouncedTotalShowsBytesAndABusyBar)
{
    startRoad ({ "--file-no-length", "--file-size", "512K", "--file-rate", "256K" });

    const std::regex bytesOnly (R"([1-9]\d*\.\d KiB)");
    ASSERT_TRUE (pumpUntil ([&] { return std::regex_match (status(), bytesOnly); })) << status();
    EXPECT_EQ (downloading().getProgress(), -1.0);

    ASSERT_TRUE (waitForPage (2));
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

    downloading().nextButton->triggerClick();
    ASSERT_TRUE (waitForPage (0, 2000));
    EXPECT_NE (model->outcomeFlags & InstallerModel::userCancelled, 0u);
}

TEST_F (DownloadRoad, CancelReturnsToWelcomeAndNextStartsAfresh)
{
    startRoad ({ "--file-size", "1M", "--file-rate", "512K" });

    ASSERT_TRUE (
        pumpUntil ([&] { return status().rfind ("0.0 KiB", 0) != 0 && ! status().empty(); }))
        << status();
    downloading().nextButton->triggerClick();
    ASSERT_TRUE (waitForPage (0, 2000));

    EXPECT_NE (model->outcomeFlags & InstallerModel::userCancelled, 0u);
    EXPECT_EQ (model->outcomeFlags & InstallerModel::downloadSucceeded, 0u);
    EXPECT_EQ (downloading().getState(), Downloading::notStarted);
    EXPECT_EQ (model->downloadFolder, downloadFolder.getFullPathName());
    EXPECT_EQ (welcome().getPathEditor().getPathField().getText(),
               downloadFolder.getFullPathName());
    EXPECT_EQ (text (welcome().titleLabel), "Welcome to Larkspire\n");

    // The cancelled run removes its temporary file; nothing is left behind.
    EXPECT_TRUE (pumpUntil ([&] { return folderEntries().empty(); }, 5000)) << folderEntries();
    testing_support::pumpFor (300); // a late callback of the old run must change nothing
    EXPECT_EQ (currentPage(), 0u);
    EXPECT_EQ (model->lastError, nullptr);

    pressNext();
    ASSERT_EQ (currentPage(), 1u);
    ASSERT_TRUE (pumpUntil ([&] { return server->getRequestCount (filePath) == 2; }));
    ASSERT_TRUE (waitForPage (2));
    EXPECT_EQ (text (finished().titleLabel), "Downloading Success");
    juce::MemoryBlock written;
    ASSERT_TRUE (downloadFolder.getChildFile (installerName).loadFileAsData (written));
    EXPECT_TRUE (written == servedBytes (filePath));
    EXPECT_EQ (folderEntries(), installerName.toStdString());
}

TEST_F (DownloadRoad, LanguageChosenOnTheWayCarriesThrough)
{
    server = std::make_unique<DevServer> (
        std::vector<std::string> { "--file-size", "512K", "--file-rate", "256K" });
    ASSERT_TRUE (runUpdateCheck (*model, server->getBaseUrl()));

    welcome().getLangSelect().getLanguageBox().setSelectedId (2, juce::sendNotificationSync);
    pressNext();
    ASSERT_EQ (currentPage(), 1u);

    const auto name = juce::translate ("Larkspire");
    ASSERT_TRUE (pumpUntil ([&] { return downloading().titleLabel->getText().isNotEmpty(); }));
    EXPECT_EQ (downloading().titleLabel->getText(), juce::translate ("Downloading"));
    EXPECT_NE (text (downloading().titleLabel), "Downloading");
    EXPECT_EQ (downloading().descriptionLabel->getText(),
               juce::translate ("Downloading {AnyProductName} installer to your computer...")
                   .replace ("{AnyProductName}", name));
    EXPECT_EQ (downloading().nextButton->getButtonText(), juce::translate ("Cancel"));

    // Cancel, back on Welcome the language is kept; switch to Chinese and go again.
    downloading().nextButton->triggerClick();
    ASSERT_TRUE (waitForPage (0, 2000));
    EXPECT_EQ (welcome().getLangSelect().getLanguageBox().getSelectedId(), 2);
    EXPECT_EQ (welcome().titleLabel->getText(),
               juce::translate ("Welcome to {ProductName}").replace ("{ProductName}", name) + "\n");

    welcome().getLangSelect().getLanguageBox().setSelectedId (3, juce::sendNotificationSync);
    pressNext();
    ASSERT_TRUE (waitForPage (2));
    EXPECT_EQ (finished().titleLabel->getText(), juce::translate ("Downloading Success"));
    EXPECT_NE (text (finished().titleLabel), "Downloading Success");
    EXPECT_EQ (finished().nextButton->getButtonText(), juce::translate ("Open Folder"));
    EXPECT_TRUE (finished().descriptionLabel->getText().startsWith (
        juce::translate ("{ProductName} installer is successfully downloaded to your computer.")
            .replace ("{ProductName}", "Larkspire")));
}

TEST_F (DownloadRoad, FileNameIsTheLinksLastSegmentWithoutQuery)
{
    startRoad ({ "--link", "{base}/files/setup.pkg?a=1&b=/x", "--file-size", "64K" });

    ASSERT_TRUE (waitForPage (2));
    EXPECT_EQ (text (finished().titleLabel), "Downloading Success");
    EXPECT_EQ (folderEntries(), "setup.pkg");
    EXPECT_EQ (model->installerPath, downloadFolder.getChildFile ("setup.pkg").getFullPathName());
}

TEST_F (DownloadRoad, UnsafeFileNameIsRefusedBeforeAnythingIsWritten)
{
    startRoad ({ "--link", "{base}/files/", "--file-size", "64K" });

    ASSERT_TRUE (waitForPage (2));
    EXPECT_EQ (text (finished().titleLabel), "Installation Failed");
    EXPECT_TRUE (finished().descriptionLabel->getText().contains ("Error details: "));
    EXPECT_EQ (folderEntries(), "");
    EXPECT_EQ (server->getRequestCount ("/files/"), 0);
}
