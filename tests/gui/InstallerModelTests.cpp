#include "DrawableColours.h"

#include "model/InstallerModel.h"
#include "support/ModelChildProcess.h"

#include <gtest/gtest.h>

namespace
{
/** In a child process of its own, as the model is built once per process, in Japanese. */
TEST (InstallerModel, IsBuiltInTheLocalesLanguageAndSwitchesLanguages)
{
    if (! testing_support::inModelChildProcess (
            { "-u", "LC_ALL", "-u", "LC_MESSAGES", "LANG=ja_JP.UTF-8" }, "InstallerModel.*"))
        return;

    const juce::File downloads ("~/Documents/Larkspire Downloads");

    // The globe takes the default look-and-feel's text colour, read when the model is built.
    const juce::Colour textColour (0xff123456);
    auto scheme = juce::LookAndFeel_V4::getLightColourScheme();
    scheme.setUIColour (juce::LookAndFeel_V4::ColourScheme::defaultText, textColour);
    juce::LookAndFeel_V4 theme (scheme);
    juce::Desktop::getInstance().setDefaultLookAndFeel (&theme);
    auto* model = InstallerModel::getInstance();
    juce::Desktop::getInstance().setDefaultLookAndFeel (nullptr);
    ASSERT_NE (model, nullptr);
    EXPECT_EQ (model->downloadFolder, downloads.getFullPathName());
    EXPECT_TRUE (downloads.isDirectory());
    EXPECT_FALSE (model->isRunInfoCheckIdle()) << "no editor: the update check starts at once";

    ASSERT_TRUE (model->logo != nullptr && model->languageIcon != nullptr);
    const auto globeColours = testing_support::fillColoursOf (*model->languageIcon);
    const auto logoColours = testing_support::fillColoursOf (*model->logo);
    EXPECT_TRUE (globeColours.contains (textColour));
    EXPECT_FALSE (globeColours.contains (juce::Colours::black));
    EXPECT_FALSE (logoColours.contains (textColour));

    // Japanese writes the product name in capitals; English has no table at all.
    ASSERT_NE (model->currentLanguage, nullptr);
    EXPECT_EQ (model->currentLanguage->languageCode, "ja");

    for (const auto& entry : model->languages)
    {
        SCOPED_TRACE (entry.languageCode);
        model->setLanguage (&entry);
        EXPECT_EQ (model->currentLanguage, &entry);
        EXPECT_EQ (juce::LocalisedStrings::getCurrentMappings() == nullptr,
                   ! entry.translations.has_value());
        EXPECT_EQ (juce::translate (juce::String (model->productName)),
                   entry.languageCode == "ja" ? "LARKSPIRE" : "Larkspire");
    }

    InstallerModel::deleteInstance();
}
} // namespace
