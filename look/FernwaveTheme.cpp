#include "look/FernwaveTheme.h"

#include "look/FernwaveColours.h"
#include "look/PhysicalPixelMapping.h"

#include <cmath>

FernwaveTheme::FernwaveTheme()
{
    // Assigned, not set through setColourScheme: that would reset every colour the table
    // below leaves alone to a value derived from this scheme.
    getCurrentColourScheme() = makeFernwaveColourScheme();

    for (auto& setting : makeFernwaveColourSettings (getCurrentColourScheme(), headerColour,
                                                     headerTextColour, headerOverlayColour))
        setColour (setting.colourId, setting.colour);
}

FernwaveTheme::~FernwaveTheme() = default;

void FernwaveTheme::drawScrollbar (juce::Graphics& g, juce::ScrollBar& scrollbar, int x, int y,
                                   int width, int height, bool isScrollbarVertical,
                                   int thumbStartPosition, int thumbSize, bool isMouseOver,
                                   bool isMouseDown)
{
    auto mapping = PhysicalPixelMapping::forComponent (scrollbar);

    auto thumb = isScrollbarVertical
                     ? juce::Rectangle<int> (x, thumbStartPosition, width, thumbSize)
                     : juce::Rectangle<int> (thumbStartPosition, y, thumbSize, height);

    auto colour = scrollbar.findColour (juce::ScrollBar::thumbColourId);

    if (isMouseOver || isMouseDown)
        colour = colour.darker (0.2f);

    // Snapped to device pixels, so the thumb's edges stay sharp at any display scale.
    auto snapped = mapping.snapToDevicePixels (thumb.reduced (3).toFloat());

    g.setColour (colour);
    g.fillRoundedRectangle (snapped, 2.0f);
}

juce::Font FernwaveTheme::getTextButtonFont (juce::TextButton&, int buttonHeight)
{
    return juce::Font (juce::jmin (17.0f, (float) buttonHeight - 4.0f));
}

void FernwaveTheme::drawPopupMenuBackground (juce::Graphics& g, int width, int height)
{
    g.setColour (findColour (juce::PopupMenu::backgroundColourId));
    g.fillRect (0, 0, width, height);
}

void FernwaveTheme::drawPopupMenuSeparator (juce::Graphics& g, juce::Rectangle<int> area)
{
    auto r = area.reduced (5, 0);
    r.removeFromTop (juce::roundToInt ((float) r.getHeight() * 0.5f - 0.5f));

    g.setColour (juce::Colour (0xff2d2d2d));
    g.fillRect (r.removeFromTop (1));
}

void FernwaveTheme::drawPopupMenuItem (juce::Graphics& g, const juce::Rectangle<int>& area,
                                       bool isSeparator, bool isActive, bool isHighlighted,
                                       bool isTicked, bool hasSubMenu, const juce::String& text,
                                       const juce::String& shortcutKeyText,
                                       const juce::Drawable* icon, const juce::Colour* textColour)
{
    if (isSeparator)
    {
        drawPopupMenuSeparator (g, area);
        return;
    }

    auto textColourToUse =
        textColour != nullptr ? *textColour : findColour (juce::PopupMenu::textColourId);

    auto r = area.reduced (1);

    if (isHighlighted && isActive)
    {
        g.setColour (findColour (juce::PopupMenu::highlightedBackgroundColourId));
        g.fillRect (r);
        g.setColour (findColour (juce::PopupMenu::highlightedTextColourId));
    }
    else
    {
        g.setColour (textColourToUse.withMultipliedAlpha (isActive ? 1.0f : 0.5f));
    }

    r.reduce (juce::jmin (5, area.getWidth() / 20), 0);

    auto font = getPopupMenuFont();
    auto maxFontHeight = (float) r.getHeight() / 1.3f;

    if (font.getHeight() > maxFontHeight)
        font.setHeight (maxFontHeight);

    g.setFont (font);

    auto iconArea = r.removeFromLeft (juce::roundToInt (maxFontHeight)).toFloat();

    if (icon != nullptr)
    {
        icon->drawWithin (
            g, iconArea,
            juce::RectanglePlacement::centred | juce::RectanglePlacement::onlyReduceInSize, 1.0f);
        r.removeFromLeft (juce::roundToInt (maxFontHeight * 0.5f));
    }
    else if (isTicked)
    {
        auto h = iconArea.getHeight();
        juce::Rectangle<float> box (iconArea.getX() - 1.0f, iconArea.getY() + h / 6.0f,
                                    iconArea.getWidth(), juce::jmax (0.0f, h - 2.0f * (h / 6.0f)));
        auto at = [&box] (float fx, float fy)
        {
            return juce::Point<float> (box.getX() + fx * box.getWidth(),
                                       box.getY() + fy * box.getHeight());
        };

        g.drawLine ({ at (0.2f, 0.5f), at (0.4f, 0.8f) }, 1.0f);
        g.drawLine ({ at (0.4f, 0.8f), at (0.8f, 0.2f) }, 1.0f);
    }

    if (hasSubMenu)
    {
        auto arrowH = 0.6f * getPopupMenuFont().getAscent();
        auto x = (float) r.removeFromRight ((int) arrowH).getX();
        auto cy = (float) (r.getY() + r.getHeight() / 2);

        juce::Path arrow;
        arrow.startNewSubPath (x, cy - arrowH * 0.5f);
        arrow.lineTo (x + 0.6f * arrowH, cy);
        arrow.lineTo (x, cy + arrowH * 0.5f);

        g.strokePath (arrow, juce::PathStrokeType (2.0f));
    }

    r.removeFromRight (3);
    g.drawFittedText (text, r, juce::Justification::centredLeft, 1);

    if (shortcutKeyText.isNotEmpty())
    {
        auto shortcutFont = font;
        shortcutFont.setHeight (font.getHeight() * 0.75f);
        shortcutFont.setHorizontalScale (0.95f);
        g.setFont (shortcutFont);
        g.drawText (shortcutKeyText, r, juce::Justification::centredRight, true);
    }
}

