#pragma once

#include "look/FernwaveTheme.h"

#include <juce_gui_basics/juce_gui_basics.h>

#include <memory>
#include <string>

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

/** "AARRGGBB", so a failed comparison names the colour. */
std::string hex (juce::Colour colour);

struct PixelCheck
{
    int x, y;
    juce::uint32 argb;
    int tolerance = 1;
};

/** Expects each pixel to have its colour, each channel within the check's tolerance. Pixels of
    a transparent image come back unpremultiplied, which costs precision at low alpha, so the
    colour of a pixel with alpha 0x40 or less is not compared. */
void expectPixels (const juce::Image& image, std::initializer_list<PixelCheck> checks);

/** True when every pixel of image is fully transparent. */
bool isBlank (const juce::Image& image);

/** The darkest red, green or blue value in image within area. */
int darkestChannel (const juce::Image& image, juce::Rectangle<int> area);

/** The leftmost column of image holding a pixel darker than 200, or -1. */
int leftmostInk (const juce::Image& image);

/** A white image of the given size. */
juce::Image whiteImage (int width, int height);
} // namespace look_test_support
