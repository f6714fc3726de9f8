#include "look/FernwaveColours.h"
#include "LookTestSupport.h"

#include <gtest/gtest.h>

#include <set>

using look_test_support::hex;

namespace
{
struct ColourCase
{
    const char* name;
    int colourId;
    juce::Colour expected;
};

// A sample of the table: one or more rows of each way a value is formed (a scheme colour, a
// scheme colour at another alpha, a header colour, a literal, JUCE's colour arithmetic), the
// edge cases and two IDs of widgets outside juce_gui_basics.
const ColourCase sampleRows[] = {
    { "tickDisabled", juce::ToggleButton::tickDisabledColourId, juce::Colour (0x804e4e4e) },
    { "scrollBarThumb", juce::ScrollBar::thumbColourId, juce::Colour (0xffb2b2b2) },
    { "scrollBarBackground", juce::ScrollBar::backgroundColourId, juce::Colour (0x00000000) },
    { "scrollBarTrack", juce::ScrollBar::trackColourId, juce::Colour (0x00000000) },
    { "sliderTrack", juce::Slider::trackColourId, juce::Colour (0xff868787) },
    { "sliderTextBoxBackground", juce::Slider::textBoxBackgroundColourId,
      juce::Colour (0x00fafafa) },
    { "sliderTextBoxHighlight", juce::Slider::textBoxHighlightColourId, juce::Colour (0x66464747) },
    { "windowBackground", juce::ResizableWindow::backgroundColourId, juce::Colour (0xfff5f5f5) },
    { "tooltipText", juce::TooltipWindow::textColourId, juce::Colour (0xff404040) },
    { "tabOutline", juce::TabbedButtonBar::tabOutlineColourId, juce::Colour (0x80000000) },
    { "toolbarBackground", juce::Toolbar::backgroundColourId, juce::Colour (0xff5f5f66) },
    { "toolbarSeparator", juce::Toolbar::separatorColourId, juce::Colour (0xffc4c4c4) },
    { "toolbarButtonOver", juce::Toolbar::buttonMouseOverBackgroundColourId,
      juce::Colour (0x1fffffff).contrasting (0.2f) },
    { "toolbarButtonDown", juce::Toolbar::buttonMouseDownBackgroundColourId,
      juce::Colour (0x1fffffff).contrasting (0.5f) },
    { "hyperlinkText", juce::HyperlinkButton::textColourId,
      juce::Colour (0xff4e4e4e).interpolatedWith (juce::Colour (0xff0000ff), 0.4f) },
    { "codeEditorLineNumberBackground", 0x1004504, juce::Colour (0x80868787) },
    { "keyMappingEditorText", 0x100AD01, juce::Colour (0xff4e4e4e) },
    { "fileSearchPathBackground", juce::FileSearchPathListComponent::backgroundColourId,
      juce::Colour (0xfff5f5f5) },
    { "sidePanelShadowBase", juce::SidePanel::shadowBaseColour, juce::Colour (0xffb2b2b2) },
    { "sidePanelDismissOver", juce::SidePanel::dismissButtonOverColour, juce::Colour (0xff323232) },
    { "sidePanelDismissDown", juce::SidePanel::dismissButtonDownColour, juce::Colour (0xff7a7b7b) },
    { "textEditorHighlight", juce::TextEditor::highlightColourId, juce::Colour (0x3327a4bf) },
    { "textEditorOutline", juce::TextEditor::outlineColourId, juce::Colour (0x99000000) },
    { "popupHeaderText", juce::PopupMenu::headerTextColourId, juce::Colour (0xfffafafa) },
    { "popupHighlightedText", juce::PopupMenu::highlightedTextColourId, juce::Colour (0xff4e4e4e) },
    { "popupHighlightedBackground", juce::PopupMenu::highlightedBackgroundColourId,
      juce::Colour (0xffd0d0d0) },
    // brighter (0.2f) of 0xFA is 250.83, truncated back to 250.
    { "buttonOn", juce::TextButton::buttonOnColourId, juce::Colour (0xfffafafa) },
};
} // namespace

TEST (FernwaveColours, SampleRowsHaveTheirValues)
{
    FernwaveTheme theme;

    for (auto& row : sampleRows)
    {
        EXPECT_TRUE (theme.isColourSpecified (row.colourId)) << row.name;
        EXPECT_EQ (hex (theme.findColour (row.colourId)), hex (row.expected)) << row.name;
    }
}

TEST (FernwaveColours, ThemeAppliesEachOfThe111SettingsOnce)
{
    FernwaveTheme theme;
    auto settings = makeFernwaveColourSettings (theme.getCurrentColourScheme(), theme.headerColour,
                                                theme.headerTextColour, theme.headerOverlayColour);
    ASSERT_EQ (settings.size(), 111u);

    std::set<int> seen;

    for (auto& setting : settings)
    {
        EXPECT_TRUE (seen.insert (setting.colourId).second) << std::hex << setting.colourId;
        EXPECT_EQ (hex (theme.findColour (setting.colourId)), hex (setting.colour))
            << std::hex << setting.colourId;
    }

    for (auto& row : sampleRows)
        EXPECT_EQ (seen.count (row.colourId), 1u) << row.name;
}

TEST (FernwaveColours, SchemeAndHeaderColours)
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

    EXPECT_EQ (theme.headerColour.getARGB(), 0xff5f5f66u);
    EXPECT_EQ (theme.headerTextColour.getARGB(), 0xffc4c4c4u);
    EXPECT_EQ (theme.headerOverlayColour.getARGB(), 0x1fffffffu);
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
