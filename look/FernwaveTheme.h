#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

/** The application's light look-and-feel. */
class FernwaveTheme final : public juce::LookAndFeel_V4
{
public:
    FernwaveTheme();
    ~FernwaveTheme() override;

    juce::Colour headerColour { 0xff5f5f66 };
    juce::Colour headerTextColour { 0xffc4c4c4 };
    juce::Colour headerOverlayColour { 0x1fffffff };
};
