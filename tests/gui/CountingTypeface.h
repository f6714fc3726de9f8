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

    bool isSuitableForFont (const juce::Font& font) const override
    {
        ++counts.suitable;
        return real->isSuitableForFont (font);
    }

    float getAscent() const override
    {
        ++counts.ascent;
        return real->getAscent();
    }

    float getDescent() const override
    {
        ++counts.descent;
        return real->getDescent();
    }

    float getHeightToPointsFactor() const override
    {
        ++counts.heightToPoints;
        return real->getHeightToPointsFactor();
    }

    float getStringWidth (const juce::String& text) override
    {
        ++counts.width;
        return real->getStringWidth (text);
    }

    void getGlyphPositions (const juce::String& text, juce::Array<int>& glyphs,
                            juce::Array<float>& xOffsets) override
    {
        ++counts.glyphPositions;
        real->getGlyphPositions (text, glyphs, xOffsets);
    }

    bool getOutlineForGlyph (int glyphNumber, juce::Path& path) override
    {
        ++counts.outline;

        if (refusedOutlines.count (glyphNumber) != 0)
            return false;

        return real->getOutlineForGlyph (glyphNumber, path);
    }

    juce::EdgeTable* getEdgeTableForGlyph (int glyphNumber, const juce::AffineTransform& transform,
                                           float fontHeight) override
    {
        ++counts.edgeTable;
        return real->getEdgeTableForGlyph (glyphNumber, transform, fontHeight);
    }

    bool isHinted() const override
    {
        ++counts.hinted;
        return real->isHinted();
    }

private:
    juce::Typeface::Ptr real;
};
