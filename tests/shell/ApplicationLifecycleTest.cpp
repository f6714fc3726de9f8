// In a binary of its own: shutdown deletes the model, which is built at most once per process.
#include "gui/ShellTestSupport.h"

#include "app/LarkspireDownloaderApplication.h"
#include "app/MainWindow.h"
#include "look/FernwaveTheme.h"
#include "support/PumpUntil.h"

#include <gtest/gtest.h>

TEST (ApplicationLifecycle, StartsInOrderAndShutsDownEverything)
{
    shell_testing::preparePrivateEnvironment();
    auto application = std::make_unique<larkspiredownloaderApplication>();
    application->initialise ("--anything at all");

    // The theme was installed before the window, which took its background colour from it.
    auto& theme = juce::Desktop::getInstance().getDefaultLookAndFeel();
    ASSERT_NE (dynamic_cast<FernwaveTheme*> (&theme), nullptr);
    auto* window = MainWindow::getInstanceWithoutCreating();
    ASSERT_NE (window, nullptr);
    EXPECT_TRUE (window->isVisible());
    EXPECT_EQ (window->getBackgroundColour(),
               theme.findColour (juce::ResizableWindow::backgroundColourId));
    EXPECT_TRUE (InstallerModel::getInstance()->updateTask.isRunning());
    testing_support::pumpFor (50); // the window's posted raise call

    application->shutdown();
    EXPECT_EQ (MainWindow::getInstanceWithoutCreating(), nullptr);
    EXPECT_EQ (MainComponent::getInstanceWithoutCreating(), nullptr);
    EXPECT_EQ (InstallerModel::getInstanceWithoutCreating(), nullptr);
    testing_support::pumpFor (50); // late callbacks of the cancelled check find nothing to touch

    juce::Desktop::getInstance().setDefaultLookAndFeel (nullptr);
}
