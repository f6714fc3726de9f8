#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

#include <memory>

/** The defaultText colour of the desktop's default look-and-feel's colour scheme. Needs the
    desktop, so a display on Linux. */
juce::Colour defaultLookAndFeelTextColour();

/** Parses an SVG text into a drawable; null when the text is not an SVG document. */
std::unique_ptr<juce::Drawable> createDrawableFromSvgText (const char* svgText);

/** The product logo, in its own colours. */
std::unique_ptr<juce::Drawable> createLogoDrawable();

/** The globe, its black replaced by textColour. */
std::unique_ptr<juce::Drawable> createLanguageIconDrawable (juce::Colour textColour);
