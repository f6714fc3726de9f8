#include "ShellTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <stdexcept>

using namespace shell_testing;

namespace
{
class FinishedPage : public ShellWindowTest
{
protected:
    /** Shows the Finished page the way the Downloading page does. */
    void show()
    {
        welcome().setVisible (false);
        finished().setVisible (true);
        finished().updateUI();
    }
};
} // namespace

TEST_F (FinishedPage, SuccessMessageLineByLine)
{
    model->outcomeFlags = InstallerModel::downloadSucceeded;
    model->installerPath = downloadFolder.getChildFile ("Setup {odd} name.bin").getFullPathName();
    show();

    EXPECT_EQ (text (finished().titleLabel), "Downloading Success");
    EXPECT_EQ (text (finished().descriptionLabel),
               "Larkspire installer is successfully downloaded to your computer.\n"
               "Please run the installer manually.\n"
               "\n"
               "Larkspire installer has been downloaded to: " +
                   model->installerPath.toStdString() +
                   "\n"
                   "\n"
                   "Press Open Folder to open the installer file location.\n");
    EXPECT_TRUE (finished().nextButton->isVisible());
    EXPECT_FALSE (finished().backButton->isVisible());
}

TEST_F (FinishedPage, FailureShowsTheGenericLinesAndTheDetails)
{
    const std::pair<std::exception_ptr, const char*> rows[] {
        { nullptr, nullptr }, // no stored error: no details line
        { std::make_exception_ptr (std::runtime_error ("HTTP error code 503")),
          "Error details: HTTP error code 503" },
        { std::make_exception_ptr (std::runtime_error ("")), "Error details: " },
        { std::make_exception_ptr (42), "Error details: Unknown error" },
    };

    for (const auto& [error, details] : rows)
    {
        SCOPED_TRACE (details != nullptr ? details : "no error");
        model->lastError = error;
        show();

        std::string expected = "Failed to download Larkspire\n"
                               "Other error\n"
                               "Please report this incident to customer support.\n";
        if (details != nullptr)
            expected += "\n" + std::string (details) + "\n";
        expected += "\nPress Open Folder to open the installer file location.\n";

        EXPECT_EQ (text (finished().titleLabel), "Installation Failed");
        EXPECT_EQ (text (finished().descriptionLabel), expected);

        // The error is read, never consumed: a second refresh shows the same.
        const auto width = finished().nextButtonWidth;
        finished().updateUI();
        EXPECT_EQ (text (finished().descriptionLabel), expected);
        EXPECT_EQ (finished().nextButtonWidth, width);
    }
}

TEST_F (FinishedPage, UnknownErrorIsTranslated)
{
    model->lastError = std::make_exception_ptr (42);
    model->setLanguage (&model->languages[1]);
    show();

    juce::StringArray lines;
    lines.addTokens (finished().descriptionLabel->getText(), "\n", {});
    const auto unknown = juce::translate ("Unknown error");
    EXPECT_NE (unknown, "Unknown error") << "no Japanese text for \"Unknown error\"";
    EXPECT_EQ (lines[0], juce::translate ("Failed to download {ProductName}")
                             .replace ("{ProductName}", "LARKSPIRE"));
    EXPECT_EQ (
        lines[4],
        juce::translate ("Error details: {ErrorMessage}").replace ("{ErrorMessage}", unknown));
}

TEST_F (FinishedPage, ButtonWidthFollowsItsTextInTheLayout)
{
    auto& page = finished();
    const auto expectedWidth = [&page]
    {
        const auto font = juce::LookAndFeel::getDefaultLookAndFeel().getTextButtonFont (
            *page.nextButton, page.nextButton->getHeight());
        return std::max (56, static_cast<int> (std::ceil (
                                 font.getStringWidthFloat (page.nextButton->getButtonText())))) +
               16;
    };

    show();
    EXPECT_EQ (page.nextButton->getButtonText(), "Open Folder");
    EXPECT_EQ (page.nextButtonWidth, expectedWidth());
    EXPECT_EQ (page.nextButton->getBounds(),
               juce::Rectangle<int> (616 - page.nextButtonWidth, 388, page.nextButtonWidth, 32));
    EXPECT_EQ (page.descriptionLabel->getBounds(), juce::Rectangle<int> (24, 108, 592, 192));

    // A short text keeps the minimum, a long one widens the button to its text plus 16.
    juce::LocalisedStrings::setCurrentMappings (
        new juce::LocalisedStrings ("\"Open Folder\" = \"Go\"", false));
    page.updateUI();
    EXPECT_EQ (page.nextButton->getWidth(), 72);

    juce::LocalisedStrings::setCurrentMappings (new juce::LocalisedStrings (
        "\"Open Folder\" = \"Open the folder that holds the downloaded installer\"", false));
    page.updateUI();
    EXPECT_GT (page.nextButtonWidth, 200);
    EXPECT_EQ (page.nextButtonWidth, expectedWidth());
    EXPECT_EQ (page.nextButton->getRight(), 616);

    juce::LocalisedStrings::setCurrentMappings (nullptr);
}
