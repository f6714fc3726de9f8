#include "ShellTestSupport.h"

#include "app/MainComponent.h"
#include "pages/Downloading.h"
#include "pages/LangSelect.h"
#include "pages/PathEditor.h"
#include "pages/Welcome.h"
#include "support/DevServer.h"
#include "support/PumpUntil.h"

#include <gtest/gtest.h>

#include <ostream>

#include <unistd.h>

using namespace shell_testing;
using testing_support::DevServer;
using testing_support::pumpUntil;

namespace
{
class WelcomePage : public ShellWindowTest
{
protected:
    /** Edits the folder field as the user would; the editor reports the change async. */
    void type (const juce::String& newText)
    {
        welcome().getPathEditor().getPathField().setText (newText, true);
        testing_support::pumpFor (30);
    }

    std::string status() { return text (welcome().statusLabel); }

    const juce::String versionPath { "/api/v1/version-info" };
};

struct TypedPath
{
    const char* typed;
    const char* folderRelativeToHome; // null: no folder chosen; "/": the root folder
};

// Test names carry the typed text, not the struct's bytes.
void PrintTo (const TypedPath& path, std::ostream* stream)
{
    *stream << '"' << path.typed << '"';
}

class WelcomeTyping
    : public WelcomePage
    , public ::testing::WithParamInterface<TypedPath>
{
};
} // namespace

TEST_P (WelcomeTyping, OnlyAbsoluteTextChoosesAFolder)
{
    const auto& param = GetParam();
    type (param.typed);

    juce::String expected;
    if (param.folderRelativeToHome == nullptr)
        expected = {};
    else if (juce::String (param.folderRelativeToHome) == "/")
        expected = "/";
    else
        expected = juce::File::getSpecialLocation (juce::File::userHomeDirectory)
                       .getChildFile (param.folderRelativeToHome)
                       .getFullPathName();

    EXPECT_EQ (model->downloadFolder, expected);
    // The field keeps what was typed, tilde form included.
    EXPECT_EQ (welcome().getPathEditor().getPathField().getText(), param.typed);

    if (expected.isEmpty())
    {
        EXPECT_EQ (status(), "Please select a location to save downloaded files");
        pressNext();
        EXPECT_EQ (currentPage(), 0u);
    }
}

INSTANTIATE_TEST_SUITE_P (
    Paths, WelcomeTyping,
    ::testing::Values (TypedPath { "/", "/" }, TypedPath { "~/Larkspire Test", "Larkspire Test" },
                       TypedPath { "~", "" }, TypedPath { "relative/folder", nullptr },
                       TypedPath { "", nullptr }, TypedPath { " /leading-space", nullptr }));

TEST_F (WelcomePage, StartsWithTheModelsFolderAndItsStatus)
{
    EXPECT_EQ (welcome().getPathEditor().getPathField().getText(),
               model->downloadFolder); // set before the window was built
    EXPECT_EQ (text (welcome().titleLabel), "Welcome to Larkspire\n");
    EXPECT_EQ (text (welcome().descriptionLabel),
               "This will download and install Larkspire to your computer\n");
    EXPECT_EQ (status(), ""); // an existing, writable folder
    EXPECT_EQ (welcome().nextButton->getButtonText(), "Next");
    EXPECT_EQ (welcome().backButton, nullptr);
    EXPECT_EQ (welcome().getLangSelect().getLanguageLabel().getText(), "Language");
    EXPECT_EQ (welcome().getPathEditor().getBrowseButton().getButtonText(), "Browse");
}

TEST_F (WelcomePage, LayoutMatchesTheWorkedExample)
{
    using Bounds = juce::Rectangle<int>;
    auto& page = welcome();

    EXPECT_EQ (page.getBounds(), Bounds (0, 44, 640, 436));
    EXPECT_EQ (page.titleLabel->getBounds(), Bounds (24, 48, 592, 48));
    EXPECT_EQ (page.descriptionLabel->getBounds(), Bounds (24, 108, 592, 64));
    EXPECT_EQ (page.extraComponent->getBounds(), Bounds (24, 184, 592, 32));
    EXPECT_EQ (page.statusLabel->getBounds(), Bounds (24, 228, 592, 48));
    EXPECT_EQ (page.footerComponent->getBounds(), Bounds (24, 369, 500, 51));
    EXPECT_EQ (page.nextButton->getBounds(), Bounds (532, 388, 84, 32));

    auto& editor = page.getPathEditor();
    EXPECT_EQ (editor.getBrowseButton().getBounds(), Bounds (520, 0, 72, 32));
    EXPECT_EQ (editor.getPathField().getBounds(), Bounds (0, 0, 510, 32));

    auto& langSelect = page.getLangSelect();
    EXPECT_EQ (langSelect.getIconBounds(), juce::Rectangle<float> (0.0f, 10.0f, 12.0f, 2.0f));
    EXPECT_EQ (langSelect.getLanguageLabel().getBounds(), Bounds (14, -1, 126, 22));
    EXPECT_EQ (langSelect.getLanguageBox().getBounds(), Bounds (0, 26, 140, 25));

    // Narrow: the button takes what there is, the field never goes negative.
    editor.setSize (60, 32);
    EXPECT_EQ (editor.getBrowseButton().getBounds(), Bounds (0, 0, 60, 32));
    EXPECT_EQ (editor.getPathField().getWidth(), 0);
}

