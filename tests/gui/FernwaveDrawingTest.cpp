#include "LookTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace look_test_support;

namespace
{
// A full block glyph covers whole pixels, so its darkest pixel is the text colour.
const juce::String block = juce::CharPointer_UTF8 ("\xe2\x96\x88\xe2\x96\x88");

class FernwaveDrawing : public ::testing::Test
{
protected:
    static void SetUpTestSuite() { installed = std::make_unique<ScopedInstalledTheme>(); }
    static void TearDownTestSuite() { installed.reset(); }

    FernwaveTheme& theme() { return installed->theme; }

    juce::Image menuItem (int width, int height, bool isSeparator, bool isActive,
                          bool isHighlighted, const juce::String& text,
                          const juce::Colour* textColour = nullptr, int imageWidth = 0)
    {
        auto image = whiteImage (juce::jmax (width, imageWidth), height);
        juce::Graphics g (image);
        theme().drawPopupMenuItem (g, { 0, 0, width, height }, isSeparator, isActive, isHighlighted,
                                   false, false, text, {}, nullptr, textColour);
        return image;
    }

    juce::Image slider (juce::Slider& s, float sliderPos)
    {
        // x = 20, width 200: the track runs from 10 to 230, rows 10 to 30.
        juce::Image image (juce::Image::ARGB, 260, 40, true);
        juce::Graphics g (image);
        theme().drawLinearSlider (g, 20, 0, 200, 40, sliderPos, 0.0f, 0.0f,
                                  juce::Slider::LinearHorizontal, s);
        return image;
    }

    juce::Image scrollbar (juce::ScrollBar& bar, int thumbStart, int thumbSize, bool over = false,
                           bool down = false)
    {
        juce::Image image (juce::Image::ARGB, bar.getWidth(), bar.getHeight(), true);
        juce::Graphics g (image);
        theme().drawScrollbar (g, bar, 0, 0, bar.getWidth(), bar.getHeight(), bar.isVertical(),
                               thumbStart, thumbSize, over, down);
        return image;
    }

    static std::unique_ptr<ScopedInstalledTheme> installed;
};

std::unique_ptr<ScopedInstalledTheme> FernwaveDrawing::installed;
} // namespace

TEST_F (FernwaveDrawing, ButtonAndLabelFontHeights)
{
    juce::TextButton button;
    // Button height, font height: min (17, height - 4), and JUCE's floor of 0.1.
    const std::pair<int, float> buttons[] = { { 30, 17.0f }, { 21, 17.0f }, { 20, 16.0f },
                                              { 12, 8.0f },  { 4, 0.1f },   { 0, 0.1f } };

    for (auto [buttonHeight, fontHeight] : buttons)
    {
        auto font = theme().getTextButtonFont (button, buttonHeight);
        EXPECT_FLOAT_EQ (font.getHeight(), fontHeight) << buttonHeight;
        EXPECT_EQ (font.getTypefaceName(), juce::Font::getDefaultSansSerifFontName());
    }

    for (auto [labelHeight, fontHeight] : { std::pair (12.0f, 17.0f), std::pair (17.0f, 17.0f),
                                            std::pair (17.5f, 17.5f), std::pair (20.0f, 20.0f) })
    {
        juce::Label label;
        label.setFont (juce::Font (labelHeight, juce::Font::bold));
        auto font = theme().getLabelFont (label);
        EXPECT_FLOAT_EQ (font.getHeight(), fontHeight) << labelHeight;
        EXPECT_TRUE (font.isBold()) << "the label's own font is kept";
    }
}

TEST_F (FernwaveDrawing, IdealPopupMenuItemSizes)
{
    const juce::String text = "Open Folder";
    auto popupFont = theme().getPopupMenuFont();
    ASSERT_FLOAT_EQ (popupFont.getHeight(), 17.0f);

    auto widthAt = [&] (float height)
    { return (int) std::ceil (popupFont.withHeight (height).getStringWidthFloat (text)); };
    EXPECT_LT (widthAt (13 * 0.7692308f), widthAt (17.0f));

    // Separator?, standard item height, ideal width and height. An item is 17 x 1.3 = 22.1
    // rounded; 17 fits under 25 x 0.7692308; at 13 the font shrinks.
    const std::tuple<bool, int, int, int> cases[] = {
        { true, 0, 50, 10 },
        { true, 25, 50, 2 },
        { true, 9, 50, 0 },
        { true, -3, 50, 10 },
        { false, 0, widthAt (17.0f) + 44, 22 },
        { false, 25, widthAt (17.0f) + 50, 25 },
        { false, 13, widthAt (13 * 0.7692308f) + 26, 13 },
    };

    for (auto [isSeparator, standardHeight, width, height] : cases)
    {
        int idealWidth = -1, idealHeight = -1;
        theme().getIdealPopupMenuItemSize (text, isSeparator, standardHeight, idealWidth,
                                           idealHeight);
        EXPECT_EQ (idealWidth, width) << isSeparator << " " << standardHeight;
        EXPECT_EQ (idealHeight, height) << isSeparator << " " << standardHeight;
    }
}

