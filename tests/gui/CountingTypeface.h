#pragma once

#include <juce_graphics/juce_graphics.h>

/** Forwards to a real typeface, counting the queries the cache keeps, and refuses the outline
    of refusedOutline as a font without that glyph would. */
class CountingTypeface final : public juce::Typeface
{
public:
    explicit CountingTypeface (juce::Typeface::Ptr realTypeface)
        : juce::Typeface (realTypeface->getName(), realTypeface->getStyle())
        , real (realTypeface)
    {
    }

    float getAscent() const override { return real->getAscent(); }
    float getDescent() const override { return real->getDescent(); }
    float getHeightToPointsFactor() const override { return real->getHeightToPointsFactor(); }

    float getStringWidth (const juce::String& text) override
    {
        ++widths;
        return real->getStringWidth (text);
    }

    void getGlyphPositions (const juce::String& text, juce::Array<int>& glyphs,
                            juce::Array<float>& xOffsets) override
    {
        ++glyphPositions;
        real->getGlyphPositions (text, glyphs, xOffsets);
    }

    bool getOutlineForGlyph (int glyph, juce::Path& path) override
    {
        ++outlines;
        return glyph != refusedOutline && real->getOutlineForGlyph (glyph, path);
    }

    juce::Typeface::Ptr real;
    int widths = 0, glyphPositions = 0, outlines = 0, refusedOutline = -1;
};
