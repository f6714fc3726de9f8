#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

/** How one component's coordinates map to the device pixels of its window, used to snap
    drawing to whole device pixels. */
struct PhysicalPixelMapping final
{
    /** Where the component's origin lies in its top-level component. */
    juce::Point<float> origin;
    /** Scale of the display that shows the component (1 without a peer or a display). */
    float scale = 1.0f;
    juce::AffineTransform toPhysical;
    juce::AffineTransform fromPhysical;

    /** The mapping for component as it sits on screen now. */
    static PhysicalPixelMapping forComponent (const juce::Component& component);

    /** The mapping for a component at origin in a top-level component of topLevelSize whose
        peer has peerSize and which shows on a display of the given scale. */
    static PhysicalPixelMapping make (juce::Point<float> origin, float displayScale,
                                      juce::Rectangle<int> peerBounds,
                                      juce::Rectangle<int> topLevelBounds);

    /** The scale of the display that overlaps screenArea most; on a tie a later display in
        the list wins, and with no overlap at all the first one. 1 when there is no display. */
    static float scaleOfDisplayShowing (juce::Rectangle<int> screenArea,
                                        const juce::Array<juce::Displays::Display>& displays);

    /** area with its corners moved to the nearest device pixel (ties to even). */
    juce::Rectangle<float> snapToDevicePixels (juce::Rectangle<float> area) const;
};
