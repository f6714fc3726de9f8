#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

/** The application's light look-and-feel: a light colour scheme, the dark header colours, and
    its own scroll bars, pop-up menus, menu bar, sliders, resizer bars and label and button
    fonts. */
class FernwaveTheme final : public juce::LookAndFeel_V4
{
public:
    FernwaveTheme();
    ~FernwaveTheme() override;

    void drawScrollbar (juce::Graphics&, juce::ScrollBar&, int x, int y, int width, int height,
                        bool isScrollbarVertical, int thumbStartPosition, int thumbSize,
                        bool isMouseOver, bool isMouseDown) override;

    juce::Font getTextButtonFont (juce::TextButton&, int buttonHeight) override;

    void drawPopupMenuBackground (juce::Graphics&, int width, int height) override;

    void drawPopupMenuItem (juce::Graphics&, const juce::Rectangle<int>& area, bool isSeparator,
                            bool isActive, bool isHighlighted, bool isTicked, bool hasSubMenu,
                            const juce::String& text, const juce::String& shortcutKeyText,
                            const juce::Drawable* icon, const juce::Colour* textColour) override;

    void getIdealPopupMenuItemSize (const juce::String& text, bool isSeparator,
                                    int standardMenuItemHeight, int& idealWidth,
                                    int& idealHeight) override;

    void drawMenuBarBackground (juce::Graphics&, int width, int height, bool isMouseOverBar,
                                juce::MenuBarComponent&) override;

    void drawMenuBarItem (juce::Graphics&, int width, int height, int itemIndex,
                          const juce::String& itemText, bool isMouseOverItem, bool isMenuOpen,
                          bool isMouseOverBar, juce::MenuBarComponent&) override;

    juce::Font getLabelFont (juce::Label&) override;

    void drawLinearSlider (juce::Graphics&, int x, int y, int width, int height, float sliderPos,
                           float minSliderPos, float maxSliderPos, juce::Slider::SliderStyle,
                           juce::Slider&) override;

    void drawStretchableLayoutResizerBar (juce::Graphics&, int w, int h, bool isVerticalBar,
                                          bool isMouseOver, bool isMouseDragging) override;

    /** The dark grey of the header band and the toolbar. */
    juce::Colour headerColour { 0xff5f5f66 };
    /** Text and separators on headerColour. */
    juce::Colour headerTextColour { 0xffc4c4c4 };
    /** Source of the toolbar buttons' hover and pressed backgrounds. */
    juce::Colour headerOverlayColour { 0x1fffffff };

private:
    void drawPopupMenuSeparator (juce::Graphics&, juce::Rectangle<int> area);
};
