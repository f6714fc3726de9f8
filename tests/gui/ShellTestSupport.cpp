#include "ShellTestSupport.h"

#include "app/MainWindow.h"
#include "look/FernwaveTheme.h"
#include "pages/LangSelect.h"
#include "support/DevServer.h"
#include "support/PumpUntil.h"
#include "support/TemporaryFolder.h"

#include <cstdlib>

namespace shell_testing
{
namespace
{
/** Owns what this file sets up for the process and takes it down before JUCE shuts down. */
struct ShellEnvironment final : public ::testing::Environment
{
    void TearDown() override
    {
        MainWindow::deleteInstance();
        MainComponent::deleteInstance();
        InstallerModel::deleteInstance();
        juce::Desktop::getInstance().setDefaultLookAndFeel (nullptr);
        theme.reset();
        root.reset();
    }

    juce::File privateRoot()
    {
        if (root == nullptr)
            root = std::make_unique<testing_support::TemporaryFolder>();
        return root->get();
    }

    std::unique_ptr<testing_support::TemporaryFolder> root;
    std::unique_ptr<FernwaveTheme> theme;
};

auto* const environment =
    static_cast<ShellEnvironment*> (::testing::AddGlobalTestEnvironment (new ShellEnvironment()));
} // namespace

void preparePrivateEnvironment()
{
    const auto home = environment->privateRoot().getChildFile ("home");
    const auto applications = environment->privateRoot().getChildFile ("applications");
    home.getChildFile ("Documents").createDirectory();
    applications.createDirectory();
    ::setenv ("HOME", home.getFullPathName().toRawUTF8(), 1);
    ::setenv ("XDG_CONFIG_HOME", home.getChildFile (".config").getFullPathName().toRawUTF8(), 1);
    ::setenv ("LARKSPIRE_APPLICATIONS_DIR", applications.getFullPathName().toRawUTF8(), 1);
    ::setenv ("LC_ALL", "C", 1);
    useServer ("http://127.0.0.1:" + juce::String (testing_support::DevServer::getClosedPort()));
}

juce::File makeEmptyFolder (const juce::String& name)
{
    auto folder = environment->privateRoot().getNonexistentChildFile (name, {}, false);
    folder.createDirectory();
    return folder;
}

void useServer (const juce::String& baseUrl)
{
    ::setenv ("LARKSPIRE_UPDATE_SERVER", baseUrl.toRawUTF8(), 1);
}

void ShellWindowTest::SetUp()
{
    if (environment->theme == nullptr && InstallerModel::getInstanceWithoutCreating() == nullptr)
    {
        preparePrivateEnvironment();
        // The model recolours its icons with the default look-and-feel's text colour.
        environment->theme = std::make_unique<FernwaveTheme>();
        juce::Desktop::getInstance().setDefaultLookAndFeel (environment->theme.get());
    }

    model = InstallerModel::getInstance();
    if (model == nullptr)
        GTEST_SKIP() << "the model of this process was deleted by an earlier test";

    downloadFolder = makeEmptyFolder ("downloads");
    model->updateTask.cancel();
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

void ShellWindowTest::TearDown()
{
    MainWindow::deleteInstance();
    MainComponent::deleteInstance();
    if (model != nullptr)
        model->updateTask.cancel();
    // Late callbacks of cancelled runs and the window's posted calls must find nothing to touch.
    testing_support::pumpFor (20);
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

bool ShellWindowTest::runUpdateCheck (const juce::String& baseUrl)
{
    useServer (baseUrl);
    model->requestRunInfoCheck();
    testing_support::pumpUntil ([this] { return ! model->updateTask.isRunning(); }, 20000);
    return model->isRunInfoCheckFinished();
}
} // namespace shell_testing