TEST_F (FernwaveDrawing, SeparatorLineSitsBelowHalfTheHeightRoundedToEven)
{
    const auto line = hex (juce::Colour (0xff2d2d2d)), white = hex (juce::Colours::white);

    // Area height, row of the line (height x 0.5 - 0.5, rounded half to even).
    for (auto [height, row] : { std::pair (10, 4), std::pair (11, 5), std::pair (12, 6),
                                std::pair (6, 2), std::pair (2, 0), std::pair (1, 0) })
    {
        auto image = menuItem (60, height, true, true, false, {});

        for (int y = 0; y < height; ++y)
            EXPECT_EQ (hex (image.getPixelAt (30, y)), y == row ? line : white)
                << "height " << height << " row " << y;

        // 5 pixels free on either side.
        expectPixels (image, { { 4, row, 0xffffffff },
                               { 5, row, 0xff2d2d2d },
                               { 54, row, 0xff2d2d2d },
                               { 55, row, 0xffffffff } });
    }
}

TEST_F (FernwaveDrawing, HighlightedItemFillsInsideAOnePixelMarginInItsOwnColours)
{
    // The item's own red gives way to the highlighted text colour 0xFF4E4E4E.
    auto red = juce::Colour (0xffff0000);
    auto image = menuItem (120, 24, false, true, true, block, &red);
    expectPixels (image, { { 1, 1, 0xffd0d0d0 },
                           { 118, 22, 0xffd0d0d0 },
                           { 0, 0, 0xffffffff },
                           { 119, 23, 0xffffffff } });
    // Red text would leave green and blue at 0 in the glyph.
    EXPECT_NEAR (darkestChannel (image, image.getBounds()), 0x4e, 1);

    // An inactive item is not highlighted even when the mouse is over it.
    expectPixels (menuItem (100, 24, false, false, true, {}), { { 1, 1, 0xffffffff } });
}

TEST_F (FernwaveDrawing, DisabledItemTextIsDrawnAtHalfAlpha)
{
    auto enabled = menuItem (120, 30, false, true, false, block);
    auto disabled = menuItem (120, 30, false, false, false, block);

    // 0xFF4E4E4E, and 0x804E4E4E (127.5 rounds to 128) blended over white.
    EXPECT_NEAR (darkestChannel (enabled, enabled.getBounds()), 0x4e, 1);
    auto expectedDisabled = 0x4e * 128 / 255 + 255 * (255 - 128) / 255;
    EXPECT_NEAR (darkestChannel (disabled, disabled.getBounds()), expectedDisabled, 2);
}

TEST_F (FernwaveDrawing, ItemInsetIsAWentiethOfTheWidthUpTo5)
{
    // Same height, so the same font and icon column: only the inset differs, 3 for 60
    // (60 / 20) and 5 for 200.
    auto narrow = menuItem (60, 30, false, true, false, block, nullptr, 200);
    auto wide = menuItem (200, 30, false, true, false, block);

    ASSERT_GE (leftmostInk (narrow), 0);
    EXPECT_EQ (leftmostInk (wide) - leftmostInk (narrow), 2);
}

TEST_F (FernwaveDrawing, MenuBarPopupBackgroundAndResizerBars)
{
    juce::MenuBarComponent bar;

    // Mouse over, menu open: the item fills dark grey only when either is true.
    for (auto [over, open, fill] :
         { std::tuple (false, false, 0xffffffffu), std::tuple (true, false, 0xff555555u),
           std::tuple (false, true, 0xff555555u) })
    {
        auto image = whiteImage (80, 24);
        juce::Graphics g (image);
        theme().drawMenuBarBackground (g, 80, 24, true, bar);
        theme().drawMenuBarItem (g, 80, 24, 0, "File", over, open, true, bar);
        expectPixels (image, { { 0, 0, fill }, { 79, 23, fill } });
    }

    // The pop-up menu's background is the widget background, with no border.
    auto popup = whiteImage (60, 40);
    {
        juce::Graphics g (popup);
        g.fillAll (juce::Colours::black);
        theme().drawPopupMenuBackground (g, 50, 30);
    }
    expectPixels (popup, { { 0, 0, 0xfffafafa },
                           { 49, 29, 0xfffafafa },
                           { 50, 10, 0xff000000 },
                           { 10, 30, 0xff000000 } });

    // Vertical, mouse over, dragging, pixel on a transparent image.
    for (auto [vertical, over, dragging, fill] :
         { std::tuple (false, false, false, 0xffffffffu), std::tuple (true, false, false, 0u),
           std::tuple (true, true, false, 0x1a000000u),
           std::tuple (false, false, true, 0x1a000000u) })
    {
        juce::Image resizer (juce::Image::ARGB, 8, 40, true);
        juce::Graphics g (resizer);
        theme().drawStretchableLayoutResizerBar (g, 8, 40, vertical, over, dragging);
        expectPixels (resizer, { { 4, 20, fill } });
    }
}

