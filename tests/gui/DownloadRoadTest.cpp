#include "DownloadRoad.h"

#include "pages/FormatByteSize.h"
#include "pages/LangSelect.h"
#include "pages/PathEditor.h"
#include "support/DevServer.h"

#include <gtest/gtest.h>

#include <cmath>
#include <iomanip>
#include <limits>
#include <regex>

using namespace shell_testing;

TEST_F (DownloadRoad, SuccessShowsProgressThenFinished)
{
    // Long enough for the speed, which needs three seconds of samples. The file name is the
    // link's last segment, its query split off.
    startRoad ({ "--file-size", "2M", "--file-rate", "384K", "--link",
                 ("{base}" + filePath + "?token=1&next=/x").toStdString() });
    EXPECT_EQ (downloading().nextButton->getButtonText(), "Cancel");
    ASSERT_TRUE (waitForStatus (std::regex (R"(\d+\.\d [KM]iB / 2\.0 MiB)"))) << status();
    EXPECT_EQ (text (downloading().titleLabel), "Downloading");
    EXPECT_EQ (text (downloading().descriptionLabel),
               "Downloading Larkspire installer to your computer...");
    ASSERT_TRUE (waitForStatus (sizesWithSpeed)) << status();
    EXPECT_TRUE (downloading().isRefreshing());

    ASSERT_TRUE (waitForPage (2));
    EXPECT_FALSE (downloading().isRefreshing()); // hidden, it has nothing to refresh
    const auto installer = downloadFolder.getChildFile (installerName).getFullPathName();
    EXPECT_EQ (model->outcomeFlags, InstallerModel::downloadSucceeded);
    EXPECT_EQ (server->getRequestCount (filePath), 1);
    expectTheServedInstallerAlone();
    EXPECT_EQ (text (finished().titleLabel), "Downloading Success");
    EXPECT_EQ (text (finished().descriptionLabel),
               "Larkspire installer is successfully downloaded to your computer.\nPlease run the "
               "installer manually.\n\nLarkspire installer has been downloaded to: " +
                   installer.toStdString() + "\n" + openFolderLine);
}

