#include "ShellTestSupport.h"

#include "app/LarkspireDownloaderApplication.h"
#include "app/MainWindow.h"
#include "pages/LangSelect.h"
#include "support/DevServer.h"
#include "support/PumpUntil.h"
#include "support/TemporaryFolder.h"

#include <cstdlib>

namespace shell_testing
{
namespace
{
/** Starts the application in a private home and shuts it down before JUCE shuts down. */
struct ShellEnvironment final : public ::testing::Environment
{
    void start()
    {
        root = std::make_unique<testing_support::TemporaryFolder>();
        const auto home = root->get().getChildFile ("home");
        const auto applications = root->get().getChildFile ("applications");
        home.getChildFile ("Documents").createDirectory();
        applications.createDirectory();
        const auto set = [] (const char* name, const juce::String& value)
        { ::setenv (name, value.toRawUTF8(), 1); };
        set ("HOME", home.getFullPathName());
        set ("XDG_CONFIG_HOME", home.getChildFile (".config").getFullPathName());
        set ("LARKSPIRE_APPLICATIONS_DIR", applications.getFullPathName());
        set ("LC_ALL", "C");
        set ("LARKSPIRE_UPDATE_SERVER",
             "http://127.0.0.1:" + juce::String (testing_support::DevServer::getClosedPort()));
        application = std::make_unique<larkspiredownloaderApplication>();
        application->initialise ({});
    }

    void TearDown() override
    {
        if (application == nullptr)
            return;
        application->shutdown();
        EXPECT_EQ (MainWindow::getInstanceWithoutCreating(), nullptr);
        EXPECT_EQ (MainComponent::getInstanceWithoutCreating(), nullptr);
        EXPECT_EQ (InstallerModel::getInstanceWithoutCreating(), nullptr);
        testing_support::pumpFor (20); // late callbacks of cancelled runs find nothing to touch
        juce::Desktop::getInstance().setDefaultLookAndFeel (nullptr);
        application.reset();
        root.reset();
    }

    std::unique_ptr<testing_support::TemporaryFolder> root;
    std::unique_ptr<larkspiredownloaderApplication> application;
};

auto* const environment =
    static_cast<ShellEnvironment*> (::testing::AddGlobalTestEnvironment (new ShellEnvironment()));
} // namespace

void ShellWindowTest::SetUp()
{
    if (environment->application == nullptr &&
        InstallerModel::getInstanceWithoutCreating() == nullptr)
    {
        environment->start();
        // The theme comes first: the window took its colours from it.
        auto& theme = juce::Desktop::getInstance().getDefaultLookAndFeel();
        EXPECT_NE (dynamic_cast<FernwaveTheme*> (&theme), nullptr);
        const auto* window = MainWindow::getInstanceWithoutCreating(); // none if the model is gone
        EXPECT_TRUE (window == nullptr ||
                     window->getBackgroundColour() ==
                         theme.findColour (juce::ResizableWindow::backgroundColourId));
    }

    model = InstallerModel::getInstanceWithoutCreating();
    if (model == nullptr || environment->root == nullptr)
        GTEST_SKIP() << "the model of this process was deleted, or built, by another test";

    MainWindow::deleteInstance();
    MainComponent::deleteInstance();
    model->updateTask.cancel();
    // Late callbacks of the last test's runs and the window's posted calls find nothing to touch.
    testing_support::pumpFor (20);

    downloadFolder = environment->root->get().getNonexistentChildFile ("downloads", {}, false);
    downloadFolder.createDirectory();
    model->updateTask.finished = false;
    model->updateTask.error = nullptr;
    model->updateInfo = nullptr;
    model->installerPath = {};
    model->outcomeFlags = 0;
    model->lastError = nullptr;
    model->setLanguage (&model->languages.front());
    model->downloadFolder = downloadFolder.getFullPathName();
    ASSERT_NE (MainWindow::getInstance(), nullptr);
}

void ShellWindowTest::pressNext()
{
    mainComponent().getCurrentPage()->nextButton->triggerClick();
    testing_support::pumpFor (10); // triggerClick posts the click
}

void ShellWindowTest::chooseLanguage (int id)
{
    welcome().getLangSelect().getLanguageBox().setSelectedId (id, juce::sendNotificationSync);
}

} // namespace shell_testing
