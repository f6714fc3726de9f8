#include "ShellTestSupport.h"

#include "app/MainComponent.h"
#include "app/MainWindow.h"
#include "look/FernwaveTheme.h"
#include "pages/Downloading.h"
#include "pages/Finished.h"
#include "pages/Welcome.h"
#include "support/DevServer.h"
#include "support/PumpUntil.h"

#include <cstdlib>
#include <memory>
#include <unistd.h>

namespace shell_testing
{
namespace
{
bool privateRootMade = false;

juce::File privateRoot()
{
    static const juce::File root = []
    {
        privateRootMade = true;
        // Test processes run side by side and each deletes its own tree at the end, so the
        // name must be unique per process, not just free at the moment of the check.
        auto folder = juce::File::getSpecialLocation (juce::File::tempDirectory)
                          .getChildFile ("larkspire-shell-tests-" +
                                         juce::String (static_cast<int> (::getpid())) + "-" +
                                         juce::String::toHexString (juce::Random().nextInt64()));
        folder.createDirectory();
        return folder;
    }();
    return root;
}

/** Owns what this file set up for the process and takes it down before JUCE shuts down. */
class ShellEnvironment final : public ::testing::Environment
{
public:
    void TearDown() override
    {
        MainWindow::deleteInstance();
        MainComponent::deleteInstance();

        if (builtModel)
            InstallerModel::deleteInstance();

        if (theme != nullptr)
        {
            juce::Desktop::getInstance().setDefaultLookAndFeel (nullptr);
            theme.reset();
        }

        if (privateRootMade)
            privateRoot().deleteRecursively();
    }

    std::unique_ptr<FernwaveTheme> theme;
    bool builtModel = false;
};

ShellEnvironment* const environment =
    static_cast<ShellEnvironment*> (::testing::AddGlobalTestEnvironment (new ShellEnvironment()));
} // namespace

void preparePrivateEnvironment()
{
    const auto home = privateRoot().getChildFile ("home");
    home.getChildFile ("Documents").createDirectory();
    const auto applications = privateRoot().getChildFile ("applications");
    applications.createDirectory();

    ::setenv ("HOME", home.getFullPathName().toRawUTF8(), 1);
    ::setenv ("XDG_CONFIG_HOME", home.getChildFile (".config").getFullPathName().toRawUTF8(), 1);
    ::setenv ("LARKSPIRE_APPLICATIONS_DIR", applications.getFullPathName().toRawUTF8(), 1);
    const auto closed =
        "http://127.0.0.1:" + std::to_string (testing_support::DevServer::getClosedPort());
    ::setenv ("LARKSPIRE_UPDATE_SERVER", closed.c_str(), 1);
    ::setenv ("LC_ALL", "C", 1);
}

InstallerModel* sharedModel()
{
    static bool prepared = false;

    if (! prepared && InstallerModel::getInstanceWithoutCreating() == nullptr)
    {
        prepared = true;
        preparePrivateEnvironment();

        environment->theme = std::make_unique<FernwaveTheme>();
        juce::Desktop::getInstance().setDefaultLookAndFeel (environment->theme.get());

        environment->builtModel = InstallerModel::getInstance() != nullptr;
    }

    return InstallerModel::getInstanceWithoutCreating();
}

void resetModel (InstallerModel& model, const juce::String& folder)
{
    model.updateTask.cancel();
    model.updateTask.finished = false;
    model.updateTask.error = nullptr;
    model.updateInfo = nullptr;
    model.installerPath = {};
    model.outcomeFlags = 0;
    model.lastError = nullptr;
    model.setLanguage (&model.languages.front());
    model.downloadFolder = folder;
}

juce::File makeEmptyFolder (const juce::String& name)
{
    auto folder = privateRoot().getNonexistentChildFile (name, {}, false);
    folder.createDirectory();
    return folder;
}

bool runUpdateCheck (InstallerModel& model, const juce::String& serverBaseUrl)
{
    ::setenv ("LARKSPIRE_UPDATE_SERVER", serverBaseUrl.toRawUTF8(), 1);
    model.requestRunInfoCheck();
    testing_support::pumpUntil ([&model] { return ! model.updateTask.isRunning(); }, 20000);
    return model.isRunInfoCheckFinished();
}

std::string text (const juce::Label& label)
{
    return label.getText().toStdString();
}

std::string text (const std::unique_ptr<juce::Label>& label)
{
    return label != nullptr ? text (*label) : std::string ("<no label>");
}

void ShellWindowTest::SetUp()
{
    model = sharedModel();

    if (model == nullptr)
        GTEST_SKIP() << "the model of this process was deleted by an earlier test";

    downloadFolder = makeEmptyFolder ("downloads");
    resetModel (*model, downloadFolder.getFullPathName());

    ASSERT_NE (MainWindow::getInstance(), nullptr);
}

void ShellWindowTest::TearDown()
{
    MainWindow::deleteInstance();
    MainComponent::deleteInstance();

    if (model != nullptr)
        model->updateTask.cancel();

    // Late callbacks of cancelled runs must find nothing to touch.
    testing_support::pumpFor (20);
}

MainComponent& ShellWindowTest::mainComponent()
{
    return *MainComponent::getInstance();
}

Welcome& ShellWindowTest::welcome()
{
    return dynamic_cast<Welcome&> (*mainComponent().getPages()[0]);
}

Downloading& ShellWindowTest::downloading()
{
    return dynamic_cast<Downloading&> (*mainComponent().getPages()[1]);
}

Finished& ShellWindowTest::finished()
{
    return dynamic_cast<Finished&> (*mainComponent().getPages()[2]);
}

size_t ShellWindowTest::currentPage()
{
    return mainComponent().getCurrentPageIndex();
}

void ShellWindowTest::pressNext()
{
    mainComponent().getCurrentPage()->nextButton->triggerClick();
    // triggerClick posts the click; run it.
    testing_support::pumpFor (10);
}
} // namespace shell_testing
