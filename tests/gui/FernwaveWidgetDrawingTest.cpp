#include "look/FernwaveTheme.h"

#include <gtest/gtest.h>

namespace
{
struct PixelCheck
{
    int x, y;
    juce::uint32 argb;
    int tolerance = 1;
};

// Pixels of a transparent image come back unpremultiplied, which costs some precision at low
// alpha: compare each channel within a tolerance.
void expectPixels (const juce::Image& image, std::initializer_list<PixelCheck> checks,
                   const std::string& what = {})
{
    for (auto& check : checks)
    {
        auto actual = image.getPixelAt (check.x, check.y);
        auto expected = juce::Colour (check.argb);
        auto message = what + " at " + std::to_string (check.x) + "," + std::to_string (check.y) +
                       ": " + actual.toDisplayString (true).toStdString() + " vs " +
                       expected.toDisplayString (true).toStdString();

        EXPECT_NEAR (actual.getAlpha(), expected.getAlpha(), 1) << message;

        if (expected.getAlpha() > 0x40)
        {
            EXPECT_NEAR (actual.getRed(), expected.getRed(), check.tolerance) << message;
            EXPECT_NEAR (actual.getGreen(), expected.getGreen(), check.tolerance) << message;
            EXPECT_NEAR (actual.getBlue(), expected.getBlue(), check.tolerance) << message;
        }
    }
}

juce::Image paintSlider (FernwaveTheme& theme, juce::Slider& slider, float sliderPos)
{
    // x = 20, width 200: the track runs from 10 to 230, rows 10 to 30.
    juce::Image image (juce::Image::ARGB, 260, 40, true);
    juce::Graphics g (image);
    theme.drawLinearSlider (g, 20, 0, 200, 40, sliderPos, 0.0f, 0.0f,
                            juce::Slider::LinearHorizontal, slider);
    return image;
}

juce::Image paintScrollbar (FernwaveTheme& theme, juce::ScrollBar& bar, int thumbStart,
                            int thumbSize, bool over = false, bool down = false)
{
    juce::Image image (juce::Image::ARGB, bar.getWidth(), bar.getHeight(), true);
    juce::Graphics g (image);
    // The bar reads its thumb colour through its look-and-feel.
    bar.setLookAndFeel (&theme);
    theme.drawScrollbar (g, bar, 0, 0, bar.getWidth(), bar.getHeight(), bar.isVertical(),
                         thumbStart, thumbSize, over, down);
    bar.setLookAndFeel (nullptr);
    return image;
}

bool isBlank (const juce::Image& image)
{
    for (int y = 0; y < image.getHeight(); ++y)
        for (int x = 0; x < image.getWidth(); ++x)
            if (image.getPixelAt (x, y).getAlpha() != 0)
                return false;

    return true;
}
} // namespace

TEST (FernwaveSlider, FillsLeftOfTheThumbAndGreysWhenDisabled)
{
    FernwaveTheme theme;
    juce::Slider enabled, disabled, child;
    disabled.setEnabled (false);
    juce::Component parent;
    parent.addChildComponent (child);
    parent.setEnabled (false);

    // At the start the whole track is the right fill; the thumb is centred on sliderPos.
    expectPixels (paintSlider (theme, enabled, 20.0f),
                  { { 60, 20, 0x08000000 },
                    { 220, 20, 0x08000000 },
                    { 120, 5, 0x00000000 }, // outside the track
                    { 20, 20, 0xfffdfdff, 2 } },
                  "at the start");
    expectPixels (paintSlider (theme, enabled, 170.0f),
                  { { 60, 20, 0x4c2a96cc, 6 },
                    { 150, 20, 0x4c2a96cc, 6 },
                    { 200, 20, 0x08000000 },
                    { 170, 20, 0xfffdfdff, 2 } },
                  "enabled");
    expectPixels (paintSlider (theme, disabled, 170.0f),
                  { { 60, 20, 0x4c000000 }, { 200, 20, 0x1a000000 } }, "disabled");
    expectPixels (paintSlider (theme, child, 170.0f), { { 60, 20, 0x4c000000 } },
                  "in a disabled parent");
}

TEST (FernwaveScrollbar, ThumbIsShrunkBy3AndDarkensOnHoverOrPress)
{
    FernwaveTheme theme;
    juce::ScrollBar bar (true);
    bar.setBounds (0, 0, 16, 200);

    // Nothing but the thumb: no track, no background.
    expectPixels (paintScrollbar (theme, bar, 50, 40), { { 8, 70, 0xffb2b2b2 },
                                                         { 3, 70, 0xffb2b2b2 },
                                                         { 2, 70, 0 },
                                                         { 13, 70, 0 },
                                                         { 8, 52, 0 },
                                                         { 8, 69, 0xffb2b2b2 },
                                                         { 8, 87, 0 },
                                                         { 8, 10, 0 },
                                                         { 8, 150, 0 } });

    juce::ScrollBar horizontal (false);
    horizontal.setBounds (0, 0, 200, 16);
    expectPixels (paintScrollbar (theme, horizontal, 50, 40, true, false),
                  { { 70, 8, 0xff949494 } }, "hovered");
    expectPixels (paintScrollbar (theme, horizontal, 50, 40, false, true),
                  { { 70, 8, 0xff949494 } }, "pressed");
    horizontal.setColour (juce::ScrollBar::thumbColourId, juce::Colour (0xff806040));
    expectPixels (paintScrollbar (theme, horizontal, 50, 40), { { 70, 8, 0xff806040 } },
                  "own colour");
}

TEST (FernwaveScrollbar, ThumbOfSixPixelsOrLessDrawsNothing)
{
    FernwaveTheme theme;
    juce::ScrollBar narrow (true), horizontal (false);
    narrow.setBounds (0, 0, 6, 200);
    horizontal.setBounds (0, 0, 200, 16);

    EXPECT_TRUE (isBlank (paintScrollbar (theme, narrow, 50, 40)));
    EXPECT_TRUE (isBlank (paintScrollbar (theme, horizontal, 50, 6)));
    EXPECT_FALSE (isBlank (paintScrollbar (theme, horizontal, 50, 7)));
}

TEST (FernwaveScrollbar, ThumbEdgesSnapToTheWindowsPixelsNotTheScrollbars)
{
    FernwaveTheme theme;
    juce::Component window;
    window.setBounds (0, 0, 100, 300);
    juce::ScrollBar bar (true);
    window.addAndMakeVisible (bar);
    bar.setBounds (0, 0, 16, 200);
    // A quarter pixel off the window's grid: the window's pixel edges lie at x = -0.25 + n
    // in the scroll bar, so the thumb's left edge (3) moves to 2.75.
    bar.setTransform (juce::AffineTransform::translation (0.25f, 0.0f));

    auto image = paintScrollbar (theme, bar, 50, 40);
    EXPECT_NEAR (image.getPixelAt (2, 70).getAlpha(), 64, 8);
    expectPixels (image, { { 3, 70, 0xffb2b2b2 }, { 1, 70, 0 } });
}
