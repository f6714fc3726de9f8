#include "pages/Downloading.h"

#include "app/MainComponent.h"
#include "model/InstallerModel.h"
#include "net/DownloadInstaller.h"
#include "net/InstallerFileName.h"
#include "pages/FormatByteSize.h"
#include "tasks/AsyncCall.h"

#include <fmt/format.h>

#include <variant>

Downloading::Downloading()
{
    auto progressBar = std::make_unique<juce::ProgressBar> (progress);
    progressBar->setSize (1, 32);
    extraComponent = std::move (progressBar);

    backButton.reset();

    setButtonText (*nextButton, juce::translate ("Cancel"));
    nextButton->onClick = [this] { cancelPressed(); };
}

Downloading::~Downloading()
{
    // Quitting mid-download: the cancel cuts a blocked read short, and the worker removes its
    // partial file while the model waits for the background threads at shutdown.
    downloadTask.cancel();
}

void Downloading::setVisible (bool shouldBeVisible)
{
    juce::Component::setVisible (shouldBeVisible);

    if (shouldBeVisible)
    {
        cancelGuard.buttonAppeared();
        startTimer (100);
        requestUpdateUI();
        return;
    }

    downloadTask.cancel();
    // Nothing refreshes a hidden page, so its timer has no more work.
    stopTimer();

    // A download cut short by hiding the page is over; showing the page again starts afresh.
    if (state == downloading)
        state = notStarted;
}

void Downloading::timerCallback()
{
    requestUpdateUI();
}

void Downloading::cancelPressed()
{
    if ((state != notStarted && state != downloading) || cancelGuard.continuesEarlierRun())
        return;

    auto* model = InstallerModel::getInstance();
    model->outcomeFlags |= InstallerModel::userCancelled;
    downloadTask.cancel();

    // Back to Welcome with folder and language kept; hiding this page resets it.
    if (auto* mainComponent = MainComponent::getInstance())
        mainComponent->showPreviousPage();
}

void Downloading::updateUI()
{
    if (! isVisible())
        return;

    InstallerPage::updateUI();

    if (state == downloading)
    {
        showDownloadFigures();
    }
    else
    {
        if (state == done)
            MainComponent::getInstance()->showNextPage();
        else
            startDownload();

        // No texts before the first figures, nor once the wizard has moved on.
        for (auto* label : { titleLabel.get(), descriptionLabel.get(), statusLabel.get() })
            label->setText ({}, juce::dontSendNotification);
    }

    setButtonText (*nextButton, juce::translate ("Cancel"));
}

void Downloading::showDownloadFigures()
{
    auto* model = InstallerModel::getInstance();
    const auto productName = juce::translate (juce::String (model->productName));

    titleLabel->setText (juce::translate ("Downloading"), juce::dontSendNotification);
    descriptionLabel->setText (
        juce::translate ("Downloading {AnyProductName} installer to your computer...")
            .replace ("{AnyProductName}", productName),
        juce::dontSendNotification);

    speedWindow.push_back (bytesDownloaded);

    if (speedWindow.back() < speedWindow.front())
        speedWindow.clear();

    const auto line =
        retrying ? juce::translate ("Retrying ({Count}/{Max})...")
                       .replace ("{Count}", juce::String (retryCount))
                       .replace ("{Max}", juce::String (retryAttempts))
                 : juce::String (sizeLine (bytesDownloaded, totalBytes, speedOf (speedWindow)));

    statusLabel->setText (line, juce::dontSendNotification);
    progress = progressFor (bytesDownloaded, totalBytes);
}

double Downloading::speedOf (const boost::circular_buffer<double>& window)
{
    if (! window.full() || window.empty())
        return 0.0;

    return (window.back() - window.front()) / (static_cast<double> (window.capacity()) / 10.0);
}

