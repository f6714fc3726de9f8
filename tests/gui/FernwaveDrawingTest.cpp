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

    juce::Image paintMenuItem (int width, int height, bool isSeparator, bool isActive,
                               bool isHighlighted, const juce::String& text,
                               const juce::Colour* textColour = nullptr, int imageWidth = 0)
    {
        auto image = whiteImage (juce::jmax (width, imageWidth), height);
        juce::Graphics g (image);
        theme().drawPopupMenuItem (g, { 0, 0, width, height }, isSeparator, isActive, isHighlighted,
                                   false, false, text, {}, nullptr, textColour);
        return image;
    }

    static std::unique_ptr<ScopedInstalledTheme> installed;
};

std::unique_ptr<ScopedInstalledTheme> FernwaveDrawing::installed;
} // namespace

TEST_F (FernwaveDrawing, ButtonAndLabelFontHeights)
{
    juce::TextButton button;

    // Button height, font height (min (17, height - 4), and JUCE's floor of 0.1).
    const std::pair<int, float> buttons[] = { { 30, 17.0f }, { 21, 17.0f }, { 20, 16.0f },
                                              { 12, 8.0f },  { 4, 0.1f },   { 0, 0.1f } };

    for (auto [buttonHeight, fontHeight] : buttons)
    {
        auto font = theme().getTextButtonFont (button, buttonHeight);
        EXPECT_FLOAT_EQ (font.getHeight(), fontHeight) << buttonHeight;
        EXPECT_EQ (font.getTypefaceName(), juce::Font::getDefaultSansSerifFontName());
    }

    const std::pair<float, float> labels[] = {
        { 12.0f, 17.0f }, { 17.0f, 17.0f }, { 17.5f, 17.5f }, { 20.0f, 20.0f }
    };

    for (auto [labelHeight, fontHeight] : labels)
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
    // Separators: standard item height, ideal width and height.
    const std::tuple<int, int, int> separators[] = {
        { 0, 50, 10 }, { 25, 50, 2 }, { 9, 50, 0 }, { -3, 50, 10 }
    };

    for (auto [standardHeight, width, height] : separators)
    {
        int idealWidth = -1, idealHeight = -1;
        theme().getIdealPopupMenuItemSize ("ignored", true, standardHeight, idealWidth,
                                           idealHeight);
        EXPECT_EQ (idealWidth, width) << standardHeight;
        EXPECT_EQ (idealHeight, height) << standardHeight;
    }

    const juce::String text = "Open Folder";
    auto popupFont = theme().getPopupMenuFont();
    ASSERT_FLOAT_EQ (popupFont.getHeight(), 17.0f);

    auto widthAt = [&] (float height)
    { return (int) std::ceil (popupFont.withHeight (height).getStringWidthFloat (text)); };
    EXPECT_LT (widthAt (13 * 0.7692308f), widthAt (17.0f));

    // Items: 17 x 1.3 = 22.1 rounds to 22; 17 fits under 25 x 0.7692308; at 13 the font shrinks.
    const std::tuple<int, float, int> items[] = { { 0, 17.0f, 22 },
                                                  { 25, 17.0f, 25 },
                                                  { 13, 13 * 0.7692308f, 13 } };

    for (auto [standardHeight, fontHeight, height] : items)
    {
        int idealWidth = -1, idealHeight = -1;
        theme().getIdealPopupMenuItemSize (text, false, standardHeight, idealWidth, idealHeight);
        EXPECT_EQ (idealHeight, height) << standardHeight;
        EXPECT_EQ (idealWidth, widthAt (fontHeight) + 2 * height) << standardHeight;
    }
}

TEST_F (FernwaveDrawing, SeparatorLineSitsBelowHalfTheHeightRoundedToEven)
{
    const auto line = hex (juce::Colour (0xff2d2d2d)), white = hex (juce::Colours::white);

    // Area height, row of the line (height x 0.5 - 0.5, rounded half to even).
    const std::pair<int, int> cases[] = { { 10, 4 }, { 11, 5 }, { 12, 6 },
                                          { 6, 2 },  { 2, 0 },  { 1, 0 } };

    for (auto [height, row] : cases)
    {
        auto image = paintMenuItem (60, height, true, true, false, {});

        for (int y = 0; y < height; ++y)
            EXPECT_EQ (hex (image.getPixelAt (30, y)), y == row ? line : white)
                << "height " << height << " row " << y;

        // 5 pixels free on either side.
        EXPECT_EQ (hex (image.getPixelAt (4, row)), white);
        EXPECT_EQ (hex (image.getPixelAt (5, row)), line);
        EXPECT_EQ (hex (image.getPixelAt (54, row)), line);
        EXPECT_EQ (hex (image.getPixelAt (55, row)), white);
    }
}

