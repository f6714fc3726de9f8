#include "look/TypefaceCache.h"

namespace tessel
{

TypefaceCache::TypefaceCache (juce::Typeface::Ptr typefaceToWrap)
    : juce::Typeface (typefaceToWrap->getName(), typefaceToWrap->getStyle())
    , wrapped (std::move (typefaceToWrap))
{
}

TypefaceCache::~TypefaceCache() = default;

std::string TypefaceCache::keyFor (const juce::String& text)
{
    // The UTF-8 bytes: two texts are the same key exactly when they are the same text.
    return text.toStdString();
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
    auto key = keyFor (text);

    if (auto* width = widthCache.find (key))
        return *width;

    auto width = wrapped->getStringWidth (text);
    widthCache.insert (key, width);
    return width;
}

void TypefaceCache::getGlyphPositions (const juce::String& text, juce::Array<int>& glyphs,
                                       juce::Array<float>& xOffsets)
{
    auto key = keyFor (text);

    if (auto* positions = glyphCache.find (key))
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
    glyphCache.insert (key, std::move (positions));
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