std::string Downloading::sizeLine (double bytes, double total, double speed)
{
    // No announced total: the bytes so far alone, never a negative size.
    auto line = total < 0.0
                    ? formatByteSize (bytes)
                    : fmt::format ("{} / {}", formatByteSize (bytes), formatByteSize (total));

    if (speed > 0.0)
        line += fmt::format (" ({}/s)", formatByteSize (speed));

    return line;
}

double Downloading::progressFor (double bytes, double total)
{
    if (total < 0.0)
        return -1.0;

    if (total == 0.0)
        return 0.0;

    // A body longer than announced is still copied; the bar just stays full.
    return juce::jlimit (0.0, 1.0, bytes / total);
}

void Downloading::startDownload()
{
    auto* model = InstallerModel::getInstance();

    bytesDownloaded = 0.0;
    totalBytes = 1e-5;
    progress = 0.0;
    retryCount = 0;
    retrying = false;
    speedWindow.clear();

    const std::string link =
        model->updateInfo != nullptr ? model->updateInfo->downloadLink : std::string();
    const auto name = installerFileNameFromLink (juce::String (link));

    // An unsafe name is still handed over as text: the worker refuses it before it writes
    // anything, and the refusal reaches the Finished page like any other failure.
    const auto destination =
        isSafeInstallerFileName (name)
            ? juce::File (model->downloadFolder).getChildFile (name).getFullPathName()
            : model->downloadFolder + "/" + name;

    auto resource = std::make_shared<TaskResource>();
    resource->page = this;
    resource->slot = &downloadTask;
    resource->generationCounter = downloadTask.generation;
    resource->generation = *downloadTask.generation;
    resource->markFinishedOnError = false;

    const auto destinationPath = destination.toStdString();

    const auto totalSize = model->updateInfo != nullptr ? model->updateInfo->totalSize : 0;
    std::function<std::monostate (const AsyncControlBlock&, ProgressFunction)> task =
        [destinationPath, link, totalSize] (const AsyncControlBlock& control,
                                            ProgressFunction report)
    { return downloadInstaller (destinationPath, link, totalSize, control, std::move (report)); };

    std::function<void (std::monostate)> onResult = [resource, destination] (std::monostate)
    {
        if (TaskSlot::isCurrent (resource->generationCounter, resource->generation))
            resource->page->downloadSucceeded (destination);
    };

    ProgressFunction onProgress = [resource] (double amount, double total, std::string text)
    {
        if (TaskSlot::isCurrent (resource->generationCounter, resource->generation))
            resource->page->progressReported (amount, total, text);
    };

    std::function<void (std::exception_ptr)> onError = [resource] (std::exception_ptr error)
    {
        if (! TaskSlot::isCurrent (resource->generationCounter, resource->generation))
            return;

        resource->page->downloadFailed (error);

        if (resource->markFinishedOnError)
            resource->slot->finished = true;
    };

    downloadTask.cancelTask = asyncCallDyn<std::monostate> (
        std::move (task), std::move (onResult), std::move (onProgress), std::move (onError));
    downloadTask.error = nullptr;
    downloadTask.finished = false;

    state = downloading;
    requestUpdateUI();
}

void Downloading::progressReported (double amount, double total, const std::string& text)
{
    if (text == "retry")
    {
        ++retryCount;
        retrying = true;
        retryAttempts = static_cast<int> (total);
        return;
    }

    bytesDownloaded = amount;
    totalBytes = total;
    retrying = false;
}

void Downloading::downloadSucceeded (const juce::String& destinationPath)
{
    auto* model = InstallerModel::getInstance();
    model->installerPath = destinationPath;
    model->outcomeFlags |= InstallerModel::downloadSucceeded;
    state = done;
    requestUpdateUI();
    downloadTask.cancelTask = nullptr;
    downloadTask.finished = true;
}

void Downloading::downloadFailed (std::exception_ptr error)
{
    InstallerModel::getInstance()->lastError = error;
    state = done;
    requestUpdateUI();
    downloadTask.cancelTask = nullptr;
    downloadTask.error = error;
}
