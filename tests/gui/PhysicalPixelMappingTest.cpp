#include "look/PhysicalPixelMapping.h"

#include <gtest/gtest.h>

TEST (PhysicalPixelMapping, EdgeAtTiedHalfPixelRoundsToEvenDevicePixel)
{
    // Scale 2, peer as large as the top-level component, origin (0.25, 0): x = 3 maps to 6.5
    // device pixels, which rounds to 6 and maps back to 2.75; 13 to 26.5, 26 and 12.75.
    auto mapping =
        PhysicalPixelMapping::make ({ 0.25f, 0.0f }, 2.0f, { 0, 0, 100, 50 }, { 0, 0, 100, 50 });

    EXPECT_FLOAT_EQ (juce::Point<float> (3.0f, 0.0f).transformedBy (mapping.toPhysical).x, 6.5f);
    EXPECT_EQ (mapping.snapToDevicePixels ({ 3.0f, 4.0f, 10.0f, 20.0f }).toString(),
               "2.75 4 10 20");

    // At scale 1, corners round to whole pixels; a rectangle may come out empty.
    auto unscaled = PhysicalPixelMapping::make ({}, 1.0f, { 0, 0, 10, 10 }, { 0, 0, 10, 10 });
    EXPECT_EQ (unscaled.snapToDevicePixels ({ 1.4f, 2.6f, 3.2f, 0.2f }).toString(), "1 3 4 0");
    EXPECT_EQ (unscaled.snapToDevicePixels ({ 5.0f, 5.0f, 0.0f, 12.0f }).toString(), "5 5 0 12");
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

    auto& displays = juce::Desktop::getInstance().getDisplays();
    auto expectedScale = (float) displays.getDisplayForRect (window.getScreenBounds())->scale;
    EXPECT_FLOAT_EQ (mapping.scale, expectedScale);
    EXPECT_FLOAT_EQ (mapping.origin.x, 20.0f);
    auto device = juce::Point<float> (0.0f, 0.0f).transformedBy (mapping.toPhysical);
    EXPECT_FLOAT_EQ (device.x,
                     expectedScale * (float) peer->getBounds().getWidth() / 200.0f * 20.0f);

    window.removeFromDesktop();
}

TEST (PhysicalPixelMapping, DisplayOverlappingMostGivesTheScale)
{
    auto display = [] (juce::Rectangle<int> area, double scale)
    {
        juce::Displays::Display d;
        d.totalArea = d.userArea = area;
        d.scale = scale;
        return d;
    };
    const juce::Array<juce::Displays::Display> displays { display ({ 0, 0, 100, 100 }, 1.0),
                                                          display ({ 100, 0, 100, 100 }, 2.0),
                                                          display ({ 0, 100, 100, 100 }, 3.0) };

    // Mostly on the first, mostly on the second, an equal 20 x 40 on each of those two (the
    // later wins), on none (the first), and no display at all.
    const std::tuple<juce::Rectangle<int>, bool, float> cases[] = {
        { { 10, 10, 50, 50 }, true, 1.0f }, { { 80, 10, 50, 50 }, true, 2.0f },
        { { 80, 10, 40, 40 }, true, 2.0f }, { { 500, 500, 10, 10 }, true, 1.0f },
        { { 0, 0, 10, 10 }, false, 1.0f },
    };

    for (auto& [area, withDisplays, scale] : cases)
        EXPECT_FLOAT_EQ (
            PhysicalPixelMapping::scaleOfDisplayShowing (
                area, withDisplays ? displays : juce::Array<juce::Displays::Display>()),
            scale)
            << area.toString();
}
