#include "look/TypefaceCache.h"
#include "CountingTypeface.h"
#include "look/EmbeddedFont.h"

#include <gtest/gtest.h>

using namespace embeddedFont;

TEST (TypefaceCache, RepeatsAreAnsweredFromTheCacheKeyedByTheExactText)
{
    auto real = makeTypeface (readFirstEntry (joinArchive()));
    ASSERT_NE (real, nullptr);
    juce::ReferenceCountedObjectPtr<CountingTypeface> counting (new CountingTypeface (real));
    tessel::TypefaceCache cache (counting);
    // ド and ト differ only in the last byte of their UTF-8 form; the long texts share their
    // first 39 characters, and the longest differ only in their 300th, "i" against "W".
    const auto longI = std::string (299, 'e') + "i", longW = std::string (299, 'e') + "W";
    const char* texts[] = { "",
                            "a",
                            "A",
                            "Next",
                            u8"ダウド",
                            u8"ダウト",
                            u8"次へ Next",
                            "Press Open Folder to open the installer file location.",
                            "Press Open Folder to open the installer",
                            longI.c_str(),
                            longW.c_str() };
    const int refused = 'R', kept = 0x8a00;
    counting->refusedOutline = refused;
    juce::Path keptOutline;
    ASSERT_TRUE (real->getOutlineForGlyph (kept, keptOutline));

    for (int round = 0; round < 3; ++round)
    {
        for (auto* utf8 : texts)
        {
            const juce::String text = juce::CharPointer_UTF8 (utf8);
            EXPECT_EQ (cache.getStringWidth (text), real->getStringWidth (text)) << text;

            // What the caller's arrays held is replaced, on a miss as on a hit.
            juce::Array<int> glyphs { 7, 8, 9 }, expectedGlyphs;
            juce::Array<float> offsets { 1.0f, 2.0f }, expectedOffsets;
            real->getGlyphPositions (text, expectedGlyphs, expectedOffsets);
            cache.getGlyphPositions (text, glyphs, offsets);
            EXPECT_EQ (glyphs, expectedGlyphs) << text;
            EXPECT_EQ (offsets, expectedOffsets) << text;
        }

        juce::Path path;
        path.addRectangle (0.0f, 0.0f, 5.0f, 5.0f);
        EXPECT_TRUE (cache.getOutlineForGlyph (kept, path) && path == keptOutline);
        EXPECT_FALSE (cache.getOutlineForGlyph (refused, path));
    }

    // Widths and glyph positions are kept apart; a refused outline is asked for every time.
    EXPECT_EQ (counting->widths, (int) std::size (texts));
    EXPECT_EQ (counting->glyphPositions, (int) std::size (texts));
    EXPECT_EQ (counting->outlines, 1 + 3);
}

TEST (TypefaceCache, AFullCacheEvictsTheLeastRecentlyUsedEntry)
{
    auto real = makeTypeface (readFirstEntry (joinArchive()));
    ASSERT_NE (real, nullptr);
    juce::ReferenceCountedObjectPtr<CountingTypeface> counting (new CountingTypeface (real));
    tessel::TypefaceCache cache (counting);
    auto text = [] (int n) { return "Downloaded " + juce::String (n) + " MB"; };
    juce::Array<int> glyphs;
    juce::Array<float> offsets;
    juce::Path path;

    // Capacity, count and query of entry n; the outlines are of CJK ideographs the font has.
    const std::tuple<int, int CountingTypeface::*, std::function<void (int)>> caches[] = {
        { 4096, &CountingTypeface::widths, [&] (int n) { cache.getStringWidth (text (n)); } },
        { 4096, &CountingTypeface::glyphPositions,
          [&] (int n) { cache.getGlyphPositions (text (n), glyphs, offsets); } },
        { 1024, &CountingTypeface::outlines,
          [&] (int n) { EXPECT_TRUE (cache.getOutlineForGlyph (0x4e00 + n, path)); } },
    };

    for (auto& [capacity, counter, query] : caches)
    {
        for (int i = 0; i < capacity; ++i)
            query (i);
        ASSERT_EQ (counting.get()->*counter, capacity);

        // A hit on 0 makes it the most recently used, so capacity evicts 1 and not 0.
        for (int n : { 0, capacity, 0, 2, capacity })
            query (n);

        EXPECT_EQ (counting.get()->*counter, capacity + 1) << capacity;
        query (1);
        EXPECT_EQ (counting.get()->*counter, capacity + 2) << capacity;
    }
}