void FernwaveTheme::getIdealPopupMenuItemSize (const juce::String& text, bool isSeparator,
                                               int standardMenuItemHeight, int& idealWidth,
                                               int& idealHeight)
{
    if (isSeparator)
    {
        idealWidth = 50;
        idealHeight = standardMenuItemHeight > 0 ? standardMenuItemHeight / 10 : 10;
        return;
    }

    auto font = getPopupMenuFont();

    if (standardMenuItemHeight > 0)
    {
        auto limit = (float) standardMenuItemHeight * 0.7692308f;

        if (font.getHeight() > limit)
            font.setHeight (limit);

        idealHeight = standardMenuItemHeight;
    }
    else
    {
        idealHeight = juce::roundToInt (font.getHeight() * 1.3f);
    }

    idealWidth = (int) std::ceil (font.getStringWidthFloat (text)) + idealHeight * 2;
}

void FernwaveTheme::drawMenuBarBackground (juce::Graphics&, int, int, bool, juce::MenuBarComponent&)
{
}

void FernwaveTheme::drawMenuBarItem (juce::Graphics& g, int width, int height, int itemIndex,
                                     const juce::String& itemText, bool isMouseOverItem,
                                     bool isMenuOpen, bool, juce::MenuBarComponent& menuBar)
{
    if (isMenuOpen || isMouseOverItem)
    {
        g.setColour (juce::Colours::darkgrey);
        g.fillRect (0, 0, width, height);
        g.setColour (juce::Colours::black);
    }
    else
    {
        g.setColour (juce::Colours::lightgrey);
    }

    g.setFont (getMenuBarFont (menuBar, itemIndex, itemText));
    g.drawFittedText (itemText, 0, 0, width, height, juce::Justification::centred, 1);
}

juce::Font FernwaveTheme::getLabelFont (juce::Label& label)
{
    auto font = label.getFont();

    if (font.getHeight() <= 17.0f)
        font.setHeight (17.0f);

    return font;
}

void FernwaveTheme::drawLinearSlider (juce::Graphics& g, int x, int y, int width, int height,
                                      float sliderPos, float, float, juce::Slider::SliderStyle,
                                      juce::Slider& slider)
{
    const auto enabled = slider.isEnabled();
    const auto leftColour = juce::Colour (enabled ? 0x4c2a96cc : 0x4c000000);
    const auto rightColour = juce::Colour (enabled ? 0x08000000 : 0x1a000000);
    const auto shadowColour = juce::Colour (0x4c808080);

    const juce::Rectangle<float> track ((float) x - 10.0f, (float) y + (float) (height - 20) * 0.5f,
                                        (float) width + 20.0f, 20.0f);
    juce::Path trackPath;
    trackPath.addRoundedRectangle (track, 4.0f);

    {
        juce::Graphics::ScopedSaveState state (g);
        g.reduceClipRegion (trackPath);

        // Not below zero: a position left of the track fills nothing rather than a negative width.
        auto fillW = juce::jlimit (0.0f, track.getWidth(), sliderPos - (float) x);
        g.setColour (leftColour);
        g.fillRect (track.withWidth (fillW));
        g.setColour (rightColour);
        g.fillRect (track.withTrimmedLeft (fillW));
    }

    {
        juce::Graphics::ScopedSaveState state (g);

        // Everything around the track, so the shadow falls inward from its edge.
        juce::Path shadowPath (trackPath);
        shadowPath.addRectangle (trackPath.getBounds().expanded (10.0f));
        shadowPath.setUsingNonZeroWinding (false);

        g.reduceClipRegion (trackPath);
        juce::DropShadow (shadowColour, 2, { 1, 1 }).drawForPath (g, shadowPath);
    }

    juce::Path thumbPath;
    thumbPath.addRoundedRectangle (sliderPos - 10.0f, track.getY(), 20.0f, 20.0f, 4.0f);

    juce::DropShadow (shadowColour, 4, {}).drawForPath (g, thumbPath);
    g.setColour (juce::Colour (0xfffdfdff));
    g.fillPath (thumbPath);
    g.setColour (juce::Colour (0xffc9c9c9));
    g.strokePath (thumbPath, juce::PathStrokeType (0.5f));
}

void FernwaveTheme::drawStretchableLayoutResizerBar (juce::Graphics& g, int w, int h,
                                                     bool isVerticalBar, bool isMouseOver,
                                                     bool isMouseDragging)
{
    if (isMouseOver || isMouseDragging)
        g.setColour (getCurrentColourScheme().getUIColour (ColourScheme::UIColour::outline));
    else if (! isVerticalBar)
        g.setColour (juce::Colours::white);
    else
        return;

    g.fillRect (0, 0, w, h);
}
