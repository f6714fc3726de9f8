#include "look/EmbeddedFont.h"
#include "look/FernwaveTheme.h"

#include <gtest/gtest.h>

namespace
{
using Pixel = std::tuple<int, int, juce::uint32, int>;

Pixel px (int x, int y, juce::uint32 argb, int tolerance = 1)
{
    return { x, y, argb, tolerance };
}

/** Each premultiplied channel of each pixel within its tolerance of the expected colour. */
void expectPixels (const juce::Image& image, std::initializer_list<Pixel> pixels)
{
    for (auto [x, y, argb, tolerance] : pixels)
    {
        auto a = image.getPixelAt (x, y).getPixelARGB(), e = juce::Colour (argb).getPixelARGB();
        auto off = juce::jmax (
            std::abs (a.getAlpha() - e.getAlpha()), std::abs (a.getRed() - e.getRed()),
            std::abs (a.getGreen() - e.getGreen()), std::abs (a.getBlue() - e.getBlue()));
        EXPECT_LE (off, tolerance) << "at " << x << "," << y << ", premultiplied: " << std::hex
                                   << a.getInARGBMaskOrder() << " not " << e.getInARGBMaskOrder();
    }
}
} // namespace

TEST (FernwaveDrawing, FontsAndPopupMenus)
{
    // Installed as the application does, so text is drawn in the embedded font.
    FernwaveTheme theme;
    ASSERT_TRUE (installEmbeddedFont (theme));
    juce::Desktop::getInstance().setDefaultLookAndFeel (&theme);
    juce::TextButton button;
    juce::Label small, large;
    small.setFont (juce::Font (16.5f, juce::Font::bold));
    large.setFont (juce::Font (20.0f));

    // A button's font is 17 high at most, else 4 less than the button; a label keeps its own
    // font, but never below 17.
    EXPECT_FLOAT_EQ (theme.getTextButtonFont (button, 30).getHeight(), 17.0f);
    EXPECT_FLOAT_EQ (theme.getTextButtonFont (button, 20).getHeight(), 16.0f);
    EXPECT_FLOAT_EQ (theme.getLabelFont (small).getHeight(), 17.0f);
    EXPECT_TRUE (theme.getLabelFont (small).isBold());
    EXPECT_FLOAT_EQ (theme.getLabelFont (large).getHeight(), 20.0f);

    // Separator?, standard item height, ideal height; a separator is 50 wide.
    for (auto [separator, standardHeight, height] :
         { std::tuple (true, 0, 10), std::tuple (true, 25, 2), std::tuple (false, 0, 22),
           std::tuple (false, 25, 25) })
    {
        int width = 0, idealHeight = 0;
        theme.getIdealPopupMenuItemSize ("Open Folder", separator, standardHeight, width,
                                         idealHeight);
        EXPECT_EQ (idealHeight, height) << separator << " " << standardHeight;
        EXPECT_TRUE (width == 50 || ! separator) << width;
    }

    juce::Image image (juce::Image::ARGB, 120, 93, true);
    juce::Graphics g (image);
    auto item = [&] (int y, int height, bool separator, bool active, bool highlighted,
                     const juce::Colour* colour = nullptr)
    {
        theme.drawPopupMenuItem (g, { 0, y, 120, height }, separator, active, highlighted, false,
                                 false, juce::CharPointer_UTF8 ("\xe2\x96\x88"), {}, nullptr,
                                 colour);
    };

    // Top down: separators 10 and 11 high; items 24 high, highlighted with red text of its own,
    // inactive under the mouse, plain. Their text, a block, covers rows 7 to 17 and x = 23 to 33:
    // after a 1-pixel margin, an inset of a twentieth of the width up to 5, a 17-pixel icon column.
    auto red = juce::Colour (0xffff0000);
    item (0, 10, true, true, false);
    item (10, 11, true, true, false);
    item (21, 24, false, true, true, &red);
    item (45, 24, false, false, true);
    item (69, 24, false, true, false);

    // A separator lies 5 pixels in from either side, at height / 2 - 0.5 rounded half to even.
    // The highlighted item is filled inside a one-pixel margin, its text in the highlighted text
    // colour; the inactive one is not highlighted, its text at half alpha.
    expectPixels (image, { px (4, 4, 0), px (5, 4, 0xff2d2d2d), px (114, 4, 0xff2d2d2d),
                           px (115, 4, 0), px (30, 3, 0), px (30, 5, 0), px (30, 14, 0),
                           px (30, 15, 0xff2d2d2d), px (1, 22, 0xffd0d0d0),
                           px (118, 43, 0xffd0d0d0), px (0, 21, 0), px (119, 44, 0),
                           px (28, 33, 0xff4e4e4e), px (1, 46, 0), px (28, 57, 0x804e4e4e),
                           px (28, 81, 0xff4e4e4e), px (22, 81, 0), px (23, 81, 0xff4e4e4e) });
    juce::Desktop::getInstance().setDefaultLookAndFeel (nullptr);
}

