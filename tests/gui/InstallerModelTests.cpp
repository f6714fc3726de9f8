#include "model/InstallerModel.h"
#include "support/DevServer.h"
#include "support/FakeEditor.h"
#include "support/TemporaryFolder.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace
{
constexpr const char* childMarker = "LARKSPIRE_MODEL_TEST_CHILD";

/** The model is built at most once per process, so every case runs in a process of its own:
    the test binary started again with a filter for just that case. The parent prepares a
    temporary HOME, TMPDIR and applications folder and checks what the child left behind. */
class InstallerModelTest : public testing::Test
{
protected:
    static bool isChild() { return std::getenv (childMarker) != nullptr; }

    static juce::String environment (const char* name)
    {
        return juce::SystemStats::getEnvironmentVariable (name, {});
    }

    /** Runs the current case in a child process with these variables and expects it to pass. */
    void runInChild (const juce::StringArray& variables)
    {
        const auto* info = testing::UnitTest::GetInstance()->current_test_info();
        juce::StringArray command { "env", "-u", "LC_ALL", "-u", "LC_MESSAGES" };
        command.add (juce::String (childMarker) + "=1");
        command.add ("HOME=" + home.getFullPathName());
        command.add ("TMPDIR=" + temp.getFullPathName());
        command.add ("LARKSPIRE_APPLICATIONS_DIR=" + applications.getFullPathName());
        command.add ("LARKSPIRE_UPDATE_SERVER=http://127.0.0.1:" +
                     juce::String (testing_support::DevServer::getClosedPort()));
        command.addArray (variables);
        command.add (
            juce::File::getSpecialLocation (juce::File::currentExecutableFile).getFullPathName());
        command.add (juce::String ("--gtest_filter=") + info->test_suite_name() + "." +
                     info->name());

        juce::ChildProcess child;
        ASSERT_TRUE (child.start (command));
        const auto output = child.readAllProcessOutput();
        ASSERT_TRUE (child.waitForProcessToFinish (60000)) << output;
        EXPECT_EQ (child.getExitCode(), 0u) << output;
        EXPECT_TRUE (output.contains ("[  PASSED  ] 1 test")) << output;
    }

    testing_support::TemporaryFolder tree;
    juce::File home = tree.get().getChildFile ("home");
    juce::File temp = tree.get().getChildFile ("tmp");
    juce::File applications = tree.get().getChildFile ("Applications");
    testing_support::FakeEditor editor { applications };

    void SetUp() override
    {
        if (isChild())
            return;

        home.getChildFile ("Documents").createDirectory();
        temp.createDirectory();
        applications.createDirectory();
    }
};

TEST_F (InstallerModelTest, IsBuiltOnFirstUseOnceAndIsGoneAfterDeletion)
{
    if (! isChild())
    {
        runInChild ({});
        return;
    }

    const auto downloads = juce::File (environment ("HOME"))
                               .getChildFile ("Documents")
                               .getChildFile ("Larkspire Downloads");
    ASSERT_FALSE (downloads.exists());
    ASSERT_EQ (InstallerModel::getInstanceWithoutCreating(), nullptr);

    auto* model = InstallerModel::getInstance();
    ASSERT_NE (model, nullptr);
    EXPECT_EQ (InstallerModel::getInstance(), model);

    EXPECT_EQ (model->productName, "Larkspire");
    EXPECT_EQ (model->downloadFolder, downloads.getFullPathName());
    EXPECT_TRUE (downloads.isDirectory());
    EXPECT_EQ (model->outcomeFlags, 0u);
    EXPECT_TRUE (model->installerPath.isEmpty());
    EXPECT_EQ (model->lastError, nullptr);
    EXPECT_EQ (model->installedProduct, nullptr);
    EXPECT_NE (model->currentLanguage, nullptr);
    EXPECT_FALSE (model->isRunInfoCheckIdle()) << "no editor: the update check starts at once";

    InstallerModel::deleteInstance();
    EXPECT_EQ (InstallerModel::getInstanceWithoutCreating(), nullptr);

    // A second construction would create the folder again.
    ASSERT_TRUE (downloads.deleteRecursively());
    EXPECT_EQ (InstallerModel::getInstance(), nullptr);
    EXPECT_EQ (InstallerModel::getInstance(), nullptr);
    EXPECT_FALSE (downloads.exists());
}

struct LocaleCase
{
    const char* lang;
    int expectedId;
    const char* productName;
    const char* next;
};

class InstallerModelLanguageTest
    : public InstallerModelTest
    , public testing::WithParamInterface<LocaleCase>
{
};

TEST_P (InstallerModelLanguageTest, ChoosesFromTheLocaleAndTranslates)
{
    const auto& c = GetParam();

    if (! isChild())
    {
        runInChild ({ juce::String ("LANG=") + c.lang });
        return;
    }

    auto* model = InstallerModel::getInstance();
    ASSERT_NE (model, nullptr);
    ASSERT_NE (model->currentLanguage, nullptr);
    EXPECT_EQ (model->currentLanguage->id, c.expectedId);
    EXPECT_EQ (juce::translate (juce::String (model->productName)),
               juce::String::fromUTF8 (c.productName));
    EXPECT_EQ (juce::translate ("Next"), juce::String::fromUTF8 (c.next));

    // Choosing the current entry again keeps the installed table.
    const auto* installed = juce::LocalisedStrings::getCurrentMappings();
    model->setLanguage (model->currentLanguage);
    EXPECT_EQ (juce::LocalisedStrings::getCurrentMappings(), installed);

    model->setLanguage (&model->languages[1]);
    EXPECT_EQ (juce::translate (juce::String (model->productName)), "LARKSPIRE");
    EXPECT_EQ (juce::translate ("Next"), juce::String::fromUTF8 ("次へ"));

    model->setLanguage (&model->languages[2]);
    EXPECT_EQ (model->currentLanguage, &model->languages[2]);
    EXPECT_EQ (juce::translate (juce::String (model->productName)), "Larkspire");
    EXPECT_EQ (juce::translate ("Next"), juce::String::fromUTF8 ("下一步"));

    model->setLanguage (&model->languages[0]);
    EXPECT_EQ (juce::LocalisedStrings::getCurrentMappings(), nullptr);
    EXPECT_EQ (juce::translate ("Next"), "Next");
    EXPECT_EQ (juce::translate ("Welcome to {ProductName}"), "Welcome to {ProductName}");

    InstallerModel::deleteInstance();
}

INSTANTIATE_TEST_SUITE_P (Locales, InstallerModelLanguageTest,
                          testing::Values (LocaleCase { "ja_JP.UTF-8", 2, "LARKSPIRE", "次へ" },
                                           LocaleCase { "zh_TW.UTF-8", 3, "Larkspire", "下一步" },
                                           LocaleCase { "fr_FR.UTF-8", 1, "Larkspire", "Next" },
                                           LocaleCase { "C", 1, "Larkspire", "Next" }));

/** Every fill colour of a drawable tree. */
void collectFillColours (juce::Component& drawable, juce::Array<juce::Colour>& colours)
{
    if (auto* shape = dynamic_cast<juce::DrawableShape*> (&drawable))
        if (shape->getFill().isColour())
            colours.addIfNotAlreadyThere (shape->getFill().colour);

    for (auto* child : drawable.getChildren())
        collectFillColours (*child, colours);
}

TEST_F (InstallerModelTest, IconsTakeTheDefaultLookAndFeelsTextColour)
{
    if (! isChild())
    {
        runInChild ({});
        return;
    }

    const juce::Colour textColour (0xff123456);
    auto scheme = juce::LookAndFeel_V4::getLightColourScheme();
    scheme.setUIColour (juce::LookAndFeel_V4::ColourScheme::defaultText, textColour);
    juce::LookAndFeel_V4 theme (scheme);
    juce::Desktop::getInstance().setDefaultLookAndFeel (&theme);

    auto* model = InstallerModel::getInstance();
    ASSERT_NE (model, nullptr);
    ASSERT_NE (model->logo, nullptr);
    ASSERT_NE (model->languageIcon, nullptr);

    // Drawables report the bounds of what they draw, which lies inside the view boxes.
    const auto logoBounds = model->logo->getDrawableBounds();
    EXPECT_TRUE (juce::Rectangle<float> (0, 0, 131, 20).contains (logoBounds));
    EXPECT_GT (logoBounds.getWidth(), 60.0f);
    const auto globeBounds = model->languageIcon->getDrawableBounds();
    EXPECT_TRUE (juce::Rectangle<float> (0, 0, 496, 512).contains (globeBounds));
    EXPECT_GT (globeBounds.getWidth(), 400.0f);

    juce::Array<juce::Colour> globeColours;
    collectFillColours (*model->languageIcon, globeColours);
    EXPECT_TRUE (globeColours.contains (textColour));
    EXPECT_FALSE (globeColours.contains (juce::Colours::black));

    juce::Array<juce::Colour> logoColours;
    collectFillColours (*model->logo, logoColours);
    EXPECT_FALSE (logoColours.contains (textColour));
    EXPECT_GE (logoColours.size(), 2);

    InstallerModel::deleteInstance();
    juce::Desktop::getInstance().setDefaultLookAndFeel (nullptr);
}

TEST_F (InstallerModelTest, EditorThatTakesOverKeepsTheRecordAndStopsTheLoop)
{
    if (! isChild())
    {
        editor.writePlist ("3.0.1", "com.larkspire.editor");
        editor.writeScript (editor.recordingScript (42));
        runInChild ({});
        EXPECT_EQ (editor.getArgumentsFile().loadFileAsString(),
                   "--from-downloader\n--check-update-and-install-product\n");
        return;
    }

    auto* model = InstallerModel::getInstance();
    ASSERT_NE (model, nullptr);
    ASSERT_NE (model->installedProduct, nullptr);
    EXPECT_EQ (model->installedProduct->version, "3.0.1");
    EXPECT_TRUE (model->isRunInfoCheckIdle()) << "no update check after a hand-off";

    // The stop was posted, not run: the loop starts and ends on its own.
    bool timedOut = false;
    juce::Timer::callAfterDelay (10000,
                                 [&timedOut]
                                 {
                                     timedOut = true;
                                     juce::MessageManager::getInstance()->stopDispatchLoop();
                                 });
    juce::MessageManager::getInstance()->runDispatchLoop();
    EXPECT_FALSE (timedOut);
    EXPECT_TRUE (model->isRunInfoCheckIdle());

    InstallerModel::deleteInstance();
}

TEST_F (InstallerModelTest, EditorThatDeclinesLeavesAFreshDownload)
{
    if (! isChild())
    {
        editor.writePlist ("3.0.1");
        editor.writeScript (editor.recordingScript (0));
        runInChild ({});
        EXPECT_TRUE (editor.getArgumentsFile().existsAsFile());
        return;
    }

    auto* model = InstallerModel::getInstance();
    ASSERT_NE (model, nullptr);
    EXPECT_EQ (model->installedProduct, nullptr);
    EXPECT_FALSE (model->isRunInfoCheckIdle());

    InstallerModel::deleteInstance();
}
} // namespace
