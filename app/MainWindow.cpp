#include "app/MainWindow.h"

#include "app/MainComponent.h"

JUCE_IMPLEMENT_SINGLETON (MainWindow)

namespace
{
juce::String applicationName()
{
    // Test processes build the window without running this application.
    if (auto* application = juce::JUCEApplicationBase::getInstance())
        return application->getApplicationName();

    return "larkspire-downloader";
}
} // namespace

MainWindow::MainWindow()
    : juce::DocumentWindow (applicationName(),
                            juce::Desktop::getInstance().getDefaultLookAndFeel().findColour (
                                juce::ResizableWindow::backgroundColourId),
                            juce::DocumentWindow::allButtons, true)
    , aliveToken (std::make_shared<std::monostate>())
{
    setUsingNativeTitleBar (true);
    setContentNonOwned (MainComponent::getInstance(), true);
    setResizable (true, true);
    centreWithSize (getWidth(), getHeight());
    setVisible (true);
    requestToFront();
}

MainWindow::~MainWindow()
{
    aliveToken.reset();
    clearContentComponent();
    clearSingletonInstance();
}

void MainWindow::closeButtonPressed()
{
    if (auto* application = juce::JUCEApplicationBase::getInstance())
        application->systemRequestedQuit();
}

void MainWindow::requestToFront()
{
    std::weak_ptr<std::monostate> weakToken = aliveToken;
    auto* window = this;

    juce::MessageManager::callAsync (
        [window, weakToken]
        {
            if (weakToken.lock() != nullptr)
                window->toFront (true);
        });
}
