#pragma once

#include "look/LruCache.h"

#include <juce_graphics/juce_graphics.h>

#include <string>

namespace tessel
{

/** A typeface that remembers, per text or glyph, what the wrapped typeface answered for the
    three queries JUCE repeats for every text it measures, lays out or draws: string widths,
    glyph positions and glyph outlines. Everything else goes straight to the wrapped typeface.

    Message thread only: a lookup reorders the caches even on a hit. */
class TypefaceCache final : public juce::Typeface
{
public:
    explicit TypefaceCache (juce::Typeface::Ptr typefaceToWrap);
    ~TypefaceCache() override;

    bool isSuitableForFont (const juce::Font&) const override;
    float getAscent() const override;
    float getDescent() const override;
    float getHeightToPointsFactor() const override;
    float getStringWidth (const juce::String& text) override;
    void getGlyphPositions (const juce::String& text, juce::Array<int>& glyphs,
                            juce::Array<float>& xOffsets) override;
    bool getOutlineForGlyph (int glyphNumber, juce::Path& path) override;
    juce::EdgeTable* getEdgeTableForGlyph (int glyphNumber, const juce::AffineTransform& transform,
                                           float fontHeight) override;
    bool isHinted() const override;

    static constexpr std::size_t widthCapacity = 4096;
    static constexpr std::size_t glyphCapacity = 4096;
    static constexpr std::size_t outlineCapacity = 1024;

private:
    struct GlyphPositions final
    {
        juce::Array<int> glyphs;
        juce::Array<float> xOffsets;
    };

    const std::string& keyFor (const juce::String& text);

    juce::Typeface::Ptr wrapped;
    LruCache<std::string, float> widthCache { widthCapacity };
    LruCache<std::string, GlyphPositions> glyphCache { glyphCapacity };
    LruCache<int, juce::Path> outlineCache { outlineCapacity };
    std::string keyBuffer;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (TypefaceCache)
};

} // namespace tessel
