#include "LookTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace look_test_support;

namespace
{
std::string hex (juce::Colour colour)
{
    return colour.toDisplayString (true).toStdString();
}

class FernwaveDrawing : public ::testing::Test
{
protected:
    static void SetUpTestSuite() { installed = std::make_unique<ScopedInstalledTheme>(); }
    static void TearDownTestSuite() { installed.reset(); }

    FernwaveTheme& theme() { return installed->theme; }

    juce::Image paintMenuItem (juce::Rectangle<int> area, bool isSeparator, bool isActive,
                               bool isHighlighted, const juce::String& text,
                               juce::Rectangle<int> imageSize = {})
    {
        if (imageSize.isEmpty())
            imageSize = area;

        auto image = whiteImage (imageSize.getWidth(), imageSize.getHeight());
        juce::Graphics g (image);
        theme().drawPopupMenuItem (g, area, isSeparator, isActive, isHighlighted, false, false,
                                   text, {}, nullptr, nullptr);
        return image;
    }

    static std::unique_ptr<ScopedInstalledTheme> installed;
};

std::unique_ptr<ScopedInstalledTheme> FernwaveDrawing::installed;
} // namespace

TEST_F (FernwaveDrawing, TextButtonFontHeight)
{
    juce::TextButton button;
    const std::pair<int, float> cases[] = { { 30, 17.0f }, { 21, 17.0f }, { 20, 16.0f },
                                            { 12, 8.0f },  { 4, 0.1f },   { 0, 0.1f } };

    for (auto [buttonHeight, fontHeight] : cases)
    {
        auto font = theme().getTextButtonFont (button, buttonHeight);
        EXPECT_FLOAT_EQ (font.getHeight(), fontHeight) << buttonHeight;
        EXPECT_EQ (font.getTypefaceName(), juce::Font::getDefaultSansSerifFontName());
    }
}

TEST_F (FernwaveDrawing, LabelFontIsAtLeast17High)
{
    const std::pair<float, float> cases[] = {
        { 12.0f, 17.0f }, { 17.0f, 17.0f }, { 17.5f, 17.5f }, { 20.0f, 20.0f }
    };

    for (auto [labelHeight, fontHeight] : cases)
    {
        juce::Label label;
        label.setFont (juce::Font (labelHeight, juce::Font::bold));
        auto font = theme().getLabelFont (label);
        EXPECT_FLOAT_EQ (font.getHeight(), fontHeight) << labelHeight;
        EXPECT_TRUE (font.isBold()) << "the label's own font is kept";
    }
}

TEST_F (FernwaveDrawing, IdealSizeOfASeparator)
{
    const std::tuple<int, int, int> cases[] = {
        { 0, 50, 10 }, { 25, 50, 2 }, { 9, 50, 0 }, { -3, 50, 10 }
    };

    for (auto [standardHeight, width, height] : cases)
    {
        int idealWidth = -1, idealHeight = -1;
        theme().getIdealPopupMenuItemSize ("ignored", true, standardHeight, idealWidth,
                                           idealHeight);
        EXPECT_EQ (idealWidth, width) << standardHeight;
        EXPECT_EQ (idealHeight, height) << standardHeight;
    }
}

TEST_F (FernwaveDrawing, IdealSizeOfAnItem)
{
    const juce::String text = "Open Folder";
    auto popupFont = theme().getPopupMenuFont();
    ASSERT_FLOAT_EQ (popupFont.getHeight(), 17.0f);

    auto widthAt = [&] (float height)
    { return (int) std::ceil (popupFont.withHeight (height).getStringWidthFloat (text)); };

    // standardMenuItemHeight, expected font height, expected item height
    const std::tuple<int, float, int> cases[] = {
        { 0, 17.0f, 22 },           // 17 x 1.3 = 22.1, rounded
        { 25, 17.0f, 25 },          // 17 is under 25 x 0.7692308
        { 13, 13 * 0.7692308f, 13 } // the font shrinks to fit the item
    };

    for (auto [standardHeight, fontHeight, height] : cases)
    {
        int idealWidth = -1, idealHeight = -1;
        theme().getIdealPopupMenuItemSize (text, false, standardHeight, idealWidth, idealHeight);
        EXPECT_EQ (idealHeight, height) << standardHeight;
        EXPECT_EQ (idealWidth, widthAt (fontHeight) + 2 * height) << standardHeight;
    }

    EXPECT_LT (widthAt (13 * 0.7692308f), widthAt (17.0f));
}

TEST_F (FernwaveDrawing, SeparatorLineSitsBelowHalfTheHeightRoundedToEven)
{
    // area height, row of the line (height x 0.5 - 0.5, rounded half to even)
    const std::pair<int, int> cases[] = { { 10, 4 }, { 11, 5 }, { 12, 6 },
                                          { 6, 2 },  { 2, 0 },  { 1, 0 } };

    for (auto [height, row] : cases)
    {
        auto image = paintMenuItem ({ 0, 0, 60, height }, true, true, false, {});

        for (int y = 0; y < height; ++y)
        {
            auto expected = y == row ? juce::Colour (0xff2d2d2d) : juce::Colours::white;
            EXPECT_EQ (hex (image.getPixelAt (30, y)), hex (expected))
                << "height " << height << " row " << y;
        }

        // 5 pixels free on either side.
        EXPECT_EQ (hex (image.getPixelAt (4, row)), hex (juce::Colours::white));
        EXPECT_EQ (hex (image.getPixelAt (5, row)), hex (juce::Colour (0xff2d2d2d)));
        EXPECT_EQ (hex (image.getPixelAt (54, row)), hex (juce::Colour (0xff2d2d2d)));
        EXPECT_EQ (hex (image.getPixelAt (55, row)), hex (juce::Colours::white));
    }
}

