#include "look/EmbeddedFont.h"
#include "look/FernwaveTheme.h"
#include "look/TypefaceCache.h"
#include "resources/BinaryResources.h"

#include <gtest/gtest.h>

#include <string>

namespace
{
/** size bytes of block from its start, with patch written at offset. */
juce::MemoryBlock patched (juce::MemoryBlock block, size_t size, size_t offset = 0,
                           const std::string& patch = {})
{
    block.copyFrom (patch.data(), (int) offset, patch.size());
    block.setSize (size);
    return block;
}
} // namespace

TEST (EmbeddedFont, BuiltFromItsPiecesBecomesTheDefaultSansSerifWithAGlyphForEveryTranslation)
{
    juce::MemoryBlock builtArchive, builtFont;
    juce::File (LARKSPIRE_FONT_ARCHIVE_FILE).loadFileAsData (builtArchive);
    juce::File (LARKSPIRE_FONT_FILE).loadFileAsData (builtFont);
    auto archive = embeddedFont::joinArchive();
    EXPECT_TRUE (archive == builtArchive);
    auto font = embeddedFont::readFirstEntry (juce::MemoryBlock (archive));
    EXPECT_TRUE (font == builtFont);
    EXPECT_LT (archive.getSize(), font.getSize()) << "the font is stored deflated";

    FernwaveTheme theme;
    ASSERT_TRUE (installEmbeddedFont (theme));
    auto typeface = theme.getTypefaceForFont (juce::Font (17.0f));
    ASSERT_NE (dynamic_cast<tessel::TypefaceCache*> (typeface.get()), nullptr);
    EXPECT_EQ (typeface->getName(), "Noto Sans CJK JP");
    // Only the default sans-serif name resolves to it.
    EXPECT_NE (theme.getTypefaceForFont (juce::Font ("DejaVu Sans", 17.0f, 0)), typeface);

    // Every character of both translations has a glyph of its own, not the one the font draws
    // for a character it lacks (such as a private-use code point).
    juce::Path missing;
    typeface->getOutlineForGlyph (0x10fffd, missing);

    for (auto [data, size] :
         { std::pair (BinaryResources::translationJa, BinaryResources::translationJaSize),
           std::pair (BinaryResources::translationZhCn, BinaryResources::translationZhCnSize) })
    {
        auto text = juce::String::fromUTF8 (reinterpret_cast<const char*> (data), (int) size);
        int cjk = 0;

        for (auto p = text.getCharPointer(); ! p.isEmpty(); ++p)
        {
            juce::Array<int> glyphs;
            juce::Array<float> offsets;
            juce::Path outline;
            typeface->getGlyphPositions (juce::String::charToString (*p), glyphs, offsets);
            EXPECT_TRUE (juce::CharacterFunctions::isWhitespace (*p) ||
                         (glyphs.size() == 1 && offsets.getLast() > 0.0f &&
                          typeface->getOutlineForGlyph (glyphs[0], outline) &&
                          ! outline.isEmpty() && ! (outline == missing)))
                << "U+" << std::hex << (int) *p << " has no glyph of its own";
            cjk += *p >= 0x3000 ? 1 : 0;
        }

        EXPECT_GT (cjk, 100);
    }
}

TEST (EmbeddedFont, BrokenDataIsRefused)
{
    const auto archive = embeddedFont::joinArchive();
    juce::MemoryBlock garbage (200000);
    juce::Random (42).fillBitsRandomly (garbage.getData(), garbage.getSize());

    // An archive without a font leaves the theme's font alone.
    for (auto& broken : { juce::MemoryBlock(), garbage, patched (archive, archive.getSize() / 2) })
    {
        FernwaveTheme theme;
        EXPECT_FALSE (embeddedFont::installFromArchive (theme, juce::MemoryBlock (broken)));
        EXPECT_EQ (dynamic_cast<tessel::TypefaceCache*> (
                       theme.getTypefaceForFont (juce::Font (17.0f)).get()),
                   nullptr);
    }

    // Font data that is not a usable font makes no typeface.
    const auto font = embeddedFont::readFirstEntry (juce::MemoryBlock (archive));
    const size_t cmap = std::search (font.begin(), font.begin() + 1024, "cmap", "cmap" + 4) -
                        font.begin(); // its record in the table directory
    EXPECT_EQ (embeddedFont::makeTypeface (patched (garbage, 100000, 0, "OTTO")), nullptr);

    for (auto [name, size, offset, patch] :
         { std::tuple ("cut inside its table directory", (size_t) 200, (size_t) 0, std::string()),
           std::tuple ("first table past the end", font.getSize(), (size_t) 20,
                       std::string ("\xff\xff\0\0", 4)),
           std::tuple ("no character map", font.getSize(), cmap, std::string ("cmaq")) })
        EXPECT_EQ (embeddedFont::makeTypeface (patched (font, size, offset, patch)), nullptr)
            << name;
}
