#include "ShellTestSupport.h"

#include "pages/LangSelect.h"
#include "pages/PathEditor.h"
#include "support/DevServer.h"
#include "support/PumpUntil.h"

#include <gtest/gtest.h>

#include <tuple>
#include <unistd.h>

using namespace shell_testing;
using testing_support::pumpUntil;

using WelcomePage = ShellWindowTest;

TEST_F (WelcomePage, OnlyAbsoluteTextChoosesAFolder)
{
    const auto status = [this] { return text (welcome().statusLabel); };
    auto& field = welcome().getPathEditor().getPathField();
    EXPECT_EQ (field.getText(), model->downloadFolder);

    const auto home = juce::File::getSpecialLocation (juce::File::userHomeDirectory);
    const std::string noFolder = "Please select a location to save downloaded files";
    // Root may write anywhere; ctest runs this case as user nobody too.
    const std::string slash =
        ::geteuid() == 0 ? ""
                         : "This folder seems not to be writable\nPlease choose another folder.";
    const std::tuple<const char*, juce::String, std::string> rows[] {
        { "/", "/", slash },
        { "~", home.getFullPathName(), "" },
        { "~/new/deeper", home.getChildFile ("new/deeper").getFullPathName(),
          "A folder will be created if it does not exist" },
        { "relative/folder", {}, noFolder },
        { " /leading-space", {}, noFolder },
        // JUCE leaves "~user" relative for an unknown user: it must not pick the working folder.
        { "~no-such-user-here/x", {}, noFolder },
    };
    for (const auto& [typed, folder, shown] : rows)
    {
        SCOPED_TRACE (typed);
        field.setText (typed, true);
        testing_support::pumpFor (30); // the editor reports the change async
        EXPECT_EQ (model->downloadFolder, folder);
        EXPECT_EQ (field.getText(), typed); // kept as typed
        EXPECT_EQ (status(), shown);
    }
    EXPECT_FALSE (home.getChildFile ("new").exists()); // nothing is created while typing

    // Without a folder Next is refused before any update check starts.
    pressNext();
    EXPECT_EQ (currentPage(), 0u);
    EXPECT_FALSE (model->updateTask.isRunning());
    EXPECT_EQ (status(), noFolder);

    // A folder chosen with Browse reaches the field and the model.
    const auto chosen = downloadFolder.getChildFile ("chosen");
    chosen.createDirectory();
    welcome().getPathEditor().setPath (chosen);
    EXPECT_EQ (field.getText(), chosen.getFullPathName());
    EXPECT_EQ (model->downloadFolder, chosen.getFullPathName());
}

TEST_F (WelcomePage, LaysOutItsPartsBelowTheHeader)
{
    using Bounds = juce::Rectangle<int>;
    auto& page = welcome();
    EXPECT_EQ (page.getBounds(), Bounds (0, 44, 640, 436));
    EXPECT_EQ (page.titleLabel->getBounds(), Bounds (24, 48, 592, 48));
    EXPECT_EQ (page.descriptionLabel->getBounds(), Bounds (24, 108, 592, 64));
    EXPECT_EQ (page.getPathEditor().getBounds(), Bounds (24, 184, 592, 32));
    EXPECT_EQ (page.getPathEditor().getPathField().getBounds(), Bounds (0, 0, 510, 32));
    EXPECT_EQ (page.getPathEditor().getBrowseButton().getBounds(), Bounds (520, 0, 72, 32));
    EXPECT_EQ (page.statusLabel->getBounds(), Bounds (24, 228, 592, 48));
    EXPECT_EQ (page.getLangSelect().getBounds(), Bounds (24, 369, 500, 51)); // left of Next
    EXPECT_EQ (page.nextButton->getBounds(), Bounds (532, 388, 84, 32));

    mainComponent().setSize (900, 700);
    EXPECT_EQ (page.getBounds(), Bounds (0, 44, 900, 656));
    EXPECT_EQ (page.nextButton->getBounds(), Bounds (792, 608, 84, 32));
}

TEST_F (WelcomePage, NextWaitsForTheCheckWhichFollowsTheLanguage)
{
    // A failure, then an answer slow enough (about 5 s) to press Next while it comes.
    testing_support::DevServer server (
        { "--version-status", "503", "--version-fail-times", "1", "--version-rate", "16" });
    const auto status = [this] { return text (welcome().statusLabel); };
    ::setenv ("LARKSPIRE_UPDATE_SERVER", server.getBaseUrl().toRawUTF8(), 1);
    const auto checks = [&] { return server.getRequestCount ("/api/v1/version-info"); };

    const std::string failed = "Could not check the latest version of Larkspire. Press Next to "
                               "try again.\nError details: HTTP error code 503\n";
    pressNext(); // fails, and the status says so
    ASSERT_TRUE (pumpUntil ([&] { return ! model->updateTask.isRunning() && status() == failed; }))
        << status();
    EXPECT_EQ (checks(), 1);
    chooseLanguage (2); // one translated text for the line: no English space after "。"
    const auto line = welcome().statusLabel->getText().upToFirstOccurrenceOf ("\n", false, false);
    EXPECT_TRUE (line.contains (juce::String::fromUTF8 ("。")) &&
                 ! line.contains (juce::String::fromUTF8 ("。 ")))
        << line;
    chooseLanguage (1);

    pressNext(); // restarts the check once; while it runs Next is refused and starts no other
    const std::string checking = "Checking the latest version of Larkspire...";
    ASSERT_TRUE (pumpUntil ([&] { return status() == checking; })) << status();
    pressNext();
    EXPECT_EQ (currentPage(), 0u);

    // Another language shows at once on every text but Browse, translated when it was built.
    const auto shown = [&page = welcome()]
    {
        return juce::StringArray {
            page.titleLabel->getText(),       page.descriptionLabel->getText(),
            page.statusLabel->getText(),      page.getLangSelect().getLanguageLabel().getText(),
            page.nextButton->getButtonText(), page.getPathEditor().getBrowseButton().getButtonText()
        };
    };
    const juce::StringArray english { "Welcome to Larkspire\n",
                                      "This will download and install Larkspire to your computer\n",
                                      checking,
                                      "Language",
                                      "Next",
                                      "Browse" };
    EXPECT_EQ (shown(), english);
    chooseLanguage (2);
    const auto japanese = shown();
    for (int i = 0; i < 5; ++i) // the product name alone changing is not enough
        EXPECT_NE (japanese[i].replace ("LARKSPIRE", "Larkspire"), english[i]);
    EXPECT_EQ (japanese[5], "Browse");
    chooseLanguage (1);
    EXPECT_EQ (shown(), english);

    ASSERT_TRUE (
        pumpUntil ([&] { return model->isRunInfoCheckFinished() && status().empty(); }, 20000))
        << status();
    EXPECT_EQ (checks(), 2);
    pressNext();
    EXPECT_EQ (currentPage(), 1u);
}
