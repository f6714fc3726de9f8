#include "look/FernwaveTheme.h"

#include <gtest/gtest.h>

namespace
{
// Pixels of a transparent image come back unpremultiplied, which costs some precision at low
// alpha: compare each channel within a tolerance.
void expectPixel (const juce::Image& image, int x, int y, juce::uint32 argb, int tolerance = 1)
{
    auto actual = image.getPixelAt (x, y);
    auto expected = juce::Colour (argb);
    auto message = "at " + std::to_string (x) + "," + std::to_string (y) + ": " +
                   actual.toDisplayString (true).toStdString() + " vs " +
                   expected.toDisplayString (true).toStdString();

    EXPECT_NEAR (actual.getAlpha(), expected.getAlpha(), 1) << message;

    if (expected.getAlpha() > 0x40)
    {
        EXPECT_NEAR (actual.getRed(), expected.getRed(), tolerance) << message;
        EXPECT_NEAR (actual.getGreen(), expected.getGreen(), tolerance) << message;
        EXPECT_NEAR (actual.getBlue(), expected.getBlue(), tolerance) << message;
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

juce::Image paintScrollbar (FernwaveTheme& theme, juce::ScrollBar& bar, bool vertical,
                            int thumbStart, int thumbSize, bool over = false, bool down = false)
{
    juce::Image image (juce::Image::ARGB, bar.getWidth(), bar.getHeight(), true);
    juce::Graphics g (image);
    // The bar reads its thumb colour through its look-and-feel.
    bar.setLookAndFeel (&theme);
    theme.drawScrollbar (g, bar, 0, 0, bar.getWidth(), bar.getHeight(), vertical, thumbStart,
                         thumbSize, over, down);
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

TEST (FernwaveSlider, ThumbAtTheStartLeavesTheWholeTrackToTheRightFill)
{
    FernwaveTheme theme;
    juce::Slider slider;

    auto image = paintSlider (theme, slider, 20.0f);
    expectPixel (image, 60, 20, 0x08000000);
    expectPixel (image, 220, 20, 0x08000000);
    expectPixel (image, 120, 5, 0x00000000);    // outside the track
    expectPixel (image, 20, 20, 0xfffdfdff, 2); // thumb centred on sliderPos
}

TEST (FernwaveSlider, FillsLeftOfTheThumbInBlueWhenEnabled)
{
    FernwaveTheme theme;
    juce::Slider slider;

    auto image = paintSlider (theme, slider, 170.0f);
    expectPixel (image, 60, 20, 0x4c2a96cc, 6);
    expectPixel (image, 150, 20, 0x4c2a96cc, 6);
    expectPixel (image, 200, 20, 0x08000000);
    expectPixel (image, 170, 20, 0xfffdfdff, 2);
}

TEST (FernwaveSlider, DisabledSliderOrParentGreysTheFills)
{
    FernwaveTheme theme;

    juce::Slider disabled;
    disabled.setEnabled (false);
    auto image = paintSlider (theme, disabled, 170.0f);
    expectPixel (image, 60, 20, 0x4c000000);
    expectPixel (image, 200, 20, 0x1a000000);

    juce::Component parent;
    juce::Slider child;
    parent.addChildComponent (child);
    parent.setEnabled (false);
    auto childImage = paintSlider (theme, child, 170.0f);
    expectPixel (childImage, 60, 20, 0x4c000000);
}

TEST (FernwaveScrollbar, ThumbIsShrunkBy3AndDrawnInTheThumbColour)
{
    FernwaveTheme theme;
    juce::ScrollBar bar (true);
    bar.setBounds (0, 0, 16, 200);

    auto image = paintScrollbar (theme, bar, true, 50, 40);
    expectPixel (image, 8, 70, 0xffb2b2b2);
    expectPixel (image, 3, 70, 0xffb2b2b2);
    expectPixel (image, 2, 70, 0x00000000);
    expectPixel (image, 13, 70, 0u);
    expectPixel (image, 8, 52, 0u);
    expectPixel (image, 8, 53 + 16, 0xffb2b2b2);
    expectPixel (image, 8, 87, 0u);
    // Nothing but the thumb: no track, no background.
    expectPixel (image, 8, 10, 0u);
    expectPixel (image, 8, 150, 0u);
}

TEST (FernwaveScrollbar, HoverOrPressDarkensTheThumb)
{
    FernwaveTheme theme;
    juce::ScrollBar bar (false);
    bar.setBounds (0, 0, 200, 16);

    expectPixel (paintScrollbar (theme, bar, false, 50, 40, true, false), 70, 8, 0xff949494);
    expectPixel (paintScrollbar (theme, bar, false, 50, 40, false, true), 70, 8, 0xff949494);
    expectPixel (paintScrollbar (theme, bar, false, 50, 40), 70, 8, 0xffb2b2b2);

    bar.setColour (juce::ScrollBar::thumbColourId, juce::Colour (0xff806040));
    expectPixel (paintScrollbar (theme, bar, false, 50, 40), 70, 8, 0xff806040);
}

TEST (FernwaveScrollbar, ThumbOfSixPixelsOrLessDrawsNothing)
{
    FernwaveTheme theme;
    juce::ScrollBar bar (true);
    bar.setBounds (0, 0, 6, 200);
    EXPECT_TRUE (isBlank (paintScrollbar (theme, bar, true, 50, 40)));

    juce::ScrollBar horizontal (false);
    horizontal.setBounds (0, 0, 200, 16);
    EXPECT_TRUE (isBlank (paintScrollbar (theme, horizontal, false, 50, 6)));
    EXPECT_FALSE (isBlank (paintScrollbar (theme, horizontal, false, 50, 7)));
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

    auto image = paintScrollbar (theme, bar, true, 50, 40);
    auto column2 = image.getPixelAt (2, 70).getAlpha();
    EXPECT_NEAR (column2, 64, 8);
    expectPixel (image, 3, 70, 0xffb2b2b2);
    expectPixel (image, 1, 70, 0u);
}
