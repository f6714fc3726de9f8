#include "app/LarkspireDownloaderApplication.h"

#include "app/MainComponent.h"
#include "app/MainWindow.h"
#include "app/StartUp.h"
#include "model/InstallerModel.h"

larkspiredownloaderApplication::larkspiredownloaderApplication() = default;
larkspiredownloaderApplication::~larkspiredownloaderApplication() = default;

const juce::String larkspiredownloaderApplication::getApplicationName()
{
    return "larkspire-downloader";
}

const juce::String larkspiredownloaderApplication::getApplicationVersion()
{
    return "1.0.0";
}

bool larkspiredownloaderApplication::moreThanOneInstanceAllowed()
{
    return true;
}

void larkspiredownloaderApplication::initialise (const juce::String&)
{
    // The window takes its colours and fonts from the default look-and-feel that this sets.
    auto* model = startUp (theme);

    // An installed editor that took over has posted the loop's stop request: no window.
    if (model != nullptr && model->installedProduct == nullptr)
        MainWindow::getInstance();
}

void larkspiredownloaderApplication::shutdown()
{
    // Window first (it only detaches its content), then the pages, then the model they use; the
    // model goes last because it waits for the background threads to end.
    MainWindow::deleteInstance();
    MainComponent::deleteInstance();
    InstallerModel::deleteInstance();
}

void larkspiredownloaderApplication::anotherInstanceStarted (const juce::String&) {}

void larkspiredownloaderApplication::systemRequestedQuit()
{
    juce::JUCEApplication::quit();
}

void larkspiredownloaderApplication::memoryWarningReceived() {}

bool larkspiredownloaderApplication::backButtonPressed()
{
    return false;
}
