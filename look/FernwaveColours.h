#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

#include <vector>

/** One entry of the theme's colour table. */
struct FernwaveColourSetting final
{
    int colourId;
    juce::Colour colour;
};

/** The theme's nine-colour light scheme. */
juce::LookAndFeel_V4::ColourScheme makeFernwaveColourScheme();

/** The theme's 111 colour settings, in the order they are applied, derived from scheme and
    the three header colours. */
std::vector<FernwaveColourSetting>
    makeFernwaveColourSettings (const juce::LookAndFeel_V4::ColourScheme& scheme,
                                juce::Colour headerColour, juce::Colour headerTextColour,
                                juce::Colour headerOverlayColour);
