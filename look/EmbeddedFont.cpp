#include "look/EmbeddedFont.h"

bool installEmbeddedFont (juce::LookAndFeel& theme)
{
    juce::ignoreUnused (theme);
    return false;
}
