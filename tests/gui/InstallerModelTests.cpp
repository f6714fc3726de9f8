#include "model/InstallerModel.h"
#include "support/DevServer.h"
#include "support/TemporaryFolder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ostream>
#include <tuple>

namespace
{
constexpr const char* childMarker = "LARKSPIRE_MODEL_TEST_CHILD";

/** The model is built at most once per process, so every case runs in a process of its own:
    the test binary started again with a filter for just that case, with a temporary HOME, TMPDIR
    and (empty) applications folder. */
class InstallerModelTest : public testing::Test
{
protected:
    static bool isChild() { return std::getenv (childMarker) != nullptr; }

    /** Runs the current case in a child process with these extra variables. */
    void runInChild (const juce::String& variable = {})
    {
        ASSERT_TRUE (tree.get().getChildFile ("home/Documents").createDirectory());
        ASSERT_TRUE (tree.get().getChildFile ("tmp").createDirectory());
        const auto* info = testing::UnitTest::GetInstance()->current_test_info();
        juce::StringArray command { "env", "-u",          "LC_ALL",
                                    "-u",  "LC_MESSAGES", juce::String (childMarker) + "=1" };
        command.add ("HOME=" + tree.get().getChildFile ("home").getFullPathName());
        command.add ("TMPDIR=" + tree.get().getChildFile ("tmp").getFullPathName());
        command.add ("LARKSPIRE_APPLICATIONS_DIR=" + tree.get().getFullPathName());
        command.add ("LARKSPIRE_UPDATE_SERVER=http://127.0.0.1:" +
                     juce::String (testing_support::DevServer::getClosedPort()));
        if (variable.isNotEmpty())
            command.add (variable);
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
};

/** Every fill colour of a drawable tree. */
void collectFillColours (juce::Component& drawable, juce::Array<juce::Colour>& colours)
{
    if (auto* shape = dynamic_cast<juce::DrawableShape*> (&drawable))
        if (shape->getFill().isColour())
            colours.addIfNotAlreadyThere (shape->getFill().colour);

    for (auto* child : drawable.getChildren())
        collectFillColours (*child, colours);
}

TEST_F (InstallerModelTest, IsBuiltOnceOnFirstUseAndNeverAgainAfterDeletion)
{
    if (! isChild())
        return runInChild();

    const auto downloads = juce::File (juce::SystemStats::getEnvironmentVariable ("HOME", {}))
                               .getChildFile ("Documents/Larkspire Downloads");
    ASSERT_FALSE (downloads.exists());
    ASSERT_EQ (InstallerModel::getInstanceWithoutCreating(), nullptr);

    // The icons take the default look-and-feel's text colour, read when the model is built.
    const juce::Colour textColour (0xff123456);
    auto scheme = juce::LookAndFeel_V4::getLightColourScheme();
    scheme.setUIColour (juce::LookAndFeel_V4::ColourScheme::defaultText, textColour);
    juce::LookAndFeel_V4 theme (scheme);
    juce::Desktop::getInstance().setDefaultLookAndFeel (&theme);

    auto* model = InstallerModel::getInstance();
    ASSERT_NE (model, nullptr);
    EXPECT_EQ (InstallerModel::getInstance(), model);
    EXPECT_EQ (model->downloadFolder, downloads.getFullPathName());
    EXPECT_TRUE (downloads.isDirectory());
    EXPECT_EQ (model->installedProduct, nullptr);
    EXPECT_FALSE (model->isRunInfoCheckIdle()) << "no editor: the update check starts at once";

    // Drawables report the bounds of what they draw, which lies inside the view boxes.
    ASSERT_TRUE (model->logo != nullptr && model->languageIcon != nullptr);
    const auto logoBounds = model->logo->getDrawableBounds();
    EXPECT_TRUE (juce::Rectangle<float> (0, 0, 131, 20).contains (logoBounds));
    EXPECT_GT (logoBounds.getWidth(), 60.0f);
    const auto globeBounds = model->languageIcon->getDrawableBounds();
    EXPECT_TRUE (juce::Rectangle<float> (0, 0, 496, 512).contains (globeBounds));
    EXPECT_GT (globeBounds.getWidth(), 400.0f);

    juce::Array<juce::Colour> globeColours, logoColours;
    collectFillColours (*model->languageIcon, globeColours);
    collectFillColours (*model->logo, logoColours);
    EXPECT_TRUE (globeColours.contains (textColour));
    EXPECT_FALSE (globeColours.contains (juce::Colours::black));
    EXPECT_FALSE (logoColours.contains (textColour));
    EXPECT_GE (logoColours.size(), 2);

    InstallerModel::deleteInstance();
    juce::Desktop::getInstance().setDefaultLookAndFeel (nullptr);
    EXPECT_EQ (InstallerModel::getInstanceWithoutCreating(), nullptr);

    // A second construction would create the folder again.
    ASSERT_TRUE (downloads.deleteRecursively());
    EXPECT_EQ (InstallerModel::getInstance(), nullptr);
    EXPECT_FALSE (downloads.exists());
}

struct LocaleCase
{
    const char* name;
    const char* lang;
    int expectedId;
    const char* productName;
    const char* next;
};

void PrintTo (const LocaleCase& c, std::ostream* stream)
{
    *stream << c.name;
}

class InstallerModelLanguageTest
    : public InstallerModelTest
    , public testing::WithParamInterface<LocaleCase>
{
};

TEST_P (InstallerModelLanguageTest, ChoosesFromTheLocaleAndSwitchesTheTranslation)
{
    const auto& c = GetParam();

    if (! isChild())
        return runInChild (juce::String ("LANG=") + c.lang);

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

    const std::tuple<size_t, const char*, const char*> switches[] = { { 1, "LARKSPIRE", "次へ" },
                                                                      { 2, "Larkspire", "下一步" },
                                                                      { 0, "Larkspire", "Next" } };

    for (const auto& [index, productName, next] : switches)
    {
        model->setLanguage (&model->languages[index]);
        EXPECT_EQ (model->currentLanguage, &model->languages[index]);
        EXPECT_EQ (juce::translate (juce::String (model->productName)),
                   juce::String::fromUTF8 (productName));
        EXPECT_EQ (juce::translate ("Next"), juce::String::fromUTF8 (next));
    }

    EXPECT_EQ (juce::LocalisedStrings::getCurrentMappings(), nullptr);
    InstallerModel::deleteInstance();
}

INSTANTIATE_TEST_SUITE_P (
    Locales, InstallerModelLanguageTest,
    testing::Values (LocaleCase { "Japanese", "ja_JP.UTF-8", 2, "LARKSPIRE", "次へ" },
                     LocaleCase { "ChineseOfTaiwan", "zh_TW.UTF-8", 3, "Larkspire", "下一步" },
                     LocaleCase { "French", "fr_FR.UTF-8", 1, "Larkspire", "Next" },
                     LocaleCase { "CLocale", "C", 1, "Larkspire", "Next" }),
    [] (const auto& test) { return std::string (test.param.name); });
} // namespace
