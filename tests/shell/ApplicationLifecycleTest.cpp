// Start-up and shutdown of the application object, in a test binary of its own: shutdown
// deletes the model, which can be built only once per process.
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
    EXPECT_EQ (InstallerModel::getInstanceWithoutCreating(), nullptr);

    application->initialise ("--anything at all");

    // The theme became the default look-and-feel before the window was built, which took its
    // background colour from it.
    auto* theme =
        dynamic_cast<FernwaveTheme*> (&juce::Desktop::getInstance().getDefaultLookAndFeel());
    ASSERT_NE (theme, nullptr);
    auto* model = InstallerModel::getInstanceWithoutCreating();
    ASSERT_NE (model, nullptr);
    EXPECT_EQ (model->installedProduct, nullptr);

    auto* window = MainWindow::getInstanceWithoutCreating();
    ASSERT_NE (window, nullptr);
    EXPECT_TRUE (window->isVisible());
    EXPECT_EQ (window->getBackgroundColour(),
               theme->findColour (juce::ResizableWindow::backgroundColourId));
    EXPECT_EQ (window->getContentComponent(), MainComponent::getInstanceWithoutCreating());
    EXPECT_TRUE (model->updateTask.isRunning()); // the model started the update check

    // The window's posted raise call runs once the loop does.
    testing_support::pumpFor (50);

    application->shutdown();
    EXPECT_EQ (MainWindow::getInstanceWithoutCreating(), nullptr);
    EXPECT_EQ (MainComponent::getInstanceWithoutCreating(), nullptr);
    EXPECT_EQ (InstallerModel::getInstanceWithoutCreating(), nullptr);
    // Built at most once per run: a later request gets nothing.
    EXPECT_EQ (InstallerModel::getInstance(), nullptr);

    // Late callbacks of the cancelled update check find nothing to touch.
    testing_support::pumpFor (50);

    juce::Desktop::getInstance().setDefaultLookAndFeel (nullptr);
    application.reset();
}