TEST (FernwaveDrawing, MenuBarPopupBackgroundResizerBarsAndSliders)
{
    FernwaveTheme theme;
    juce::MenuBarComponent bar;
    juce::Slider enabled, disabled;
    disabled.setEnabled (false);
    juce::Image image (juce::Image::ARGB, 300, 160, true);
    juce::Graphics menuBar (image), popup (image), resizers (image), sliders (image);

    // Menu bar items 80 x 24 at x = 0, 100 and 200: idle, with the mouse over, with the menu
    // open; a pop-up's background 50 x 30 at (100, 30); resizer bars 8 x 40 at y = 30 and
    // x = 0, 10, 20, 30; sliders at x = 20, 200 wide, thumb at 170, at y = 80 and 120.
    theme.drawMenuBarBackground (menuBar, 300, 24, true, bar);

    for (auto [over, open] :
         { std::pair (false, false), std::pair (true, false), std::pair (false, true) })
    {
        theme.drawMenuBarItem (menuBar, 80, 24, 0, "File", over, open, true, bar);
        menuBar.setOrigin ({ 100, 0 });
    }

    popup.setOrigin ({ 100, 30 });
    theme.drawPopupMenuBackground (popup, 50, 30);
    resizers.setOrigin ({ 0, 30 });

    for (auto [vertical, over, dragging] :
         { std::tuple (false, false, false), std::tuple (true, false, false),
           std::tuple (true, true, false), std::tuple (false, false, true) })
    {
        theme.drawStretchableLayoutResizerBar (resizers, 8, 40, vertical, over, dragging);
        resizers.setOrigin ({ 10, 0 });
    }

    for (auto* slider : { &enabled, &disabled })
        theme.drawLinearSlider (sliders, 20, slider == &enabled ? 80 : 120, 200, 40, 170.0f, 0, 0,
                                juce::Slider::LinearHorizontal, *slider);

    // The menu bar's background is not painted; an item is filled while hovered or open. The
    // pop-up's background fills its size. A resizer bar is white when horizontal and idle, not
    // painted when vertical and idle, outlined while used. A slider's track (10 to 230) is
    // filled left of the thumb, greyed when disabled.
    expectPixels (image,
                  { px (79, 23, 0), px (90, 10, 0), px (100, 0, 0xff555555),
                    px (200, 0, 0xff555555), px (100, 30, 0xfffafafa), px (149, 59, 0xfffafafa),
                    px (150, 40, 0), px (110, 60, 0), px (4, 50, 0xffffffff), px (14, 50, 0),
                    px (24, 50, 0x1a000000), px (34, 50, 0x1a000000), px (60, 100, 0x4c2a96cc, 3),
                    px (200, 100, 0x08000000), px (170, 100, 0xfffdfdff, 2),
                    px (60, 140, 0x4c000000), px (200, 140, 0x1a000000) });
}

TEST (FernwaveDrawing, ScrollbarThumbs)
{
    FernwaveTheme theme; // the default, as the scroll bars take their colour from it
    juce::Desktop::getInstance().setDefaultLookAndFeel (&theme);
    juce::Image image (juce::Image::ARGB, 200, 220, true);
    juce::Graphics g (image);
    auto thumb = [&] (juce::ScrollBar& bar, int x, int y, bool over, bool down)
    {
        juce::Graphics::ScopedSaveState state (g);
        g.setOrigin ({ x, y });
        theme.drawScrollbar (g, bar, 0, 0, bar.getWidth(), bar.getHeight(), bar.isVertical(), 50,
                             40, over, down);
    };

    // Thumbs from 50 to 90 on bars 16 across, shrunk by 3 on every side, with no track or
    // background: vertical at x = 0 (idle), 20 (mouse over) and 40 (the bar's own colour),
    // horizontal at y = 200 (pressed).
    juce::ScrollBar vertical (true), horizontal (false);
    vertical.setBounds (0, 0, 16, 200);
    horizontal.setBounds (0, 0, 200, 16);
    thumb (vertical, 0, 0, false, false);
    thumb (vertical, 20, 0, true, false);
    thumb (horizontal, 0, 200, false, true);
    vertical.setColour (juce::ScrollBar::thumbColourId, juce::Colour (0xff806040));
    thumb (vertical, 40, 0, false, false);

    // At x = 60, a bar at x = 10.25 in its window on screen: snapped to the window's pixels,
    // its thumb's left edge 3 moves to 2.75, a quarter into column 62.
    juce::Component window;
    window.setBounds (0, 0, 100, 300);
    window.addToDesktop (0);
    juce::ScrollBar bar (true);
    window.addAndMakeVisible (bar);
    bar.setBounds (10, 0, 16, 200);
    bar.setTransform (juce::AffineTransform::translation (0.25f, 0.0f));
    thumb (bar, 60, 0, false, false);

    expectPixels (image,
                  { px (3, 70, 0xffb2b2b2), px (12, 70, 0xffb2b2b2), px (2, 70, 0), px (13, 70, 0),
                    px (8, 52, 0), px (8, 87, 0), px (8, 150, 0), px (28, 70, 0xff949494),
                    px (70, 208, 0xff949494), px (48, 70, 0xff806040), px (62, 70, 0x40b2b2b2, 8),
                    px (63, 70, 0xffb2b2b2), px (61, 70, 0) });
    juce::Desktop::getInstance().setDefaultLookAndFeel (nullptr);
}
