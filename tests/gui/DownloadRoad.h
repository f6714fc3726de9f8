#pragma once

#include "ShellTestSupport.h"

#include "support/DevServer.h"
#include "support/PumpUntil.h"

#include <gtest/gtest.h>

#include <regex>

namespace shell_testing
{
using testing_support::pumpUntil;

inline const juce::String installerName ("LarkspireEditorSetup-2.3.1.bin");
inline const juce::String filePath ("/files/" + installerName);
inline const std::string openFolderLine =
    "\nPress Open Folder to open the installer file location.\n";
inline const std::regex sizesWithSpeed (R"(\d+\.\d [KM]iB / 2\.0 MiB \(\d+\.\d KiB/s\))");

/** A fresh window over a fresh folder, with a development server as update server and file
    host, walked as a user walks it. */
class DownloadRoad : public ShellWindowTest
{
protected:
    /** Starts the server and lets an update check pass against it. */
    void prepareRoad (const std::vector<std::string>& options, int language = 1)
    {
        server = std::make_unique<testing_support::DevServer> (options);
        ::setenv ("LARKSPIRE_UPDATE_SERVER", server->getBaseUrl().toRawUTF8(), 1);
        model->requestRunInfoCheck();
        ASSERT_TRUE (pumpUntil ([this] { return model->isRunInfoCheckFinished(); }));
        chooseLanguage (language);
    }

    void startRoad (const std::vector<std::string>& options, int language = 1)
    {
        prepareRoad (options, language);
        pressNext();
        ASSERT_NE (currentPage(), 0u);
    }

    /** Real mouse actions (xdotool's, through XTest) on the page's Next or Cancel button, while
        the message loop runs. */
    void clickNext (const juce::StringArray& actions)
    {
        const auto centre =
            mainComponent().getCurrentPage()->nextButton->getScreenBounds().getCentre();
        juce::StringArray command { "mousemove", juce::String (centre.x), juce::String (centre.y) };
        command.addArray (actions);
        runXdotool (command);
        // Past the double-click interval: the next clicks begin a run of their own.
        testing_support::pumpFor (500);
    }

    /** Runs xdotool with these arguments, while the message loop runs, until it ends. */
    void runXdotool (juce::StringArray arguments)
    {
        arguments.insert (0, "xdotool");
        juce::ChildProcess xdotool;
        ASSERT_TRUE (xdotool.start (arguments));
        ASSERT_TRUE (pumpUntil ([&] { return ! xdotool.isRunning(); }));
    }

    /** A real Return key press on button, given the keyboard focus: a JUCE button acts on
        Return (through a posted click), not on space. */
    void pressReturnOn (juce::Button& button)
    {
        button.grabKeyboardFocus();
        ASSERT_TRUE (button.hasKeyboardFocus (false));
        runXdotool ({ "key", "Return" });
    }

    bool waitForPage (size_t index, int timeoutMs = 30000)
    {
        return pumpUntil ([&] { return currentPage() == index; }, timeoutMs);
    }

    bool waitForStatus (const std::regex& pattern, int timeoutMs = 8000)
    {
        return pumpUntil ([&] { return std::regex_match (status(), pattern); }, timeoutMs);
    }

    /** Files and folders in the download folder, hidden ones included. */
    int entries()
    {
        return downloadFolder.getNumberOfChildFiles (juce::File::findFilesAndDirectories);
    }

    void expectTheServedInstallerAlone()
    {
        juce::MemoryBlock served, written;
        juce::URL (server->getUrl (filePath)).readEntireBinaryStream (served);
        ASSERT_TRUE (downloadFolder.getChildFile (installerName).loadFileAsData (written));
        EXPECT_TRUE (written == served && written.getSize() > 0);
        EXPECT_EQ (entries(), 1); // no temporary left
    }

    std::string status() { return text (downloading().statusLabel); }

    std::unique_ptr<testing_support::DevServer> server;
};
} // namespace shell_testing
