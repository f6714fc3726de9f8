#include "look/FernwaveColours.h"
#include "look/FernwaveTheme.h"

#include <gtest/gtest.h>

#include <set>

namespace
{
enum class Expected
{
    fixed,
    overlayContrasting02,
    overlayContrasting05,
    textTowardsBlue
};

struct ColourCase
{
    int row;
    int colourId;
    juce::uint32 argb;
    Expected kind;
};

// Every setting of the theme's colour table, in the order it is applied.
const ColourCase colourTable[] = {
    { 1, 0x1006501, 0xff4e4e4e, Expected::fixed },
    { 2, 0x1006502, 0xff4e4e4e, Expected::fixed },
    { 3, 0x1006503, 0x804e4e4e, Expected::fixed },
    { 4, 0x1000200, 0xfffafafa, Expected::fixed },
    { 5, 0x1000280, 0x00000000, Expected::fixed },
    { 6, 0x1000281, 0xff4e4e4e, Expected::fixed },
    { 7, 0x1000282, 0x00000000, Expected::fixed },
    { 8, 0x1000284, 0xff4e4e4e, Expected::fixed },
    { 9, 0x1000300, 0x00000000, Expected::fixed },
    { 10, 0x1000400, 0xffb2b2b2, Expected::fixed },
    { 11, 0x1000401, 0x00000000, Expected::fixed },
    { 12, 0x1000501, 0x00000000, Expected::fixed },
    { 13, 0x1000500, 0x00000000, Expected::fixed },
    { 14, 0x1000502, 0x1a000000, Expected::fixed },
    { 15, 0x1000503, 0x00000000, Expected::fixed },
    { 16, 0x1000504, 0x00000000, Expected::fixed },
    { 17, 0x1000505, 0x00000000, Expected::fixed },
    { 18, 0x1008300, 0xfffafafa, Expected::fixed },
    { 19, 0x1008301, 0xff4e4e4e, Expected::fixed },
    { 20, 0x100E401, 0xfffafafa, Expected::fixed },
    { 21, 0x100E402, 0xff4e4e4e, Expected::fixed },
    { 22, 0x100E403, 0x1a000000, Expected::fixed },
    { 23, 0x100E801, 0xfffafafa, Expected::fixed },
    { 24, 0x100E803, 0x1a000000, Expected::fixed },
    { 25, 0x1002800, 0xfffafafa, Expected::fixed },
    { 26, 0x1002810, 0x1a000000, Expected::fixed },
    { 27, 0x1002820, 0xff4e4e4e, Expected::fixed },
    { 28, 0x1001200, 0xfffafafa, Expected::fixed },
    { 29, 0x1001310, 0xff868787, Expected::fixed },
    { 30, 0x1001400, 0xff4e4e4e, Expected::fixed },
    { 31, 0x1001500, 0x00fafafa, Expected::fixed },
    { 32, 0x1001600, 0x66464747, Expected::fixed },
    { 33, 0x1001700, 0x1a000000, Expected::fixed },
    { 34, 0x1005700, 0xfff5f5f5, Expected::fixed },
    { 35, 0x1005701, 0xff4e4e4e, Expected::fixed },
    { 36, 0x1001800, 0xfffafafa, Expected::fixed },
    { 37, 0x1001810, 0xff4e4e4e, Expected::fixed },
    { 38, 0x1001820, 0x1a000000, Expected::fixed },
    { 39, 0x1001900, 0xfffafafa, Expected::fixed },
    { 40, 0x1001A00, 0xff868787, Expected::fixed },
    { 41, 0x1001B00, 0xff868787, Expected::fixed },
    { 42, 0x1001C00, 0xff404040, Expected::fixed },
    { 43, 0x1001C10, 0x00000000, Expected::fixed },
    { 44, 0x1005800, 0x00000000, Expected::fixed },
    { 45, 0x1005801, 0x1a000000, Expected::fixed },
    { 46, 0x1005812, 0x80000000, Expected::fixed },
    { 47, 0x1005814, 0x1a000000, Expected::fixed },
    { 48, 0x1003200, 0xff5f5f66, Expected::fixed },
    { 49, 0x1003210, 0xffc4c4c4, Expected::fixed },
    { 50, 0x1003220, 0, Expected::overlayContrasting02 },
    { 51, 0x1003230, 0, Expected::overlayContrasting05 },
    { 52, 0x1003240, 0xffc4c4c4, Expected::fixed },
    { 53, 0x1003250, 0xffc4c4c4, Expected::fixed },
    { 54, 0x1004010, 0xff4e4e4e, Expected::fixed },
    { 55, 0x1004013, 0xff404040, Expected::fixed },
    { 56, 0x1004011, 0x00000000, Expected::fixed },
    { 57, 0x1004012, 0xff868787, Expected::fixed },
    { 58, 0x1001F00, 0, Expected::textTowardsBlue },
    { 59, 0x1005400, 0x1a000000, Expected::fixed },
    { 60, 0x1005410, 0xff4e4e4e, Expected::fixed },
    { 61, 0x1000AF0, 0xfffafafa, Expected::fixed },
    { 62, 0x1000AF1, 0x1a000000, Expected::fixed },
    { 63, 0x1000540, 0xff868787, Expected::fixed },
    { 64, 0x1000541, 0xff4e4e4e, Expected::fixed },
    { 65, 0x1000542, 0xff404040, Expected::fixed },
    { 66, 0x1000440, 0xff464747, Expected::fixed },
    { 67, 0x1000441, 0x1a000000, Expected::fixed },
    { 68, 0x1004500, 0xfffafafa, Expected::fixed },
    { 69, 0x1004502, 0x66464747, Expected::fixed },
    { 70, 0x1004503, 0xff4e4e4e, Expected::fixed },
    { 71, 0x1004504, 0x80868787, Expected::fixed },
    { 72, 0x1004505, 0xff464747, Expected::fixed },
    { 73, 0x1007000, 0xfffafafa, Expected::fixed },
    { 74, 0x1007001, 0xff4e4e4e, Expected::fixed },
    { 75, 0x100AD00, 0xfffafafa, Expected::fixed },
    { 76, 0x100AD01, 0xff4e4e4e, Expected::fixed },
    { 77, 0x1004100, 0xfff5f5f5, Expected::fixed },
    { 78, 0x1000850, 0xff4e4e4e, Expected::fixed },
    { 79, 0x100F001, 0xfffafafa, Expected::fixed },
    { 80, 0x100F002, 0xff4e4e4e, Expected::fixed },
    { 81, 0x100F003, 0xffb2b2b2, Expected::fixed },
    { 82, 0x100F004, 0xff464747, Expected::fixed },
    { 83, 0x100F005, 0xff323232, Expected::fixed },
    { 84, 0x100F006, 0xff7a7b7b, Expected::fixed },
    { 85, 0x1000640, 0xfff5f5f5, Expected::fixed },
    { 86, 0x1000641, 0xff4e4e4e, Expected::fixed },
    { 87, 0x1000642, 0xff4e4e4e, Expected::fixed },
    { 88, 0x1000643, 0xfff5f5f5, Expected::fixed },
    { 89, 0x1000644, 0xff4e4e4e, Expected::fixed },
    { 90, 0x1000201, 0xff4e4e4e, Expected::fixed },
    { 91, 0x1000202, 0x3327a4bf, Expected::fixed },
    { 92, 0x1000203, 0xff4e4e4e, Expected::fixed },
    { 93, 0x1000205, 0x99000000, Expected::fixed },
    { 94, 0x1000206, 0x1a000000, Expected::fixed },
    { 95, 0x1000207, 0x00000000, Expected::fixed },
    { 96, 0x1000204, 0xff4e4e4e, Expected::fixed },
    { 97, 0x1000700, 0xfffafafa, Expected::fixed },
    { 98, 0x1000600, 0xff4e4e4e, Expected::fixed },
    { 99, 0x1000601, 0xfffafafa, Expected::fixed },
    { 100, 0x1000800, 0xff4e4e4e, Expected::fixed },
    { 101, 0x1000900, 0xffd0d0d0, Expected::fixed },
    { 102, 0x1000100, 0xfffafafa, Expected::fixed },
    { 103, 0x1000101, 0xfffafafa, Expected::fixed },
    { 104, 0x1000103, 0xff4e4e4e, Expected::fixed },
    { 105, 0x1000102, 0xff4e4e4e, Expected::fixed },
    { 106, 0x1000D00, 0x1a000000, Expected::fixed },
    { 107, 0x1000C00, 0x1a000000, Expected::fixed },
    { 108, 0x1000A00, 0xff4e4e4e, Expected::fixed },
    { 109, 0x1000B00, 0xfffafafa, Expected::fixed },
    { 110, 0x1000E00, 0xff4e4e4e, Expected::fixed },
    { 111, 0x1000F00, 0x1a000000, Expected::fixed },
};

juce::Colour expectedColour (const ColourCase& c)
{
    // These three are left to JUCE's colour arithmetic, applied to the theme's inputs.
    switch (c.kind)
    {
        case Expected::overlayContrasting02:
            return juce::Colour (0x1fffffff).contrasting (0.2f);
        case Expected::overlayContrasting05:
            return juce::Colour (0x1fffffff).contrasting (0.5f);
        case Expected::textTowardsBlue:
            return juce::Colour (0xff4e4e4e).interpolatedWith (juce::Colour (0xff0000ff), 0.4f);
        case Expected::fixed:
            break;
    }

    return juce::Colour (c.argb);
}

std::string hex (juce::Colour colour)
{
    return colour.toDisplayString (true).toStdString();
}

std::string rowName (const ::testing::TestParamInfo<ColourCase>& param)
{
    return "row" + std::to_string (param.param.row);
}

class FernwaveColourTable : public ::testing::TestWithParam<ColourCase>
{
};
} // namespace