TEST_F (DownloadRoad, ServerErrorEndsOnTheFailurePage)
{
    startRoad ({ "--file-status", "503" });
    ASSERT_TRUE (waitForPage (2));
    EXPECT_EQ (text (finished().titleLabel), "Installation Failed");
    EXPECT_EQ (text (finished().descriptionLabel),
               "Failed to download Larkspire\nOther error\nPlease report this incident to customer "
               "support.\n\nError details: HTTP error code 503\n" +
                   openFolderLine);
    EXPECT_EQ (model->outcomeFlags, 0u);
    EXPECT_EQ (entries(), 0);
    EXPECT_FALSE (finished().backButton->isVisible()); // no way back

    // Open Folder keeps its right edge and grows leftwards with its text from a minimum of 72.
    auto& button = *finished().nextButton;
    const auto showOpenFolderAs = [this] (const juce::String& translation)
    {
        juce::LocalisedStrings::setCurrentMappings (
            new juce::LocalisedStrings ("\"Open Folder\" = \"" + translation + "\"", false));
        finished().updateUI();
    };
    showOpenFolderAs ("Go");
    EXPECT_EQ (button.getWidth(), 72);
    const juce::String longText ("Open the folder with the installer in it");
    showOpenFolderAs (longText);
    EXPECT_GE (button.getWidth(), juce::LookAndFeel::getDefaultLookAndFeel()
                                      .getTextButtonFont (button, 32)
                                      .getStringWidthFloat (longText));
    EXPECT_EQ (button.getBounds().getTopRight(), juce::Point<int> (616, 388));
    juce::LocalisedStrings::setCurrentMappings (nullptr);

    // Cancel, then Next, and the file host now answers 503: the cancel is no success.
    SetUp();
    using testing_support::DevServer;
    auto fileHost = std::make_unique<DevServer> (
        std::vector<std::string> { "--file-size", "1M", "--file-rate", "256K" });
    const auto hostPort = fileHost->getBaseUrl().fromLastOccurrenceOf (":", false, false);
    startRoad ({ "--link", fileHost->getUrl (filePath).toStdString() });
    ASSERT_TRUE (pumpUntil ([&] { return downloading().getProgress() > 0.0; }));
    downloading().nextButton->triggerClick();
    ASSERT_TRUE (waitForPage (0, 2000));
    fileHost.reset();
    fileHost = std::make_unique<DevServer> (
        std::vector<std::string> { "--port", hostPort.toStdString(), "--file-status", "503" });
    pressNext();
    ASSERT_TRUE (waitForPage (2));
    EXPECT_EQ (text (finished().titleLabel), "Installation Failed");
    EXPECT_NE (text (finished().descriptionLabel).find ("\nError details: HTTP error code 503\n"),
               std::string::npos)
        << text (finished().descriptionLabel);
    EXPECT_EQ (model->outcomeFlags, InstallerModel::userCancelled);
    EXPECT_EQ (fileHost->getRequestCount (filePath), 1);

    // A folder that cannot be made, as a file stands where its parent should be: the details
    // name it in its own scripts.
    SetUp();
    const auto file = downloadFolder.getChildFile (juce::String::fromUTF8 ("fichier é"));
    ASSERT_TRUE (file.replaceWithText ("a file, not a folder"));
    const auto folder = file.getChildFile (juce::String::fromUTF8 ("ダウンロード 下载"));
    prepareRoad ({});
    welcome().getPathEditor().setPath (folder);
    ASSERT_EQ (model->downloadFolder, folder.getFullPathName());
    pressNext();
    ASSERT_TRUE (waitForPage (2));
    EXPECT_EQ (text (finished().descriptionLabel),
               "Failed to download Larkspire\nOther error\nPlease report this incident to customer "
               "support.\n\nError details: failed to create directory `" +
                   downloadFolder.getFullPathName().toStdString() +
                   "/fichier é/ダウンロード 下载`\n" + openFolderLine);
    EXPECT_EQ (file.loadFileAsString(), "a file, not a folder");

    // A folder that appears at the installer's place while the body trickles in: the final
    // rename fails, the details say why, and the partial file goes with the failure.
    SetUp();
    startRoad ({ "--file-size", "512K", "--file-rate", "256K" });
    ASSERT_TRUE (pumpUntil ([&] { return entries() == 1; })); // the partial file
    const auto inTheWay = downloadFolder.getChildFile (installerName);
    ASSERT_TRUE (inTheWay.createDirectory());
    ASSERT_TRUE (waitForPage (2));
    EXPECT_EQ (text (finished().descriptionLabel),
               "Failed to download Larkspire\nOther error\nPlease report this incident to customer "
               "support.\n\nError details: failed to replace file `" +
                   inTheWay.getFullPathName().toStdString() + "`, reason is: `Is a directory`\n" +
                   openFolderLine);
    EXPECT_EQ (server->getRequestCount (filePath), 1);
    EXPECT_TRUE (inTheWay.isDirectory());
    EXPECT_EQ (entries(), 1);
}

