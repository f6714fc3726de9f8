#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

namespace testing_support
{
/** The plain fill colours of drawable's shapes, its children's included. */
inline juce::Array<juce::Colour> fillColoursOf (juce::Component& drawable)
{
    juce::Array<juce::Colour> colours;

    if (auto* shape = dynamic_cast<juce::DrawableShape*> (&drawable))
        if (shape->getFill().isColour())
            colours.add (shape->getFill().colour);

    for (auto* child : drawable.getChildren())
        colours.addArray (fillColoursOf (*child));

    return colours;
}
} // namespace testing_support
