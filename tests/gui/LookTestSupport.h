#pragma once

#include "look/FernwaveTheme.h"

#include <juce_gui_basics/juce_gui_basics.h>

#include <memory>

namespace look_test_support
{
/** A theme with the embedded font installed, made the desktop's default look-and-feel for
    as long as this lives, as the application's start-up does. */
class ScopedInstalledTheme final
{
public:
    ScopedInstalledTheme();
    ~ScopedInstalledTheme();

    FernwaveTheme theme;
    bool fontInstalled = false;

    JUCE_DECLARE_NON_COPYABLE (ScopedInstalledTheme)
};

/** The embedded font's bytes, inflated from the compiled-in archive. */
juce::MemoryBlock embeddedFontData();

/** The darkest red, green or blue value in image within area. */
int darkestChannel (const juce::Image& image, juce::Rectangle<int> area);

/** The leftmost column of area holding a pixel darker than threshold, or -1. */
int leftmostInk (const juce::Image& image, juce::Rectangle<int> area, int threshold = 200);

/** A white image of the given size. */
juce::Image whiteImage (int width, int height);
} // namespace look_test_support