TEST_F (FernwaveDrawing, HighlightedItemFillsInsideAOnePixelMargin)
{
    auto active = paintMenuItem ({ 0, 0, 100, 24 }, false, true, true, {});
    EXPECT_EQ (hex (active.getPixelAt (1, 1)), "FFD0D0D0");
    EXPECT_EQ (hex (active.getPixelAt (98, 22)), "FFD0D0D0");
    EXPECT_EQ (hex (active.getPixelAt (0, 0)), "FFFFFFFF");
    EXPECT_EQ (hex (active.getPixelAt (99, 23)), "FFFFFFFF");

    // An inactive item is not highlighted even when the mouse is over it.
    auto inactive = paintMenuItem ({ 0, 0, 100, 24 }, false, false, true, {});
    EXPECT_EQ (hex (inactive.getPixelAt (1, 1)), "FFFFFFFF");
}

TEST_F (FernwaveDrawing, DisabledItemTextIsDrawnAtHalfAlpha)
{
    // A full block glyph covers whole pixels, so its darkest pixel is the text colour over white.
    const juce::String block = juce::CharPointer_UTF8 ("\xe2\x96\x88\xe2\x96\x88");
    auto enabled = paintMenuItem ({ 0, 0, 120, 30 }, false, true, false, block);
    auto disabled = paintMenuItem ({ 0, 0, 120, 30 }, false, false, false, block);

    // 0xFF4E4E4E, and 0x804E4E4E (127.5 rounds to 128) blended over white.
    EXPECT_NEAR (darkestChannel (enabled, enabled.getBounds()), 0x4e, 1);
    auto expectedDisabled = 0x4e * 128 / 255 + 255 * (255 - 128) / 255;
    EXPECT_NEAR (darkestChannel (disabled, disabled.getBounds()), expectedDisabled, 2);
}

TEST_F (FernwaveDrawing, HighlightedItemTextUsesTheHighlightedTextColour)
{
    const juce::String block = juce::CharPointer_UTF8 ("\xe2\x96\x88");
    auto image = whiteImage (120, 30);
    juce::Graphics g (image);
    auto red = juce::Colour (0xffff0000);
    theme().drawPopupMenuItem (g, { 0, 0, 120, 30 }, false, true, true, false, false, block, {},
                               nullptr, &red);

    // The item's own colour gives way to the highlighted text colour 0xFF4E4E4E.
    EXPECT_NEAR (darkestChannel (image, image.getBounds()), 0x4e, 1);
    bool anyRed = false;
    for (int x = 0; x < 120; ++x)
        for (int y = 0; y < 30; ++y)
            anyRed = anyRed ||
                     image.getPixelAt (x, y).getRed() > image.getPixelAt (x, y).getGreen() + 40;
    EXPECT_FALSE (anyRed);
}

TEST_F (FernwaveDrawing, ItemInsetIsAWentiethOfTheWidthUpTo5)
{
    const juce::String block = juce::CharPointer_UTF8 ("\xe2\x96\x88");
    // Same height, so the same font and icon column: only the inset differs, 3 for 60
    // (60 / 20) and 5 for 200.
    auto narrow = paintMenuItem ({ 0, 0, 60, 30 }, false, true, false, block, { 0, 0, 200, 30 });
    auto wide = paintMenuItem ({ 0, 0, 200, 30 }, false, true, false, block);

    auto narrowInk = leftmostInk (narrow, narrow.getBounds());
    auto wideInk = leftmostInk (wide, wide.getBounds());
    ASSERT_GE (narrowInk, 0);
    EXPECT_EQ (wideInk - narrowInk, 2);
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

TEST_F (FernwaveDrawing, ResizerBarFill)
{
    // vertical, mouse over, dragging, expected pixel on a transparent image
    const std::tuple<bool, bool, bool, const char*> cases[] = {
        { false, false, false, "FFFFFFFF" },
        { true, false, false, "00000000" },
        { true, true, false, "1A000000" },
        { false, false, true, "1A000000" },
    };

    for (auto [vertical, over, dragging, expected] : cases)
    {
        juce::Image image (juce::Image::ARGB, 8, 40, true);
        juce::Graphics g (image);
        theme().drawStretchableLayoutResizerBar (g, 8, 40, vertical, over, dragging);
        EXPECT_EQ (hex (image.getPixelAt (4, 20)), expected) << vertical << over << dragging;
    }
}

TEST_F (FernwaveDrawing, PopupMenuBackgroundIsTheWidgetBackgroundWithoutBorder)
{
    auto image = whiteImage (60, 40);
    juce::Graphics g (image);
    g.fillAll (juce::Colours::black);
    theme().drawPopupMenuBackground (g, 50, 30);

    EXPECT_EQ (hex (image.getPixelAt (0, 0)), "FFFAFAFA");
    EXPECT_EQ (hex (image.getPixelAt (49, 29)), "FFFAFAFA");
    EXPECT_EQ (hex (image.getPixelAt (50, 10)), "FF000000");
    EXPECT_EQ (hex (image.getPixelAt (10, 30)), "FF000000");
}
