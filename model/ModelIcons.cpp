#include "model/ModelIcons.h"

#include "resources/BinaryResources.h"

juce::Colour defaultLookAndFeelTextColour()
{
    auto& lookAndFeel = juce::Desktop::getInstance().getDefaultLookAndFeel();

    // The desktop's default is always a LookAndFeel_V4 here: JUCE's own default or the theme.
    if (auto* v4 = dynamic_cast<juce::LookAndFeel_V4*> (&lookAndFeel))
        return v4->getCurrentColourScheme().getUIColour (
            juce::LookAndFeel_V4::ColourScheme::UIColour::defaultText);

    return lookAndFeel.findColour (juce::Label::textColourId);
}

std::unique_ptr<juce::Drawable> createDrawableFromSvgText (const char* svgText)
{
    juce::XmlDocument document (juce::String::fromUTF8 (svgText));

    if (const auto element = document.getDocumentElement())
        return juce::Drawable::createFromSVG (*element);

    return nullptr;
}

std::unique_ptr<juce::Drawable> createLogoDrawable()
{
    return createDrawableFromSvgText (reinterpret_cast<const char*> (BinaryResources::logoSvg));
}

std::unique_ptr<juce::Drawable> createLanguageIconDrawable (juce::Colour textColour)
{
    auto icon =
        createDrawableFromSvgText (reinterpret_cast<const char*> (BinaryResources::globeSvg));

    if (icon != nullptr)
        icon->replaceColour (juce::Colours::black, textColour);

    return icon;
}
