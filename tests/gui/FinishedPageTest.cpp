#include "ShellTestSupport.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <tuple>

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

TEST_F (FinishedPage, TextsLineByLine)
{
    // A path that looks like a placeholder is shown as it is.
    const auto path = downloadFolder.getChildFile ("Setup {ProductName}.bin").getFullPathName();
    const std::string failed = "Failed to download Larkspire\nOther error\n"
                               "Please report this incident to customer support.\n";
    const std::string openFolder = "\nPress Open Folder to open the installer file location.\n";
    const std::tuple<bool, std::exception_ptr, std::string, std::string> rows[] {
        { true, nullptr, "Downloading Success",
          "Larkspire installer is successfully downloaded to your computer.\nPlease run the "
          "installer manually.\n\nLarkspire installer has been downloaded to: " +
              path.toStdString() + "\n" + openFolder },
        { false, nullptr, "Installation Failed", failed + openFolder },
        { false, std::make_exception_ptr (std::runtime_error ("HTTP error code 503")),
          "Installation Failed", failed + "\nError details: HTTP error code 503\n" + openFolder },
        { false, std::make_exception_ptr (42), "Installation Failed",
          failed + "\nError details: Unknown error\n" + openFolder },
    };
    for (const auto& [succeeded, error, title, description] : rows)
    {
        model->outcomeFlags = succeeded ? InstallerModel::downloadSucceeded : 0u;
        model->installerPath = succeeded ? path : juce::String();
        model->lastError = error;
        show();
        EXPECT_EQ (text (finished().titleLabel), title);
        EXPECT_EQ (text (finished().descriptionLabel), description);
        EXPECT_TRUE (finished().nextButton->isVisible());
        EXPECT_FALSE (finished().backButton->isVisible()); // no way back
    }

    model->setLanguage (&model->languages[1]); // the unknown error's words are translated too
    show();
    const auto unknown = juce::translate ("Unknown error");
    EXPECT_NE (unknown, "Unknown error") << "no Japanese text";
    EXPECT_TRUE (finished().descriptionLabel->getText().contains (
        juce::translate ("Error details: {ErrorMessage}").replace ("{ErrorMessage}", unknown)));
}

TEST_F (FinishedPage, OpenFolderGrowsLeftwardsWithItsText)
{
    auto& button = *finished().nextButton;
    const std::pair<const char*, bool> rows[] { { "Open Folder", false },
                                                { "Go", true },
                                                { "Open the folder with the installer in it",
                                                  false } };
    for (const auto& [translation, isShort] : rows)
    {
        juce::LocalisedStrings::setCurrentMappings (new juce::LocalisedStrings (
            "\"Open Folder\" = \"" + juce::String (translation) + "\"", false));
        show();
        const auto textWidth = juce::LookAndFeel::getDefaultLookAndFeel()
                                   .getTextButtonFont (button, 32)
                                   .getStringWidthFloat (translation);
        EXPECT_EQ (button.getButtonText(), translation);
        EXPECT_GE (button.getWidth(), std::max (72.0f, textWidth)); // the minimum, and its text
        EXPECT_EQ (button.getWidth() == 72, isShort);
        EXPECT_EQ (button.getRight(), 616);
        EXPECT_EQ (button.getY(), 388);
    }
    juce::LocalisedStrings::setCurrentMappings (nullptr);
}
