#include "pages/Welcome.h"

#include "model/InstallerModel.h"
#include "pages/DescribeError.h"
#include "pages/LangSelect.h"
#include "pages/PathEditor.h"

#include <unistd.h>

Welcome::Welcome()
{
    backButton.reset();

    auto pathEditor = std::make_unique<PathEditor>();
    auto* model = InstallerModel::getInstance();
    pathEditor->setPath (juce::File (model->downloadFolder));
    pathEditor->setSize (1, 32);
    pathEditor->onPathChanged = [this] (juce::File file)
    {
        InstallerModel::getInstance()->downloadFolder = file.getFullPathName();
        requestUpdateUI();
    };
    pathEditor->onPathChanged (pathEditor->getCurrentPath());
    extraComponent = std::move (pathEditor);

    auto langSelect = std::make_unique<LangSelect>();
    langSelect->setSize (1, 51);
    footerComponent = std::move (langSelect);

    nextButton->onClick = [this, next = nextButton->onClick]
    {
        if (! nextGuard.continuesEarlierRun())
            next();
    };
}

Welcome::~Welcome() = default;

PathEditor& Welcome::getPathEditor() const
{
    return *dynamic_cast<PathEditor*> (extraComponent.get());
}

LangSelect& Welcome::getLangSelect() const
{
    return *dynamic_cast<LangSelect*> (footerComponent.get());
}

bool Welcome::canGoNext()
{
    auto* model = InstallerModel::getInstance();

    if (model->downloadFolder.isEmpty())
        return false;

    if (! model->isRunInfoCheckFinished())
    {
        // Restarts a failed check; does nothing while one runs. The status line follows the
        // check from here on, polled because the model sends no notifications.
        model->requestRunInfoCheck();
        waitingForCheck = true;

        if (! isTimerRunning())
            startTimer (100);

        requestUpdateUI();
        return false;
    }

    waitingForCheck = false;
    stopTimer();
    return true;
}

void Welcome::requestUpdateUI()
{
    postCoalescedUpdate (updateRequestCounter, lastHandledRequest, [this] { updateUI(); });
}

void Welcome::visibilityChanged()
{
    // Shown again after a Cancel, whose button stood where Next now is.
    if (isVisible())
        nextGuard.buttonAppeared();
}

void Welcome::timerCallback()
{
    requestUpdateUI();
}

void Welcome::updateUI()
{
    InstallerPage::updateUI();

    auto* model = InstallerModel::getInstance();
    const auto name = juce::translate (juce::String (model->productName));

    const auto title =
        juce::translate ("Welcome to {ProductName}").replace ("{ProductName}", name) + "\n";
    const auto description =
        juce::translate ("This will download and install {ProductName} to your computer")
            .replace ("{ProductName}", name) +
        "\n";

    if (waitingForCheck && model->isRunInfoCheckFinished())
    {
        waitingForCheck = false;
        stopTimer();
    }

    auto status = folderStatus();

    if (waitingForCheck && model->downloadFolder.isNotEmpty())
        status = checkStatus (name);

    titleLabel->setText (title, juce::dontSendNotification);
    descriptionLabel->setText (description, juce::dontSendNotification);
    statusLabel->setText (status, juce::dontSendNotification);

    if (auto* langSelect = dynamic_cast<LangSelect*> (footerComponent.get()))
        langSelect->setLabelText (juce::translate ("Language"));
}

juce::String Welcome::folderStatus() const
{
    const auto& folder = InstallerModel::getInstance()->downloadFolder;

    if (folder.isEmpty())
        return juce::translate ("Please select a location to save downloaded files");

    if (! juce::File (folder).hasWriteAccess())
        return juce::translate ("This folder seems not to be writable") + "\n" +
               juce::translate ("Please choose another folder.");

    if (access (folder.toRawUTF8(), F_OK) == 0)
        return {};

    return juce::translate ("A folder will be created if it does not exist");
}

juce::String Welcome::checkStatus (const juce::String& productName) const
{
    const auto& task = InstallerModel::getInstance()->updateTask;

    if (task.isRunning() || task.error == nullptr)
        return juce::translate ("Checking the latest version of {ProductName}...")
            .replace ("{ProductName}", productName);

    // Two lines: the status label has room for no more. The first is one text, so each
    // language joins its two sentences in its own way.
    return juce::translate (
               "Could not check the latest version of {ProductName}. Press Next to try again.")
               .replace ("{ProductName}", productName) +
           "\n" +
           juce::translate ("Error details: {ErrorMessage}")
               .replace ("{ErrorMessage}", describeError (task.error)) +
           "\n";
}