TEST_F (FernwaveDrawing, HighlightedItemFillsInsideAOnePixelMarginInItsOwnColours)
{
    // The item's own red gives way to the highlighted text colour 0xFF4E4E4E.
    auto red = juce::Colour (0xffff0000);
    auto image = paintMenuItem (120, 24, false, true, true, block, &red);
    EXPECT_EQ (hex (image.getPixelAt (1, 1)), "FFD0D0D0");
    EXPECT_EQ (hex (image.getPixelAt (118, 22)), "FFD0D0D0");
    EXPECT_EQ (hex (image.getPixelAt (0, 0)), "FFFFFFFF");
    EXPECT_EQ (hex (image.getPixelAt (119, 23)), "FFFFFFFF");
    EXPECT_NEAR (darkestChannel (image, image.getBounds()), 0x4e, 1);

    for (int y = 0; y < 24; ++y)
        for (int x = 0; x < 120; ++x)
            ASSERT_LE (image.getPixelAt (x, y).getRed(), image.getPixelAt (x, y).getGreen() + 40)
                << "red at " << x << "," << y;

    // An inactive item is not highlighted even when the mouse is over it.
    EXPECT_EQ (hex (paintMenuItem (100, 24, false, false, true, {}).getPixelAt (1, 1)), "FFFFFFFF");
}

TEST_F (FernwaveDrawing, DisabledItemTextIsDrawnAtHalfAlpha)
{
    auto enabled = paintMenuItem (120, 30, false, true, false, block);
    auto disabled = paintMenuItem (120, 30, false, false, false, block);

    // 0xFF4E4E4E, and 0x804E4E4E (127.5 rounds to 128) blended over white.
    EXPECT_NEAR (darkestChannel (enabled, enabled.getBounds()), 0x4e, 1);
    auto expectedDisabled = 0x4e * 128 / 255 + 255 * (255 - 128) / 255;
    EXPECT_NEAR (darkestChannel (disabled, disabled.getBounds()), expectedDisabled, 2);
}

TEST_F (FernwaveDrawing, ItemInsetIsAWentiethOfTheWidthUpTo5)
{
    // Same height, so the same font and icon column: only the inset differs, 3 for 60
    // (60 / 20) and 5 for 200.
    auto narrow = paintMenuItem (60, 30, false, true, false, block, nullptr, 200);
    auto wide = paintMenuItem (200, 30, false, true, false, block);

    ASSERT_GE (leftmostInk (narrow), 0);
    EXPECT_EQ (leftmostInk (wide) - leftmostInk (narrow), 2);
}

TEST_F (FernwaveDrawing, MenuBarItemFillsOnlyWhenOpenOrHovered)
{
    juce::MenuBarComponent bar;

    const std::tuple<bool, bool, const char*> cases[] = { { false, false, "FFFFFFFF" },
                                                          { true, false, "FF555555" },
                                                          { false, true, "FF555555" } };

    for (auto [isMouseOverItem, isMenuOpen, corner] : cases)
    {
        auto image = whiteImage (80, 24);
        juce::Graphics g (image);
        theme().drawMenuBarBackground (g, 80, 24, true, bar);
        theme().drawMenuBarItem (g, 80, 24, 0, "File", isMouseOverItem, isMenuOpen, true, bar);
        EXPECT_EQ (hex (image.getPixelAt (0, 0)), corner);
        EXPECT_EQ (hex (image.getPixelAt (79, 23)), corner);
    }
}

TEST_F (FernwaveDrawing, PopupMenuBackgroundAndResizerBars)
{
    auto image = whiteImage (60, 40);
    {
        juce::Graphics g (image);
        g.fillAll (juce::Colours::black);
        theme().drawPopupMenuBackground (g, 50, 30);
    }

    // The widget background, no border, nothing outside.
    EXPECT_EQ (hex (image.getPixelAt (0, 0)), "FFFAFAFA");
    EXPECT_EQ (hex (image.getPixelAt (49, 29)), "FFFAFAFA");
    EXPECT_EQ (hex (image.getPixelAt (50, 10)), "FF000000");
    EXPECT_EQ (hex (image.getPixelAt (10, 30)), "FF000000");

    // Vertical, mouse over, dragging, pixel on a transparent image.
    const std::tuple<bool, bool, bool, const char*> bars[] = {
        { false, false, false, "FFFFFFFF" },
        { true, false, false, "00000000" },
        { true, true, false, "1A000000" },
        { false, false, true, "1A000000" },
    };

    for (auto [vertical, over, dragging, expected] : bars)
    {
        juce::Image bar (juce::Image::ARGB, 8, 40, true);
        juce::Graphics g (bar);
        theme().drawStretchableLayoutResizerBar (g, 8, 40, vertical, over, dragging);
        EXPECT_EQ (hex (bar.getPixelAt (4, 20)), expected) << vertical << over << dragging;
    }
}
