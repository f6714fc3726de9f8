#include "ShellTestSupport.h"

#include "support/PumpUntil.h"
#include "support/ScopedEnvironment.h"
#include "support/TemporaryFolder.h"
#include "tasks/BackgroundThreads.h"

#include <gtest/gtest.h>

using namespace shell_testing;
using testing_support::ScopedEnvironment;

namespace
{
/** Stand-ins for dbus-send and xdg-open, first on PATH: each keeps its arguments, sleeps
    $STANDIN_SLEEP seconds and exits with $STANDIN_STATUS. */
class OpenFolder : public ShellWindowTest
{
protected:
    void SetUp() override
    {
        ShellWindowTest::SetUp();
        for (const auto* name : { "dbus-send", "xdg-open" })
        {
            const auto script = bin.get().getChildFile (name);
            script.replaceWithText (
                "#!/bin/sh\nprintf '%s\\0' \"$@\" > \"$0.args\"\n"
                "sleep \"${STANDIN_SLEEP:-0}\"; exit \"${STANDIN_STATUS:-0}\"\n",
                false, false, "\n");
            script.setExecutePermission (true);
        }
    }

    /** Presses Open Folder on the Finished page after a download to path; returns the arguments
        each stand-in got, once lastToRun has run and the thread that ran it has ended (the
        environment may change then). A wait for the background threads, as at shutdown, stops
        the thread from waiting for a stand-in. */
    std::pair<juce::String, juce::String> pressOpenFolder (const juce::String& path,
                                                           const char* lastToRun)
    {
        for (const auto* name : { "dbus-send.args", "xdg-open.args" })
            bin.get().getChildFile (name).deleteFile();
        model->outcomeFlags = InstallerModel::downloadSucceeded;
        model->installerPath = path;
        welcome().setVisible (false);
        finished().setVisible (true);
        finished().updateUI();
        finished().nextButton->triggerClick();

        const auto last = bin.get().getChildFile (juce::String (lastToRun) + ".args");
        EXPECT_TRUE (testing_support::pumpUntil ([&] { return last.exists(); }, 5000));
        testing_support::pumpFor (300); // nothing runs after it
        EXPECT_TRUE (BackgroundThreads::get().waitForAll (3000));
        return { argumentsOf ("dbus-send"), argumentsOf ("xdg-open") };
    }

    /** The arguments program got, one per line. */
    juce::String argumentsOf (const char* program)
    {
        juce::MemoryBlock data;
        bin.get().getChildFile (juce::String (program) + ".args").loadFileAsData (data);
        for (auto& byte : data)
            byte = byte == 0 ? '\n' : byte;
        return data.toString().trimCharactersAtEnd ("\n");
    }

    testing_support::TemporaryFolder bin;
    ScopedEnvironment searchPath { "PATH", bin.get().getFullPathName().toStdString() + ":" +
                                               std::getenv ("PATH") };
    ScopedEnvironment bus { "DBUS_SESSION_BUS_ADDRESS", "unix:path=/nonexistent" };
    ScopedEnvironment status { "STANDIN_STATUS", "0" };
};

/** What dbus-send gets to show the URI that its arguments hold, which must name path. */
juce::String fileManagerCall (const juce::String& method, const juce::String& arguments,
                              const juce::String& path)
{
    const auto uri = arguments.fromFirstOccurrenceOf ("array:string:", false, false)
                         .upToFirstOccurrenceOf ("\n", false, false);
    EXPECT_TRUE (uri.startsWith ("file:///") &&
                 uri.containsOnly ("abcdefghijklmnopqrstuvwxyzABC"
                                   "DEFGHIJKLMNOPQRSTUVWXYZ0123456789"
                                   "-._~/%:"))
        << uri;
    EXPECT_EQ (juce::URL::removeEscapeChars (uri.fromFirstOccurrenceOf ("file://", false, false)),
               path);
    return "--session\n--print-reply\n--reply-timeout=5000\n--dest=org.freedesktop.FileManager1\n"
           "/org/freedesktop/FileManager1\norg.freedesktop.FileManager1." +
           method + "\narray:string:" + uri + "\nstring:";
}
} // namespace

TEST_F (OpenFolder, ShowsTheInstallerWithoutAShellWhateverTheFolderIsCalled)
{
    // A shell would run the commands in this name, or choke on its quotes.
    const auto folder = downloadFolder.getChildFile (
        juce::String::fromUTF8 ("a $(touch pwned) `touch pwned2` \"q\" 'q'; x,y\nü 中"));
    const auto installer = folder.getChildFile ("Setup.bin");
    ASSERT_TRUE (folder.createDirectory() && installer.replaceWithText ("installer"));
    const auto previousFolder = juce::File::getCurrentWorkingDirectory();
    downloadFolder.setAsCurrentWorkingDirectory();

    // The file manager shows the installer selected.
    auto [dbus, xdg] = pressOpenFolder (installer.getFullPathName(), "dbus-send");
    EXPECT_EQ (dbus, fileManagerCall ("ShowItems", dbus, installer.getFullPathName()));
    EXPECT_TRUE (xdg.isEmpty());

    // No file manager answers: xdg-open gets the folder as its one argument.
    {
        const ScopedEnvironment failing ("STANDIN_STATUS", "1");
        std::tie (dbus, xdg) = pressOpenFolder (installer.getFullPathName(), "xdg-open");
        EXPECT_EQ (xdg, folder.getFullPathName());
    }

    // No session bus at all: straight to xdg-open.
    {
        const ScopedEnvironment noBus ("DBUS_SESSION_BUS_ADDRESS", std::nullopt);
        const ScopedEnvironment noRuntime ("XDG_RUNTIME_DIR",
                                           bin.get().getFullPathName().toStdString());
        std::tie (dbus, xdg) = pressOpenFolder (installer.getFullPathName(), "xdg-open");
        EXPECT_TRUE (dbus.isEmpty());
        EXPECT_EQ (xdg, folder.getFullPathName());
    }

    // Quitting while the file manager has not answered yet: nothing waits for it any longer.
    {
        const ScopedEnvironment slow ("STANDIN_SLEEP", "20");
        std::tie (dbus, xdg) = pressOpenFolder (installer.getFullPathName(), "dbus-send");
        EXPECT_TRUE (xdg.isEmpty());
    }

    // An installer moved away: its folder is shown.
    ASSERT_TRUE (installer.deleteFile());
    std::tie (dbus, xdg) = pressOpenFolder (installer.getFullPathName(), "dbus-send");
    EXPECT_EQ (dbus, fileManagerCall ("ShowFolders", dbus, folder.getFullPathName()));

    previousFolder.setAsCurrentWorkingDirectory();
    EXPECT_FALSE (downloadFolder.getChildFile ("pwned").exists());
    EXPECT_FALSE (downloadFolder.getChildFile ("pwned2").exists());
}
