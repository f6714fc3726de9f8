#include "ShellTestSupport.h"

#include "pages/LangSelect.h"
#include "pages/PathEditor.h"
#include "support/DevServer.h"
#include "support/PumpUntil.h"

#include <gtest/gtest.h>

#include <unistd.h>

using namespace shell_testing;
using testing_support::DevServer;
using testing_support::pumpUntil;

namespace
{
const std::string noFolder = "Please select a location to save downloaded files";
const std::string willCreate = "A folder will be created if it does not exist";

class WelcomePage : public ShellWindowTest
{
protected:
    /** Edits the folder field as the user would; the editor reports the change async. */
    void type (const juce::String& newText)
    {
        welcome().getPathEditor().getPathField().setText (newText, true);
        testing_support::pumpFor (30);
    }

    void chooseLanguage (int id)
    {
        welcome().getLangSelect().getLanguageBox().setSelectedId (id, juce::sendNotificationSync);
    }

    std::string status() { return text (welcome().statusLabel); }

    const juce::String versionPath { "/api/v1/version-info" };
};
} // namespace

TEST_F (WelcomePage, OnlyAbsoluteTextChoosesAFolder)
{
    const auto home = juce::File::getSpecialLocation (juce::File::userHomeDirectory);
    struct Row
    {
        const char* typed;
        juce::String folder;
        const char* status; // null: depends on the user ("/" is writable for root only)
    };
    const Row rows[] {
        { "/", "/", nullptr },
        { "~", home.getFullPathName(), "" },
        { "~/new/deeper", home.getChildFile ("new/deeper").getFullPathName(), willCreate.c_str() },
        { "relative/folder", {}, noFolder.c_str() },
        { "", {}, noFolder.c_str() },
        { " /leading-space", {}, noFolder.c_str() },
        // JUCE leaves "~user" relative for an unknown user: it must not pick the working folder.
        { "~no-such-user-here/x", {}, noFolder.c_str() },
    };

    for (const auto& row : rows)
    {
        SCOPED_TRACE (row.typed);
        type (row.typed);
        EXPECT_EQ (model->downloadFolder, row.folder);
        // The field keeps what was typed, tilde form included.
        EXPECT_EQ (welcome().getPathEditor().getPathField().getText(), row.typed);
        if (row.status != nullptr)
        {
            EXPECT_EQ (status(), row.status);
        }
    }
    EXPECT_FALSE (home.getChildFile ("new").exists()); // nothing is created while typing

    // Refused for the missing folder: the update check is not started and the status stays.
    pressNext();
    pressNext();
    EXPECT_EQ (currentPage(), 0u);
    EXPECT_FALSE (model->updateTask.isRunning());
    EXPECT_EQ (status(), noFolder);
}

TEST_F (WelcomePage, FolderAndLanguagePartsAreLaidOut)
{
    using Bounds = juce::Rectangle<int>;
    auto& editor = welcome().getPathEditor();
    auto& langSelect = welcome().getLangSelect();

    EXPECT_EQ (editor.getBounds(), Bounds (24, 184, 592, 32));
    EXPECT_EQ (editor.getBrowseButton().getBounds(), Bounds (520, 0, 72, 32));
    EXPECT_EQ (editor.getPathField().getBounds(), Bounds (0, 0, 510, 32));
    EXPECT_EQ (langSelect.getBounds(), Bounds (24, 369, 500, 51));
    EXPECT_EQ (langSelect.getIconBounds(), juce::Rectangle<float> (0.0f, 10.0f, 12.0f, 2.0f));
    EXPECT_EQ (langSelect.getLanguageLabel().getBounds(), Bounds (14, -1, 126, 22));
    EXPECT_EQ (langSelect.getLanguageBox().getBounds(), Bounds (0, 26, 140, 25));

    // Narrow: the button takes what there is, the field never goes negative.
    editor.setSize (60, 32);
    EXPECT_EQ (editor.getBrowseButton().getBounds(), Bounds (0, 0, 60, 32));
    EXPECT_EQ (editor.getPathField().getWidth(), 0);
}

TEST_F (WelcomePage, UnwritableFolderIsReportedInTwoLines)
{
    if (::geteuid() == 0)
        GTEST_SKIP() << "JUCE reports every folder writable for root; ctest runs this case as "
                        "user nobody (shell.welcome_unwritable_folder)";

    type ("/proc/1");
    EXPECT_EQ (status(), "This folder seems not to be writable\nPlease choose another folder.");
}

TEST_F (WelcomePage, SetPathNotifiesOnlyForAnotherFolder)
{
    auto& editor = welcome().getPathEditor();
    int notifications = 0;
    const auto previous = editor.onPathChanged;
    editor.onPathChanged = [&] (juce::File file)
    {
        ++notifications;
        previous (file);
    };

    editor.setPath (downloadFolder); // the folder already shown
    EXPECT_EQ (notifications, 0);

    // The same folder written differently (trailing slash): the field is rewritten, no notice.
    type (downloadFolder.getFullPathName() + "/");
    editor.setPath (downloadFolder);
    EXPECT_EQ (editor.getPathField().getText(), downloadFolder.getFullPathName());
    EXPECT_EQ (notifications, 0);

    const auto other = makeEmptyFolder ("other");
    editor.setPath (other);
    EXPECT_EQ (notifications, 1);
    EXPECT_EQ (model->downloadFolder, other.getFullPathName());
}