TEST_F (FernwaveDrawing, SliderFillsLeftOfTheThumbAndGreysWhenDisabled)
{
    juce::Slider enabled, disabled, child;
    disabled.setEnabled (false);
    juce::Component parent;
    parent.addChildComponent (child);
    parent.setEnabled (false);

    // At the start the whole track is the right fill; the thumb is centred on sliderPos.
    expectPixels (slider (enabled, 20.0f), { { 60, 20, 0x08000000 },
                                             { 220, 20, 0x08000000 },
                                             { 120, 5, 0x00000000 }, // outside the track
                                             { 20, 20, 0xfffdfdff, 2 } });
    expectPixels (slider (enabled, 170.0f), { { 60, 20, 0x4c2a96cc, 6 },
                                              { 150, 20, 0x4c2a96cc, 6 },
                                              { 200, 20, 0x08000000 },
                                              { 170, 20, 0xfffdfdff, 2 } });
    expectPixels (slider (disabled, 170.0f), { { 60, 20, 0x4c000000 }, { 200, 20, 0x1a000000 } });
    expectPixels (slider (child, 170.0f), { { 60, 20, 0x4c000000 } });
}

TEST_F (FernwaveDrawing, ScrollbarThumbIsShrunkBy3AndDarkensOnHoverOrPress)
{
    juce::ScrollBar vertical (true), horizontal (false);
    vertical.setBounds (0, 0, 16, 200);
    horizontal.setBounds (0, 0, 200, 16);

    // Nothing but the thumb: no track, no background.
    expectPixels (scrollbar (vertical, 50, 40), { { 8, 70, 0xffb2b2b2 },
                                                  { 3, 70, 0xffb2b2b2 },
                                                  { 2, 70, 0 },
                                                  { 13, 70, 0 },
                                                  { 8, 52, 0 },
                                                  { 8, 69, 0xffb2b2b2 },
                                                  { 8, 87, 0 },
                                                  { 8, 10, 0 },
                                                  { 8, 150, 0 } });

    expectPixels (scrollbar (horizontal, 50, 40, true, false), { { 70, 8, 0xff949494 } });
    expectPixels (scrollbar (horizontal, 50, 40, false, true), { { 70, 8, 0xff949494 } });
    horizontal.setColour (juce::ScrollBar::thumbColourId, juce::Colour (0xff806040));
    expectPixels (scrollbar (horizontal, 50, 40), { { 70, 8, 0xff806040 } });

    // A thumb of 6 pixels or less across is shrunk to nothing.
    EXPECT_TRUE (isBlank (scrollbar (horizontal, 50, 6)));
    EXPECT_FALSE (isBlank (scrollbar (horizontal, 50, 7)));
    vertical.setBounds (0, 0, 6, 200);
    EXPECT_TRUE (isBlank (scrollbar (vertical, 50, 40)));
}

TEST_F (FernwaveDrawing, ScrollbarThumbSnapsToTheWindowsPixelsNotTheScrollbars)
{
    // A window without a peer maps by translation: the scroll bar sits at (10.25, 5) in it, a
    // quarter pixel off the window's grid, whose pixel edges lie at x = -0.25 + n in the scroll
    // bar. The thumb's left edge (3) moves to 2.75.
    juce::Component window, panel;
    window.setBounds (0, 0, 100, 300);
    window.addAndMakeVisible (panel);
    panel.setBounds (6, 5, 50, 250);
    juce::ScrollBar bar (true);
    panel.addAndMakeVisible (bar);
    bar.setBounds (4, 0, 16, 200);
    bar.setTransform (juce::AffineTransform::translation (0.25f, 0.0f));

    auto image = scrollbar (bar, 50, 40);
    EXPECT_NEAR (image.getPixelAt (2, 70).getAlpha(), 64, 8);
    expectPixels (image, { { 3, 70, 0xffb2b2b2 }, { 1, 70, 0 } });
}