TEST_P (FernwaveColourTable, ThemeGivesTheTablesColour)
{
    FernwaveTheme theme;
    const auto& c = GetParam();

    ASSERT_TRUE (theme.isColourSpecified (c.colourId));
    EXPECT_EQ (hex (theme.findColour (c.colourId)), hex (expectedColour (c)))
        << "row " << c.row << ", colour id 0x" << std::hex << c.colourId;
}

INSTANTIATE_TEST_SUITE_P (AllSettings, FernwaveColourTable, ::testing::ValuesIn (colourTable),
                          rowName);

TEST (FernwaveColours, SettingsComeInTheTablesOrderWithoutRepeats)
{
    FernwaveTheme theme;
    auto settings = makeFernwaveColourSettings (theme.getCurrentColourScheme(), theme.headerColour,
                                                theme.headerTextColour, theme.headerOverlayColour);

    ASSERT_EQ (settings.size(), std::size (colourTable));

    std::set<int> seen;

    for (size_t i = 0; i < settings.size(); ++i)
    {
        EXPECT_EQ (settings[i].colourId, colourTable[i].colourId) << "row " << i + 1;
        EXPECT_EQ (hex (settings[i].colour), hex (expectedColour (colourTable[i])))
            << "row " << i + 1;
        EXPECT_TRUE (seen.insert (settings[i].colourId).second) << "row " << i + 1;
    }
}

