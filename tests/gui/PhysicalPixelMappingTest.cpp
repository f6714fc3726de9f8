#include "look/PhysicalPixelMapping.h"

#include <gtest/gtest.h>

namespace
{
juce::Displays::Display display (juce::Rectangle<int> area, double scale)
{
    juce::Displays::Display d;
    d.totalArea = area;
    d.userArea = area;
    d.scale = scale;
    return d;
}
} // namespace

TEST (PhysicalPixelMapping, EdgeAtTiedHalfPixelRoundsToEvenDevicePixel)
{
    // Scale 2, peer as large as the top-level component, origin (0.25, 0): x = 3 maps to 6.5
    // device pixels, which rounds to 6 and maps back to 2.75.
    auto mapping =
        PhysicalPixelMapping::make ({ 0.25f, 0.0f }, 2.0f, { 0, 0, 100, 50 }, { 0, 0, 100, 50 });

    EXPECT_FLOAT_EQ (mapping.scale, 2.0f);
    auto device = juce::Point<float> (3.0f, 0.0f).transformedBy (mapping.toPhysical);
    EXPECT_FLOAT_EQ (device.x, 6.5f);

    auto snapped = mapping.snapToDevicePixels ({ 3.0f, 4.0f, 10.0f, 20.0f });
    EXPECT_FLOAT_EQ (snapped.getX(), 2.75f);
    EXPECT_FLOAT_EQ (snapped.getY(), 4.0f);
    // 13 maps to 26.5, rounded to 26 and back to 12.75.
    EXPECT_FLOAT_EQ (snapped.getRight(), 12.75f);
    EXPECT_FLOAT_EQ (snapped.getHeight(), 20.0f);
}

TEST (PhysicalPixelMapping, PeerLargerThanComponentScalesBothAxes)
{
    auto mapping =
        PhysicalPixelMapping::make ({ 1.0f, 2.0f }, 1.5f, { 0, 0, 300, 100 }, { 0, 0, 100, 100 });
    auto device = juce::Point<float> (1.0f, 1.0f).transformedBy (mapping.toPhysical);

    EXPECT_FLOAT_EQ (device.x, 1.5f * 3.0f * 2.0f);
    EXPECT_FLOAT_EQ (device.y, 1.5f * 3.0f);
    auto back = device.transformedBy (mapping.fromPhysical);
    EXPECT_NEAR (back.x, 1.0f, 1e-5);
    EXPECT_NEAR (back.y, 1.0f, 1e-5);
}

TEST (PhysicalPixelMapping, SnappedRectangleIsNormalisedAndCanBeEmpty)
{
    auto mapping = PhysicalPixelMapping::make ({}, 1.0f, { 0, 0, 10, 10 }, { 0, 0, 10, 10 });

    auto empty = mapping.snapToDevicePixels ({ 5.0f, 5.0f, 0.0f, 12.0f });
    EXPECT_FLOAT_EQ (empty.getWidth(), 0.0f);
    EXPECT_FLOAT_EQ (empty.getHeight(), 12.0f);

    auto rounded = mapping.snapToDevicePixels ({ 1.4f, 2.6f, 3.2f, 0.2f });
    EXPECT_EQ (rounded, juce::Rectangle<float> (1.0f, 3.0f, 4.0f, 0.0f));
}

TEST (PhysicalPixelMapping, WithoutPeerMapsByTranslationToTheTopLevelComponent)
{
    juce::Component topLevel, inner;
    topLevel.setBounds (0, 0, 200, 100);
    topLevel.addAndMakeVisible (inner);
    inner.setBounds (10, 5, 50, 20);
    inner.setTransform (juce::AffineTransform::translation (0.25f, 0.0f));

    auto mapping = PhysicalPixelMapping::forComponent (inner);

    EXPECT_FLOAT_EQ (mapping.scale, 1.0f);
    EXPECT_FLOAT_EQ (mapping.origin.x, 10.25f);
    EXPECT_FLOAT_EQ (mapping.origin.y, 5.0f);

    // 3 + 10.25 = 13.25 rounds to 13, which is 2.75 in the inner component.
    auto snapped = mapping.snapToDevicePixels ({ 3.0f, 0.0f, 4.0f, 4.0f });
    EXPECT_FLOAT_EQ (snapped.getX(), 2.75f);
    EXPECT_FLOAT_EQ (snapped.getWidth(), 4.0f);
}

TEST (PhysicalPixelMapping, OnScreenUsesTheDisplayScaleAndPeerSize)
{
    juce::Component window;
    window.setBounds (50, 50, 200, 100);
    window.addToDesktop (0);
    juce::Component inner;
    window.addAndMakeVisible (inner);
    inner.setBounds (20, 10, 40, 40);

    auto mapping = PhysicalPixelMapping::forComponent (inner);
    auto* peer = window.getPeer();
    ASSERT_NE (peer, nullptr);

    auto expectedScale = (float) juce::Desktop::getInstance()
                             .getDisplays()
                             .getDisplayForRect (window.getScreenBounds())
                             ->scale;
    EXPECT_FLOAT_EQ (mapping.scale, expectedScale);
    EXPECT_FLOAT_EQ (mapping.origin.x, 20.0f);
    auto device = juce::Point<float> (0.0f, 0.0f).transformedBy (mapping.toPhysical);
    EXPECT_FLOAT_EQ (device.x,
                     expectedScale * (float) peer->getBounds().getWidth() / 200.0f * 20.0f);

    window.removeFromDesktop();
}

TEST (PhysicalPixelMapping, DisplayOverlappingMostGivesTheScale)
{
    juce::Array<juce::Displays::Display> displays { display ({ 0, 0, 100, 100 }, 1.0),
                                                    display ({ 100, 0, 100, 100 }, 2.0) };

    EXPECT_FLOAT_EQ (PhysicalPixelMapping::scaleOfDisplayShowing ({ 10, 10, 50, 50 }, displays),
                     1.0f);
    EXPECT_FLOAT_EQ (PhysicalPixelMapping::scaleOfDisplayShowing ({ 80, 10, 50, 50 }, displays),
                     2.0f);
}

TEST (PhysicalPixelMapping, EqualOverlapPicksTheLaterDisplayAndNoOverlapTheFirst)
{
    juce::Array<juce::Displays::Display> displays { display ({ 0, 0, 100, 100 }, 1.0),
                                                    display ({ 100, 0, 100, 100 }, 2.0),
                                                    display ({ 0, 100, 100, 100 }, 3.0) };

    // 20 x 40 on each of the first two displays.
    EXPECT_FLOAT_EQ (PhysicalPixelMapping::scaleOfDisplayShowing ({ 80, 10, 40, 40 }, displays),
                     2.0f);
    EXPECT_FLOAT_EQ (PhysicalPixelMapping::scaleOfDisplayShowing ({ 500, 500, 10, 10 }, displays),
                     1.0f);
    EXPECT_FLOAT_EQ (PhysicalPixelMapping::scaleOfDisplayShowing ({ 0, 0, 10, 10 }, {}), 1.0f);
}
