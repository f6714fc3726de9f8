#include "pages/Finished.h"

#include "model/InstallerModel.h"
#include "pages/DescribeError.h"
#include "pages/RevealInFileManager.h"

#include <cmath>

Finished::Finished()
{
    openFolderAction = [this]
    {
        if (openFolderGuard.continuesRun())
            return;

        const auto& path = InstallerModel::getInstance()->installerPath;

        // Nothing to reveal after a failed download.
        if (path.isNotEmpty())
            revealInFileManager (juce::File (path));
    };

    descriptionLabel->setSize (1, 192);
}

Finished::~Finished() = default;

void Finished::updateUI()
{
    InstallerPage::updateUI();

    auto* model = InstallerModel::getInstance();

    nextButton->setVisible (true);
    setButtonText (*nextButton, juce::translate ("Open Folder"));
    nextButton->onClick = openFolderAction;

    const auto font = juce::LookAndFeel::getDefaultLookAndFeel().getTextButtonFont (
        *nextButton, nextButton->getHeight());
    const auto textWidth =
        static_cast<int> (std::ceil (font.getStringWidthFloat (nextButton->getButtonText())));
    nextButtonWidth = std::max (56, textWidth) + 16;

    if (backButton != nullptr)
        backButton->setVisible (false);

    const auto name = juce::translate (juce::String (model->productName));
    const bool succeeded = (model->outcomeFlags & InstallerModel::downloadSucceeded) != 0;
    juce::String message;
    juce::String title;

    const auto addLine = [&message] (const juce::String& line) { message << line << "\n"; };

    if (succeeded)
    {
        addLine (juce::translate ("{ProductName} installer is successfully downloaded to your "
                                  "computer.")
                     .replace ("{ProductName}", name));
        addLine (juce::translate ("Please run the installer manually."));
        title = juce::translate ("Downloading Success");
    }
    else
    {
        addLine (
            juce::translate ("Failed to download {ProductName}").replace ("{ProductName}", name));
        addLine (juce::translate ("Other error"));
        addLine (juce::translate ("Please report this incident to customer support."));

        if (model->lastError != nullptr)
        {
            addLine ({});
            addLine (juce::translate ("Error details: {ErrorMessage}")
                         .replace ("{ErrorMessage}", describeError (model->lastError)));
        }

        title = juce::translate ("Installation Failed");
    }

    addLine ({});

    if (succeeded)
    {
        addLine (juce::translate ("{ProductName} installer has been downloaded to: {Path}")
                     .replace ("{ProductName}", name)
                     .replace ("{Path}", model->installerPath));
        addLine ({});
    }

    addLine (juce::translate ("Press Open Folder to open the installer file location."));

    descriptionLabel->setText (message, juce::dontSendNotification);
    titleLabel->setText (title, juce::dontSendNotification);

    resized();
}
