#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

/** Makes the typeface of the font compiled into the program, wraps it in a
    tessel::TypefaceCache and gives it to theme as its default sans-serif typeface. Returns
    false, leaving the theme's font alone, when no typeface could be made. */
bool installEmbeddedFont (juce::LookAndFeel& theme);
