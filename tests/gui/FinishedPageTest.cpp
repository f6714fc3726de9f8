#include "ShellTestSupport.h"

#include "app/MainComponent.h"
#include "pages/Finished.h"

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
        mainComponent().getPages()[0]->setVisible (false);
        finished().setVisible (true);
        finished().updateUI();
    }

    juce::StringArray lines()
    {
        juce::StringArray result;
        result.addTokens (finished().descriptionLabel->getText(), "\n", {});
        return result;
    }

    int expectedButtonWidth()
    {
        auto& button = *finished().nextButton;
        const auto font = juce::LookAndFeel::getDefaultLookAndFeel().getTextButtonFont (
            button, button.getHeight());
        return std::max (56, static_cast<int> (
                                 std::ceil (font.getStringWidthFloat (button.getButtonText())))) +
               16;
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
    EXPECT_EQ (finished().nextButton->getButtonText(), "Open Folder");
    EXPECT_TRUE (finished().nextButton->isVisible());
    EXPECT_FALSE (finished().backButton->isVisible());
}

TEST_F (FinishedPage, FailureWithoutStoredErrorHasFiveLines)
{
    show();

    EXPECT_EQ (text (finished().titleLabel), "Installation Failed");
    EXPECT_EQ (text (finished().descriptionLabel),
               "Failed to download Larkspire\n"
               "Other error\n"
               "Please report this incident to customer support.\n"
               "\n"
               "Press Open Folder to open the installer file location.\n");
}

TEST_F (FinishedPage, FailureDetailsCarryTheMessage)
{
    model->lastError = std::make_exception_ptr (std::runtime_error ("HTTP error code 503"));
    show();

    EXPECT_EQ (text (finished().descriptionLabel),
               "Failed to download Larkspire\n"
               "Other error\n"
               "Please report this incident to customer support.\n"
               "\n"
               "Error details: HTTP error code 503\n"
               "\n"
               "Press Open Folder to open the installer file location.\n");

    // Read, never consumed: a second refresh shows the same.
    const auto first = finished().descriptionLabel->getText();
    const auto width = finished().nextButtonWidth;
    finished().updateUI();
    EXPECT_EQ (finished().descriptionLabel->getText(), first);
    EXPECT_EQ (finished().nextButtonWidth, width);
}

TEST_F (FinishedPage, EmptyAndUnknownErrors)
{
    model->lastError = std::make_exception_ptr (std::runtime_error (""));
    show();
    EXPECT_EQ (lines()[4], "Error details: ");

    model->lastError = std::make_exception_ptr (42);
    finished().updateUI();
    EXPECT_EQ (lines()[4], "Error details: Unknown error");

    model->setLanguage (&model->languages[1]);
    finished().updateUI();
    const auto unknown = juce::translate ("Unknown error");
    EXPECT_NE (unknown, "Unknown error") << "no Japanese text for \"Unknown error\"";
    EXPECT_EQ (
        lines()[4],
        juce::translate ("Error details: {ErrorMessage}").replace ("{ErrorMessage}", unknown));
    EXPECT_EQ (lines()[0], juce::translate ("Failed to download {ProductName}")
                               .replace ("{ProductName}", "LARKSPIRE"));
}

TEST_F (FinishedPage, ButtonWidthFollowsItsText)
{
    show();
    EXPECT_EQ (finished().nextButtonWidth, expectedButtonWidth());
    EXPECT_EQ (finished().nextButton->getBounds(),
               juce::Rectangle<int> (616 - finished().nextButtonWidth, 388,
                                     finished().nextButtonWidth, 32));

    // A short text keeps the minimum, a long one widens the button to its text plus 16.
    juce::LocalisedStrings::setCurrentMappings (
        new juce::LocalisedStrings ("\"Open Folder\" = \"Go\"", false));
    finished().updateUI();
    EXPECT_EQ (finished().nextButtonWidth, 72);
    EXPECT_EQ (finished().nextButton->getWidth(), 72);

    juce::LocalisedStrings::setCurrentMappings (new juce::LocalisedStrings (
        "\"Open Folder\" = \"Open the folder that holds the downloaded installer\"", false));
    finished().updateUI();
    EXPECT_GT (finished().nextButtonWidth, 200);
    EXPECT_EQ (finished().nextButtonWidth, expectedButtonWidth());
    EXPECT_EQ (finished().nextButton->getRight(), 616);

    juce::LocalisedStrings::setCurrentMappings (nullptr);
}

TEST_F (FinishedPage, LayoutAtNormalSize)
{
    show();

    EXPECT_EQ (finished().titleLabel->getBounds(), juce::Rectangle<int> (24, 48, 592, 48));
    EXPECT_EQ (finished().descriptionLabel->getBounds(), juce::Rectangle<int> (24, 108, 592, 192));
    EXPECT_EQ (finished().extraComponent->getBounds(), juce::Rectangle<int> (24, 312, 592, 0));
    EXPECT_EQ (finished().statusLabel->getBounds(), juce::Rectangle<int> (24, 324, 592, 48));
    EXPECT_EQ (finished().nextButton->getY(), 388);
    EXPECT_EQ (text (finished().statusLabel), "");
}
