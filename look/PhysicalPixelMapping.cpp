#include "look/PhysicalPixelMapping.h"

#include <cmath>

PhysicalPixelMapping PhysicalPixelMapping::forComponent (const juce::Component& component)
{
    auto* topLevel = component.getTopLevelComponent();
    auto origin = topLevel->getLocalPoint (&component, juce::Point<float>());

    auto* peer = topLevel->getPeer();

    if (peer == nullptr)
    {
        PhysicalPixelMapping mapping;
        mapping.origin = origin;
        mapping.toPhysical = juce::AffineTransform::translation (origin);
        mapping.fromPhysical = mapping.toPhysical.inverted();
        return mapping;
    }

    auto screenArea = topLevel->localAreaToGlobal (topLevel->getLocalBounds());
    auto scale =
        scaleOfDisplayShowing (screenArea, juce::Desktop::getInstance().getDisplays().displays);
    return make (origin, scale, peer->getBounds(), topLevel->getBounds());
}

PhysicalPixelMapping PhysicalPixelMapping::make (juce::Point<float> origin, float displayScale,
                                                 juce::Rectangle<int> peerBounds,
                                                 juce::Rectangle<int> topLevelBounds)
{
    PhysicalPixelMapping mapping;
    mapping.origin = origin;
    mapping.scale = displayScale;

    // A top-level component of no size has no pixels to map; keep the display scale rather
    // than divide by zero.
    auto sx = topLevelBounds.getWidth() > 0
                  ? displayScale * (float) peerBounds.getWidth() / (float) topLevelBounds.getWidth()
                  : displayScale;
    auto sy = topLevelBounds.getHeight() > 0 ? displayScale * (float) peerBounds.getHeight() /
                                                   (float) topLevelBounds.getHeight()
                                             : displayScale;

    mapping.toPhysical = juce::AffineTransform (sx, 0.0f, sx * origin.x, 0.0f, sy, sy * origin.y);
    mapping.fromPhysical = mapping.toPhysical.inverted();
    return mapping;
}

float PhysicalPixelMapping::scaleOfDisplayShowing (
    juce::Rectangle<int> screenArea, const juce::Array<juce::Displays::Display>& displays)
{
    float scale = 1.0f;
    juce::int64 bestOverlap = -1;

    for (auto& display : displays)
    {
        auto overlap = display.totalArea.getIntersection (screenArea);
        auto area = (juce::int64) overlap.getWidth() * (juce::int64) overlap.getHeight();

        // A later display wins a tie, but only a real one: with no overlap anywhere the first
        // display stays.
        if (area > bestOverlap || (area == bestOverlap && area > 0))
        {
            bestOverlap = area;
            scale = (float) display.scale;
        }
    }

    return scale;
}

juce::Rectangle<float> PhysicalPixelMapping::snapToDevicePixels (juce::Rectangle<float> area) const
{
    auto snap = [this] (juce::Point<float> p)
    {
        auto device = p.transformedBy (toPhysical);
        juce::Point<float> rounded ((float) juce::roundToInt (device.x),
                                    (float) juce::roundToInt (device.y));
        return rounded.transformedBy (fromPhysical);
    };

    auto a = snap (area.getTopLeft());
    auto b = snap (area.getBottomRight());

    return { juce::jmin (a.x, b.x), juce::jmin (a.y, b.y), std::abs (a.x - b.x),
             std::abs (a.y - b.y) };
}
