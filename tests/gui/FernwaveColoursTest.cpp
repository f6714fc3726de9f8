#include "look/FernwaveTheme.h"

#include <gtest/gtest.h>

namespace
{
using UIColour = juce::LookAndFeel_V4::ColourScheme::UIColour;

// Every (colour ID, ARGB) pair the theme sets. 0x1003220 and 0x1003230 are JUCE's contrasting
// (0.2f) and (0.5f) of 0x1fffffff; 0x1001f00 is 0xff4e4e4e interpolatedWith (blue, 0.4f).
const juce::uint32 colourTable[] = {
    // clang-format off
    0x1006501, 0xff4e4e4e, 0x1006502, 0xff4e4e4e, 0x1006503, 0x804e4e4e, 0x1000200, 0xfffafafa,
    0x1000280, 0x00000000, 0x1000281, 0xff4e4e4e, 0x1000282, 0x00000000, 0x1000284, 0xff4e4e4e,
    0x1000300, 0x00000000, 0x1000400, 0xffb2b2b2, 0x1000401, 0x00000000, 0x1000501, 0x00000000,
    0x1000500, 0x00000000, 0x1000502, 0x1a000000, 0x1000503, 0x00000000, 0x1000504, 0x00000000,
    0x1000505, 0x00000000, 0x1008300, 0xfffafafa, 0x1008301, 0xff4e4e4e, 0x100e401, 0xfffafafa,
    0x100e402, 0xff4e4e4e, 0x100e403, 0x1a000000, 0x100e801, 0xfffafafa, 0x100e803, 0x1a000000,
    0x1002800, 0xfffafafa, 0x1002810, 0x1a000000, 0x1002820, 0xff4e4e4e, 0x1001200, 0xfffafafa,
    0x1001310, 0xff868787, 0x1001400, 0xff4e4e4e, 0x1001500, 0x00fafafa, 0x1001600, 0x66464747,
    0x1001700, 0x1a000000, 0x1005700, 0xfff5f5f5, 0x1005701, 0xff4e4e4e, 0x1001800, 0xfffafafa,
    0x1001810, 0xff4e4e4e, 0x1001820, 0x1a000000, 0x1001900, 0xfffafafa, 0x1001a00, 0xff868787,
    0x1001b00, 0xff868787, 0x1001c00, 0xff404040, 0x1001c10, 0x00000000, 0x1005800, 0x00000000,
    0x1005801, 0x1a000000, 0x1005812, 0x80000000, 0x1005814, 0x1a000000, 0x1003200, 0xff5f5f66,
    0x1003210, 0xffc4c4c4, 0x1003220, 0x4d515151, 0x1003230, 0x901a1a1a, 0x1003240, 0xffc4c4c4,
    0x1003250, 0xffc4c4c4, 0x1004010, 0xff4e4e4e, 0x1004013, 0xff404040, 0x1004011, 0x00000000,
    0x1004012, 0xff868787, 0x1001f00, 0xff2e2e94, 0x1005400, 0x1a000000, 0x1005410, 0xff4e4e4e,
    0x1000af0, 0xfffafafa, 0x1000af1, 0x1a000000, 0x1000540, 0xff868787, 0x1000541, 0xff4e4e4e,
    0x1000542, 0xff404040, 0x1000440, 0xff464747, 0x1000441, 0x1a000000, 0x1004500, 0xfffafafa,
    0x1004502, 0x66464747, 0x1004503, 0xff4e4e4e, 0x1004504, 0x80868787, 0x1004505, 0xff464747,
    0x1007000, 0xfffafafa, 0x1007001, 0xff4e4e4e, 0x100ad00, 0xfffafafa, 0x100ad01, 0xff4e4e4e,
    0x1004100, 0xfff5f5f5, 0x1000850, 0xff4e4e4e, 0x100f001, 0xfffafafa, 0x100f002, 0xff4e4e4e,
    0x100f003, 0xffb2b2b2, 0x100f004, 0xff464747, 0x100f005, 0xff323232, 0x100f006, 0xff7a7b7b,
    0x1000640, 0xfff5f5f5, 0x1000641, 0xff4e4e4e, 0x1000642, 0xff4e4e4e, 0x1000643, 0xfff5f5f5,
    0x1000644, 0xff4e4e4e, 0x1000201, 0xff4e4e4e, 0x1000202, 0x3327a4bf, 0x1000203, 0xff4e4e4e,
    0x1000205, 0x99000000, 0x1000206, 0x1a000000, 0x1000207, 0x00000000, 0x1000204, 0xff4e4e4e,
    0x1000700, 0xfffafafa, 0x1000600, 0xff4e4e4e, 0x1000601, 0xfffafafa, 0x1000800, 0xff4e4e4e,
    0x1000900, 0xffd0d0d0, 0x1000100, 0xfffafafa, 0x1000101, 0xfffafafa, 0x1000103, 0xff4e4e4e,
    0x1000102, 0xff4e4e4e, 0x1000d00, 0x1a000000, 0x1000c00, 0x1a000000, 0x1000a00, 0xff4e4e4e,
    0x1000b00, 0xfffafafa, 0x1000e00, 0xff4e4e4e, 0x1000f00, 0x1a000000,
    // clang-format on
};
static_assert (std::size (colourTable) == 2 * 111);
} // namespace

TEST (FernwaveColours, TableSchemeAndHeaderColours)
{
    FernwaveTheme theme;
    auto hex = [] (juce::Colour colour) { return colour.toDisplayString (true).toStdString(); };

    for (size_t i = 0; i < std::size (colourTable); i += 2)
        EXPECT_EQ (hex (theme.findColour ((int) colourTable[i])),
                   hex (juce::Colour (colourTable[i + 1])))
            << std::hex << colourTable[i];

    // The scheme in UIColour order (windowBackground, widgetBackground, menuBackground,
    // outline, defaultText, defaultFill, highlightedText, highlightedFill, menuText), then the
    // header, header text and header overlay colours.
    std::string colours;
    for (int i = 0; i < 9; ++i)
        colours += hex (theme.getCurrentColourScheme().getUIColour ((UIColour) i)) + " ";
    for (auto colour : { theme.headerColour, theme.headerTextColour, theme.headerOverlayColour })
        colours += hex (colour) + " ";
    EXPECT_EQ (colours, "FFF5F5F5 FFFAFAFA FFF5F5F5 1A000000 FF4E4E4E FF464747 FF404040 FF868787 "
                        "FF4E4E4E FF5F5F66 FFC4C4C4 1FFFFFFF ");

    // IDs the table leaves alone (two of the label's and of the slider's) keep the default dark
    // theme's values: the theme must not re-run JUCE's colour set-up with its light scheme.
    juce::LookAndFeel_V4 base;

    for (int id : { 0x1000283, 0x1000285, 0x1001300, 0x1001311 })
        EXPECT_EQ (hex (theme.findColour (id)), hex (base.findColour (id))) << std::hex << id;
}