TEST_F (WelcomePage, StatusFollowsTheFolder)
{
    type (downloadFolder.getChildFile ("new/deeper").getFullPathName());
    EXPECT_EQ (status(), "A folder will be created if it does not exist");
    EXPECT_FALSE (downloadFolder.getChildFile ("new").exists()); // nothing is created here

    type (downloadFolder.getFullPathName());
    EXPECT_EQ (status(), "");

    type ("nowhere");
    EXPECT_EQ (status(), "Please select a location to save downloaded files");
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

    // The folder already shown: nothing.
    editor.setPath (downloadFolder);
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
    testing_support::pumpFor (30);
    EXPECT_EQ (status(), "");
}

TEST_F (WelcomePage, LanguageBoxListsTheThreeLanguages)
{
    auto& box = welcome().getLangSelect().getLanguageBox();

    ASSERT_EQ (box.getNumItems(), 3);
    EXPECT_EQ (box.getItemText (0), "English");
    EXPECT_EQ (box.getItemText (1), juce::String::fromUTF8 ("日本語"));
    EXPECT_EQ (box.getItemText (2), juce::String::fromUTF8 ("简体中文"));
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ (box.getItemId (i), i + 1);
    EXPECT_EQ (box.getSelectedId(), 1);
}

TEST_F (WelcomePage, LanguageChangeRetranslatesAtOnceButNotBrowse)
{
    type (downloadFolder.getChildFile ("later").getFullPathName());
    auto& box = welcome().getLangSelect().getLanguageBox();

    box.setSelectedId (2, juce::sendNotificationSync);

    ASSERT_EQ (model->currentLanguage->id, 2);
    const auto name = juce::translate ("Larkspire");
    EXPECT_EQ (name, "LARKSPIRE");
    EXPECT_EQ (welcome().titleLabel->getText(),
               juce::translate ("Welcome to {ProductName}").replace ("{ProductName}", name) + "\n");
    EXPECT_NE (text (welcome().titleLabel), "Welcome to LARKSPIRE\n");
    EXPECT_EQ (welcome().descriptionLabel->getText(),
               juce::translate ("This will download and install {ProductName} to your computer")
                       .replace ("{ProductName}", name) +
                   "\n");
    EXPECT_EQ (welcome().statusLabel->getText(),
               juce::translate ("A folder will be created if it does not exist"));
    EXPECT_NE (status(), "A folder will be created if it does not exist");
    EXPECT_EQ (welcome().getLangSelect().getLanguageLabel().getText(),
               juce::translate ("Language"));
    EXPECT_EQ (welcome().nextButton->getButtonText(), juce::translate ("Next"));
    EXPECT_NE (welcome().nextButton->getButtonText(), "Next");
    EXPECT_EQ (welcome().getPathEditor().getBrowseButton().getButtonText(), "Browse");

    box.setSelectedId (3, juce::sendNotificationSync);
    EXPECT_EQ (juce::translate ("Larkspire"), "Larkspire");
    EXPECT_EQ (welcome().titleLabel->getText(),
               juce::translate ("Welcome to {ProductName}").replace ("{ProductName}", "Larkspire") +
                   "\n");

    box.setSelectedId (1, juce::sendNotificationSync);
    EXPECT_EQ (text (welcome().titleLabel), "Welcome to Larkspire\n");
    EXPECT_EQ (welcome().nextButton->getButtonText(), "Next");
}

TEST_F (WelcomePage, NoFolderRefusesWithoutTouchingTheCheck)
{
    DevServer server;
    ::setenv ("LARKSPIRE_UPDATE_SERVER", server.getBaseUrl().toRawUTF8(), 1);
    type ("");

    pressNext();
    pressNext();
    testing_support::pumpFor (100);

    EXPECT_EQ (currentPage(), 0u);
    EXPECT_EQ (server.getRequestCount (versionPath), 0);
    EXPECT_FALSE (model->updateTask.isRunning());
    EXPECT_EQ (status(), "Please select a location to save downloaded files");
}

TEST_F (WelcomePage, RunningCheckRefusesAndStartsNoSecondOne)
{
    DevServer server ({ "--version-hang" });
    ::setenv ("LARKSPIRE_UPDATE_SERVER", server.getBaseUrl().toRawUTF8(), 1);

    pressNext();
    ASSERT_TRUE (pumpUntil ([&] { return server.getRequestCount (versionPath) == 1; }));
    EXPECT_TRUE (model->updateTask.isRunning());
    EXPECT_EQ (currentPage(), 0u);
    ASSERT_TRUE (
        pumpUntil ([&] { return status() == "Checking the latest version of Larkspire..."; }));

    pressNext();
    pressNext();
    testing_support::pumpFor (300);
    EXPECT_EQ (server.getRequestCount (versionPath), 1);
    EXPECT_EQ (currentPage(), 0u);
    EXPECT_EQ (downloading().getState(), Downloading::notStarted);
}

TEST_F (WelcomePage, FailedCheckIsShownAndRestartedOncePerPress)
{
    // Two failures, then the server answers.
    DevServer server ({ "--version-status", "503", "--version-fail-times", "2" });
    ::setenv ("LARKSPIRE_UPDATE_SERVER", server.getBaseUrl().toRawUTF8(), 1);

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

TEST_F (WelcomePage, CheckStatusIsTranslated)
{
    DevServer server ({ "--version-hang" });
    ::setenv ("LARKSPIRE_UPDATE_SERVER", server.getBaseUrl().toRawUTF8(), 1);
    welcome().getLangSelect().getLanguageBox().setSelectedId (2, juce::sendNotificationSync);

    pressNext();
    const auto expected = juce::translate ("Checking the latest version of {ProductName}...")
                              .replace ("{ProductName}", "LARKSPIRE");
    ASSERT_TRUE (pumpUntil ([&] { return welcome().statusLabel->getText() == expected; }, 3000))
        << status();
    EXPECT_EQ (expected.indexOf ("Checking"), -1) << "no Japanese text for the check status";
}
