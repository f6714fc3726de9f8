#include "DrawableColours.h"

#include "app/StartUp.h"
#include "look/TypefaceCache.h"
#include "model/InstallerModel.h"
#include "support/DevServer.h"
#include "support/TemporaryFolder.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace
{
/** The model is built at most once per process, so the test runs again in a child process,
    with a temporary home and no installed editor. */
TEST (StartUp, FontThenThemeThenModel)
{
    if (std::getenv ("LARKSPIRE_START_UP_TEST_CHILD") == nullptr)
    {
        const testing_support::TemporaryFolder home;
        juce::ChildProcess child;
        ASSERT_TRUE (child.start (
            { "env", "LARKSPIRE_START_UP_TEST_CHILD=1", "HOME=" + home.get().getFullPathName(),
              "LARKSPIRE_APPLICATIONS_DIR=" + home.get().getFullPathName(),
              "LARKSPIRE_UPDATE_SERVER=http://127.0.0.1:" +
                  juce::String (testing_support::DevServer::getClosedPort()),
              juce::File::getSpecialLocation (juce::File::currentExecutableFile).getFullPathName(),
              "--gtest_filter=StartUp.*" }));
        const auto output = child.readAllProcessOutput();
        ASSERT_TRUE (child.waitForProcessToFinish (60000)) << output;
        EXPECT_EQ (child.getExitCode(), 0u) << output;
        return;
    }

    FernwaveTheme theme;
    auto* model = startUp (theme);
    ASSERT_NE (model, nullptr);
    EXPECT_EQ (&juce::Desktop::getInstance().getDefaultLookAndFeel(), &theme);

    // Text without a font of its own gets the embedded one, through the cache: the CJK pages
    // need its glyphs on machines that have no CJK font.
    const auto typeface = juce::Font (17.0f).getTypefacePtr();
    EXPECT_NE (dynamic_cast<tessel::TypefaceCache*> (typeface.get()), nullptr);
    EXPECT_EQ (typeface->getName(), "Noto Sans CJK JP");

    // The globe took the theme's text colour, not that of JUCE's own dark default.
    ASSERT_NE (model->languageIcon, nullptr);
    const auto globeColours = testing_support::fillColoursOf (*model->languageIcon);
    EXPECT_TRUE (globeColours.contains (theme.getCurrentColourScheme().getUIColour (
        juce::LookAndFeel_V4::ColourScheme::defaultText)));
    EXPECT_FALSE (globeColours.contains (juce::Colours::white));

    InstallerModel::deleteInstance();
    juce::Desktop::getInstance().setDefaultLookAndFeel (nullptr);
}
} // namespace
