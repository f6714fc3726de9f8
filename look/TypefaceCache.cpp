#include "look/TypefaceCache.h"

namespace tessel
{

TypefaceCache::TypefaceCache (juce::Typeface::Ptr typefaceToWrap)
    : juce::Typeface (typefaceToWrap->getName(), typefaceToWrap->getStyle())
    , wrapped (std::move (typefaceToWrap))
{
}

TypefaceCache::~TypefaceCache() = default;

const std::string& TypefaceCache::keyFor (const juce::String& text)
{
    // The UTF-8 bytes: two texts are the same key exactly when they are the same text (a
    // juce::String holds no zero byte, so the C string is all of it). Built in a buffer that
    // keeps its capacity, so a hit allocates nothing for the key.
    keyBuffer.assign (text.toRawUTF8());
    return keyBuffer;
}

bool TypefaceCache::isSuitableForFont (const juce::Font& font) const
{
    return wrapped->isSuitableForFont (font);
}

float TypefaceCache::getAscent() const
{
    return wrapped->getAscent();
}
float TypefaceCache::getDescent() const
{
    return wrapped->getDescent();
}
float TypefaceCache::getHeightToPointsFactor() const
{
    return wrapped->getHeightToPointsFactor();
}
bool TypefaceCache::isHinted() const
{
    return wrapped->isHinted();
}

juce::EdgeTable* TypefaceCache::getEdgeTableForGlyph (int glyphNumber,
                                                      const juce::AffineTransform& transform,
                                                      float fontHeight)
{
    return wrapped->getEdgeTableForGlyph (glyphNumber, transform, fontHeight);
}

float TypefaceCache::getStringWidth (const juce::String& text)
{
    const auto& key = keyFor (text);

    if (auto* width = widthCache.find (key))
        return *width;

    auto width = wrapped->getStringWidth (text);
    // The buffer may have been reused by a nested call into this cache; form the key again.
    widthCache.insert (keyFor (text), width);
    return width;
}

void TypefaceCache::getGlyphPositions (const juce::String& text, juce::Array<int>& glyphs,
                                       juce::Array<float>& xOffsets)
{
    if (auto* positions = glyphCache.find (keyFor (text)))
    {
        glyphs = positions->glyphs;
        xOffsets = positions->xOffsets;
        return;
    }

    // Filled afresh rather than into the caller's arrays: what a caller already held must
    // neither be stored as part of this text nor be kept in front of its glyphs.
    GlyphPositions positions;
    wrapped->getGlyphPositions (text, positions.glyphs, positions.xOffsets);
    glyphs = positions.glyphs;
    xOffsets = positions.xOffsets;
    glyphCache.insert (keyFor (text), std::move (positions));
}

bool TypefaceCache::getOutlineForGlyph (int glyphNumber, juce::Path& path)
{
    if (auto* outline = outlineCache.find (glyphNumber))
    {
        path = *outline;
        return true;
    }

    // A glyph the font cannot give is not remembered: it is asked for again next time.
    if (! wrapped->getOutlineForGlyph (glyphNumber, path))
        return false;

    outlineCache.insert (glyphNumber, path);
    return true;
}

} // namespace tessel
