#include "DrawableColours.h"

#include "app/StartUp.h"
#include "look/TypefaceCache.h"
#include "model/InstallerModel.h"
#include "support/ModelChildProcess.h"

#include <gtest/gtest.h>

namespace
{
/** In a child process of its own, as the model is built once per process. */
TEST (StartUp, FontThenThemeThenModel)
{
    if (! testing_support::inModelChildProcess ({}, "StartUp.*"))
        return;

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