TEST_F (DownloadRoad, RetriesAndAnUnannouncedTotalAreShownInTheSizeLine)
{
    startRoad ({ "--file-status", "404", "--file-fail-times", "2", "--file-no-length",
                 "--file-size", "512K", "--file-rate", "256K" });
    ASSERT_TRUE (pumpUntil ([&] { return status() == "Retrying (1/3)..."; }, 5000)) << status();
    model->setLanguage (&model->languages[1]); // the line is translated too
    EXPECT_TRUE (pumpUntil (
        [&] {
            return status().find ("1/3") != std::string::npos &&
                   status().rfind ("Retrying", 0) != 0;
        }))
        << status();
    model->setLanguage (&model->languages[0]);
    ASSERT_TRUE (pumpUntil ([&] { return status() == "Retrying (2/3)..."; }, 5000)) << status();

    // Then the bytes so far without a total, and a busy bar rather than a negative fraction.
    ASSERT_TRUE (waitForStatus (std::regex (R"([1-9]\d*\.\d KiB( \(\d+\.\d KiB/s\))?)")))
        << status();
    EXPECT_EQ (downloading().getProgress(), -1.0);
    ASSERT_TRUE (waitForPage (2));
    EXPECT_EQ (downloading().getRetryCount(), 2);
    EXPECT_EQ (server->getRequestCount (filePath), 3);

    // Cancel during a retry, then Next: the fresh download counts its own retries from one.
    SetUp();
    startRoad ({ "--file-status", "404", "--file-fail-times", "2" });
    ASSERT_TRUE (pumpUntil ([&] { return status() == "Retrying (1/3)..."; }, 5000)) << status();
    downloading().nextButton->triggerClick();
    ASSERT_TRUE (waitForPage (0, 2000));
    pressNext();
    ASSERT_TRUE (pumpUntil ([&] { return server->getRequestCount (filePath) == 2; }));
    ASSERT_TRUE (pumpUntil ([&] { return status().rfind ("Retrying", 0) == 0; }, 5000)) << status();
    EXPECT_EQ (status(), "Retrying (1/3)...");
    ASSERT_TRUE (waitForPage (2));
    EXPECT_EQ (downloading().getRetryCount(), 1);
    EXPECT_EQ (model->outcomeFlags,
               InstallerModel::userCancelled | InstallerModel::downloadSucceeded);
    expectTheServedInstallerAlone();
}

TEST_F (DownloadRoad, StallKeepsTheFiguresAndDropsTheSpeed)
{
    // Four seconds at 256 KiB/s, long enough for the speed to show, then silence.
    startRoad ({ "--file-size", "2M", "--file-rate", "256K", "--file-stall-after", "1048576" });
    ASSERT_TRUE (waitForStatus (sizesWithSpeed)) << status();

    // Thirty refreshes after the stall the window holds equal samples: the speed goes.
    ASSERT_TRUE (pumpUntil ([&] { return status() == "1024.0 KiB / 2.0 MiB"; }, 8000)) << status();
    testing_support::pumpFor (300);
    EXPECT_EQ (status(), "1024.0 KiB / 2.0 MiB");
    EXPECT_EQ (currentPage(), 1u);
    EXPECT_DOUBLE_EQ (downloading().getProgress(), 0.5);
}

TEST_F (DownloadRoad, CancelReturnsToWelcomeAndNextStartsAfreshInTheNewLanguage)
{
    // A quarter of the file takes half a second: a partial file to be removed.
    startRoad ({ "--file-size", "1M", "--file-rate", "512K" }, 2);
    ASSERT_TRUE (pumpUntil ([&] { return downloading().getProgress() > 0.25; }));
    // The language chosen on Welcome carries through.
    EXPECT_NE (text (downloading().titleLabel), "Downloading");
    EXPECT_NE (downloading().nextButton->getButtonText(), "Cancel");
    EXPECT_TRUE (downloading().isRefreshing());

    downloading().nextButton->triggerClick();
    ASSERT_TRUE (waitForPage (0, 2000));
    EXPECT_FALSE (downloading().isRefreshing());
    EXPECT_EQ (model->outcomeFlags, InstallerModel::userCancelled);
    EXPECT_EQ (model->downloadFolder, downloadFolder.getFullPathName());
    EXPECT_EQ (welcome().getLangSelect().getLanguageBox().getSelectedId(), 2);

    // The cancelled run removes its temporary file; a late callback of it changes nothing.
    EXPECT_TRUE (pumpUntil ([&] { return entries() == 0; }, 5000));
    testing_support::pumpFor (300);
    EXPECT_EQ (currentPage(), 0u);
    EXPECT_EQ (model->lastError, nullptr);

    chooseLanguage (3);
    pressNext();
    ASSERT_TRUE (waitForPage (2));
    EXPECT_EQ (server->getRequestCount (filePath), 2);
    expectTheServedInstallerAlone();
    EXPECT_NE (text (finished().titleLabel), "Downloading Success"); // in Chinese
}