TEST_F (WelcomePage, StartsInEnglishAndRetranslatesAtOnceButNotBrowse)
{
    EXPECT_EQ (welcome().getPathEditor().getPathField().getText(), model->downloadFolder);
    EXPECT_EQ (text (welcome().titleLabel), "Welcome to Larkspire\n");
    EXPECT_EQ (text (welcome().descriptionLabel),
               "This will download and install Larkspire to your computer\n");
    EXPECT_EQ (status(), ""); // an existing, writable folder
    EXPECT_EQ (welcome().nextButton->getButtonText(), "Next");
    EXPECT_EQ (welcome().backButton, nullptr);
    EXPECT_EQ (welcome().getLangSelect().getLanguageLabel().getText(), "Language");

    auto& box = welcome().getLangSelect().getLanguageBox();
    const juce::StringArray names { "English", juce::String::fromUTF8 ("日本語"),
                                    juce::String::fromUTF8 ("简体中文") };
    ASSERT_EQ (box.getNumItems(), 3);
    for (int i = 0; i < 3; ++i)
    {
        EXPECT_EQ (box.getItemText (i), names[i]);
        EXPECT_EQ (box.getItemId (i), i + 1);
    }
    EXPECT_EQ (box.getSelectedId(), 1);

    type (downloadFolder.getChildFile ("later").getFullPathName());
    chooseLanguage (2);
    const auto welcomeTo = [] (const char* name)
    { return juce::translate ("Welcome to {ProductName}").replace ("{ProductName}", name) + "\n"; };
    EXPECT_NE (text (welcome().titleLabel), "Welcome to LARKSPIRE\n"); // really translated
    EXPECT_EQ (welcome().titleLabel->getText(), welcomeTo ("LARKSPIRE"));
    EXPECT_EQ (welcome().descriptionLabel->getText(),
               juce::translate ("This will download and install {ProductName} to your computer")
                       .replace ("{ProductName}", "LARKSPIRE") +
                   "\n");
    EXPECT_NE (status(), willCreate);
    EXPECT_EQ (welcome().statusLabel->getText(), juce::translate (juce::String (willCreate)));
    EXPECT_EQ (welcome().getLangSelect().getLanguageLabel().getText(),
               juce::translate ("Language"));
    EXPECT_NE (welcome().nextButton->getButtonText(), "Next");
    EXPECT_EQ (welcome().nextButton->getButtonText(), juce::translate ("Next"));
    EXPECT_EQ (welcome().getPathEditor().getBrowseButton().getButtonText(), "Browse");

    chooseLanguage (3);
    EXPECT_EQ (welcome().titleLabel->getText(), welcomeTo ("Larkspire"));

    chooseLanguage (1);
    EXPECT_EQ (text (welcome().titleLabel), "Welcome to Larkspire\n");
    EXPECT_EQ (welcome().nextButton->getButtonText(), "Next");
}

TEST_F (WelcomePage, RunningCheckRefusesAndStartsNoSecondOne)
{
    DevServer server ({ "--version-hang" });
    useServer (server.getBaseUrl());

    pressNext();
    ASSERT_TRUE (pumpUntil ([&] { return server.getRequestCount (versionPath) == 1; }));
    EXPECT_TRUE (model->updateTask.isRunning());
    ASSERT_TRUE (
        pumpUntil ([&] { return status() == "Checking the latest version of Larkspire..."; }));

    pressNext();
    pressNext();
    testing_support::pumpFor (300);
    EXPECT_EQ (server.getRequestCount (versionPath), 1);
    EXPECT_EQ (currentPage(), 0u);
    EXPECT_EQ (downloading().getState(), Downloading::notStarted);

    // The check's status is translated like the rest of the page.
    chooseLanguage (2);
    const auto checking = juce::translate ("Checking the latest version of {ProductName}...")
                              .replace ("{ProductName}", "LARKSPIRE");
    EXPECT_EQ (checking.indexOf ("Checking"), -1) << "no Japanese text for the check status";
    EXPECT_TRUE (pumpUntil ([&] { return welcome().statusLabel->getText() == checking; }, 3000))
        << status();
}

TEST_F (WelcomePage, FailedCheckIsShownAndRestartedOncePerPress)
{
    // Two failures, then the server answers.
    DevServer server ({ "--version-status", "503", "--version-fail-times", "2" });
    useServer (server.getBaseUrl());

    for (int press = 1; press <= 2; ++press)
    {
        pressNext();
        ASSERT_TRUE (pumpUntil ([&] { return ! model->updateTask.isRunning(); }));
        EXPECT_EQ (server.getRequestCount (versionPath), press);
        EXPECT_EQ (currentPage(), 0u);
        ASSERT_TRUE (pumpUntil ([&] { return status().rfind ("Could not check", 0) == 0; }, 2000))
            << status();
        EXPECT_EQ (status(), "Could not check the latest version of Larkspire. Press Next to "
                             "try again.\n"
                             "Error details: HTTP error code 503\n");
    }

    // The third press starts the check that succeeds; Next still waits for it to end.
    pressNext();
    EXPECT_EQ (currentPage(), 0u);
    ASSERT_TRUE (pumpUntil ([&] { return model->isRunInfoCheckFinished(); }));
    EXPECT_EQ (server.getRequestCount (versionPath), 3);
    ASSERT_TRUE (pumpUntil ([&] { return status().empty(); }, 2000)) << status();

    pressNext();
    EXPECT_EQ (currentPage(), 1u);
}