TEST (FernwaveColours, SchemeHoldsTheNineLightColours)
{
    using UIColour = juce::LookAndFeel_V4::ColourScheme::UIColour;
    FernwaveTheme theme;
    auto& scheme = theme.getCurrentColourScheme();

    const std::pair<UIColour, juce::uint32> expected[] = {
        { UIColour::windowBackground, 0xfff5f5f5 }, { UIColour::widgetBackground, 0xfffafafa },
        { UIColour::menuBackground, 0xfff5f5f5 },   { UIColour::outline, 0x1a000000 },
        { UIColour::defaultText, 0xff4e4e4e },      { UIColour::defaultFill, 0xff464747 },
        { UIColour::highlightedText, 0xff404040 },  { UIColour::highlightedFill, 0xff868787 },
        { UIColour::menuText, 0xff4e4e4e },
    };

    for (auto& [which, argb] : expected)
        EXPECT_EQ (hex (scheme.getUIColour (which)), hex (juce::Colour (argb))) << (int) which;
}

TEST (FernwaveColours, HeaderColours)
{
    FernwaveTheme theme;
    EXPECT_EQ (theme.headerColour.getARGB(), 0xff5f5f66u);
    EXPECT_EQ (theme.headerTextColour.getARGB(), 0xffc4c4c4u);
    EXPECT_EQ (theme.headerOverlayColour.getARGB(), 0x1fffffffu);
}

TEST (FernwaveColours, ComputedColoursTruncateAsJuceDoes)
{
    FernwaveTheme theme;
    // brighter(0.2f) of 0xFA is 250.83, truncated back to 250: same as the button colour.
    EXPECT_EQ (theme.findColour (juce::TextButton::buttonOnColourId),
               theme.findColour (juce::TextButton::buttonColourId));
    EXPECT_EQ (theme.findColour (juce::PopupMenu::highlightedBackgroundColourId).getARGB(),
               0xffd0d0d0u);
    EXPECT_EQ (theme.findColour (juce::SidePanel::dismissButtonOverColour).getARGB(), 0xff323232u);
    EXPECT_EQ (theme.findColour (juce::SidePanel::dismissButtonDownColour).getARGB(), 0xff7a7b7bu);
}

TEST (FernwaveColours, IdsTheTableLeavesAloneKeepTheBaseThemesValue)
{
    FernwaveTheme theme;
    juce::LookAndFeel_V4 base;

    // Not re-derived from the light scheme: the dark default theme's own values stay.
    for (int id :
         { (int) juce::Label::backgroundWhenEditingColourId,
           (int) juce::Label::outlineWhenEditingColourId, (int) juce::Slider::thumbColourId,
           (int) juce::Slider::rotarySliderFillColourId })
    {
        EXPECT_EQ (hex (theme.findColour (id)), hex (base.findColour (id))) << std::hex << id;
    }

    // A theme that re-ran the colour initialisation with its scheme would differ here.
    juce::LookAndFeel_V4 rederived (makeFernwaveColourScheme());
    EXPECT_NE (hex (theme.findColour (juce::Slider::thumbColourId)),
               hex (rederived.findColour (juce::Slider::thumbColourId)));
}