TEST_F (DownloadRoad, OnASlowLinkTheSizesMoveEverySecondAndTheSpeedHoldsSteady)
{
    // Rate, write size, and the band the speed must keep to once shown, in KiB/s.
    const std::tuple<const char*, const char*, double, double> rows[] {
        { "20K", "3K", 14.0, 27.0 },
        { "100K", "8K", 75.0, 125.0 },
    };
    const std::regex line (R"(([\d.]+) KiB / 1024\.0 KiB(?: \(([\d.]+) KiB/s\))?)");
    for (const auto& [rate, writeSize, lowest, highest] : rows)
    {
        SCOPED_TRACE (rate);
        SetUp();
        startRoad ({ "--file-size", "1M", "--file-rate", rate, "--file-write-size", writeSize });
        ASSERT_TRUE (waitForStatus (line)) << status();
        std::smatch figures;
        std::string shown, size;
        double slowest = 1e9, fastest = 0.0, longestStill = 0.0;
        auto changed = juce::Time::getMillisecondCounterHiRes();
        const auto end = changed + 6000.0;
        while (juce::Time::getMillisecondCounterHiRes() < end)
        {
            testing_support::pumpFor (5);
            shown = status();
            ASSERT_TRUE (std::regex_match (shown, figures, line)) << shown;
            const auto now = juce::Time::getMillisecondCounterHiRes();
            longestStill = std::max (longestStill, now - changed);
            if (figures[1] != size)
                std::tie (size, changed) = std::pair (figures[1].str(), now);
            if (figures[2].matched)
            {
                slowest = std::min (slowest, std::stod (figures[2]));
                fastest = std::max (fastest, std::stod (figures[2]));
            }
        }
        EXPECT_LE (longestStill, 1000.0);
        EXPECT_GE (slowest, lowest);
        EXPECT_LE (fastest, highest);
        EXPECT_GT (fastest, 0.0) << "no speed shown";
    }
}

TEST (DownloadFigures, GibibytesSpeedAndProgress)
{
    EXPECT_EQ (formatByteSize (1073741824.0 * 3.0), "3.0 GiB"); // KiB and MiB show on the road

    // Up to 1.1 of a unit the smaller unit reads on; both limits belong to the smaller one.
    constexpr auto infinity = std::numeric_limits<double>::infinity();
    for (const auto& [bytes, shown] :
         { std::pair (1101004.8, "1075.2 KiB"), std::pair (1153433.6, "1126.4 KiB"),
           std::pair (std::nextafter (1153433.6, infinity), "1.1 MiB"),
           std::pair (1181116006.4, "1126.4 MiB"),
           std::pair (std::nextafter (1181116006.4, infinity), "1.1 GiB") })
        EXPECT_EQ (formatByteSize (bytes), shown) << std::setprecision (17) << bytes;

    // The speed needs a full window of thirty samples, 100 ms apart.
    boost::circular_buffer<double> window (30);
    for (int i = 0; i < 29; ++i)
        window.push_back (1000.0 * i);
    EXPECT_EQ (Downloading::speedOf (window), 0.0);
    window.push_back (3145728.0); // oldest 0, newest 3 MiB, three seconds apart
    EXPECT_DOUBLE_EQ (Downloading::speedOf (window), 1048576.0);

    EXPECT_EQ (Downloading::progressFor (2048.0, 1024.0), 1.0); // longer than announced
    EXPECT_EQ (Downloading::progressFor (0.0, 0.0), 0.0);
}
