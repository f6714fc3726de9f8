#pragma once

#include <juce_graphics/juce_graphics.h>

#include <set>

/** A typeface that forwards every query to a real typeface and counts the calls, so a test can
    see which queries reach it. Outlines of the glyphs in refusedOutlines are refused, as a font
    without such a glyph would. */
class CountingTypeface final : public juce::Typeface
{
public:
    explicit CountingTypeface (juce::Typeface::Ptr realTypeface)
        : juce::Typeface (realTypeface->getName(), realTypeface->getStyle())
        , real (realTypeface)
    {
    }

    struct Counts
    {
        int suitable = 0, ascent = 0, descent = 0, heightToPoints = 0, width = 0,
            glyphPositions = 0, outline = 0, edgeTable = 0, hinted = 0;
    };

    mutable Counts counts;
    std::set<int> refusedOutlines;

    bool isSuitableForFont (const juce::Font& f) const override
    {
        return counted (counts.suitable, real->isSuitableForFont (f));
    }
    float getAscent() const override { return counted (counts.ascent, real->getAscent()); }
    float getDescent() const override { return counted (counts.descent, real->getDescent()); }
    float getHeightToPointsFactor() const override
    {
        return counted (counts.heightToPoints, real->getHeightToPointsFactor());
    }
    float getStringWidth (const juce::String& text) override
    {
        return counted (counts.width, real->getStringWidth (text));
    }
    bool isHinted() const override { return counted (counts.hinted, real->isHinted()); }

    juce::EdgeTable* getEdgeTableForGlyph (int glyph, const juce::AffineTransform& transform,
                                           float fontHeight) override
    {
        return counted (counts.edgeTable,
                        real->getEdgeTableForGlyph (glyph, transform, fontHeight));
    }

    void getGlyphPositions (const juce::String& text, juce::Array<int>& glyphs,
                            juce::Array<float>& xOffsets) override
    {
        ++counts.glyphPositions;
        real->getGlyphPositions (text, glyphs, xOffsets);
    }

    bool getOutlineForGlyph (int glyph, juce::Path& path) override
    {
        ++counts.outline;
        return refusedOutlines.count (glyph) == 0 && real->getOutlineForGlyph (glyph, path);
    }

private:
    template <typename Result>
    static Result counted (int& calls, Result result)
    {
        ++calls;
        return result;
    }

    juce::Typeface::Ptr real;
};
