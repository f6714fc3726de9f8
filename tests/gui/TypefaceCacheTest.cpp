#include "look/TypefaceCache.h"
#include "CountingTypeface.h"
#include "LookTestSupport.h"
#include "look/EmbeddedFont.h"

#include <gtest/gtest.h>

namespace
{
class TypefaceCacheTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        real = embeddedFont::makeTypeface (look_test_support::embeddedFontData());
    }
    static void TearDownTestSuite() { real = nullptr; }

    void SetUp() override
    {
        ASSERT_NE (real, nullptr);
        counting = new CountingTypeface (real);
        cache = new tessel::TypefaceCache (counting);
    }

    static juce::Typeface::Ptr real;
    juce::ReferenceCountedObjectPtr<CountingTypeface> counting;
    juce::ReferenceCountedObjectPtr<tessel::TypefaceCache> cache;
};

juce::Typeface::Ptr TypefaceCacheTest::real;
} // namespace

TEST_F (TypefaceCacheTest, EachTextIsAskedOnceAndKeysAreExact)
{
    // ド and ト differ only in the last byte of their UTF-8 form.
    const char* texts[] = { "", "a", "A", "Next", u8"ダウド", u8"ダウト" };

    for (int round = 0; round < 3; ++round)
        for (auto* utf8 : texts)
        {
            const juce::String t = juce::CharPointer_UTF8 (utf8);
            EXPECT_EQ (cache->getStringWidth (t), real->getStringWidth (t)) << t;
            juce::Array<int> glyphs;
            juce::Array<float> offsets;
            cache->getGlyphPositions (t, glyphs, offsets);
        }

    // Widths and glyph positions are cached apart: neither answers for the other.
    EXPECT_EQ (counting->counts.width, (int) std::size (texts));
    EXPECT_EQ (counting->counts.glyphPositions, (int) std::size (texts));
}

namespace
{
struct EvictionCase
{
    const char* name;
    int capacity;
    int CountingTypeface::Counts::*calls;
    std::function<bool (tessel::TypefaceCache&, int)> query;
};

juce::String text (int n)
{
    return "Downloaded " + juce::String (n) + " MB";
}

const EvictionCase evictionCases[] = {
    { "widths", 4096, &CountingTypeface::Counts::width,
      [] (tessel::TypefaceCache& c, int n) { return c.getStringWidth (text (n)) > 0.0f; } },
    { "glyphPositions", 4096, &CountingTypeface::Counts::glyphPositions,
      [] (tessel::TypefaceCache& c, int n)
      {
          juce::Array<int> glyphs;
          juce::Array<float> offsets;
          c.getGlyphPositions (text (n), glyphs, offsets);
          return ! glyphs.isEmpty();
      } },
    // Glyphs from the CJK unified ideographs, which the font has.
    { "outlines", 1024, &CountingTypeface::Counts::outline,
      [] (tessel::TypefaceCache& c, int n)
      {
          juce::Path path;
          return c.getOutlineForGlyph (0x4e00 + n, path);
      } },
};

class TypefaceCacheEviction
    : public TypefaceCacheTest
    , public ::testing::WithParamInterface<EvictionCase>
{
};

std::string evictionName (const ::testing::TestParamInfo<EvictionCase>& param)
{
    return param.param.name;
}
} // namespace

TEST_P (TypefaceCacheEviction, FullCacheEvictsTheLeastRecentlyUsedEntry)
{
    auto& c = GetParam();
    auto calls = [&] { return counting->counts.*c.calls; };
    auto query = [&] (int n) { return c.query (*cache, n); };

    for (int i = 0; i < c.capacity; ++i)
        ASSERT_TRUE (query (i)) << i;
    ASSERT_EQ (calls(), c.capacity);

    query (0); // a hit: entry 0 moves to the front
    EXPECT_EQ (calls(), c.capacity);

    query (c.capacity); // evicts entry 1, now the least recently used
    EXPECT_EQ (calls(), c.capacity + 1);

    query (0);
    query (2);
    query (c.capacity);
    EXPECT_EQ (calls(), c.capacity + 1);

    query (1);
    EXPECT_EQ (calls(), c.capacity + 2);
}

INSTANTIATE_TEST_SUITE_P (Caches, TypefaceCacheEviction, ::testing::ValuesIn (evictionCases),
                          evictionName);

TEST_F (TypefaceCacheTest, GlyphPositionsReplaceWhatTheCallersArraysHeld)
{
    const juce::String line = juce::CharPointer_UTF8 ("\xe6\xac\xa1\xe3\x81\xb8 Next");
    juce::Array<int> expectedGlyphs;
    juce::Array<float> expectedOffsets;
    real->getGlyphPositions (line, expectedGlyphs, expectedOffsets);
    ASSERT_FALSE (expectedGlyphs.isEmpty());

    for (int call = 0; call < 3; ++call)
    {
        juce::Array<int> glyphs { 7, 8, 9 };
        juce::Array<float> offsets { 1.0f, 2.0f };
        cache->getGlyphPositions (line, glyphs, offsets);

        EXPECT_EQ (glyphs, expectedGlyphs) << "call " << call;
        EXPECT_EQ (offsets, expectedOffsets) << "call " << call;
    }

    EXPECT_EQ (counting->counts.glyphPositions, 1);
}

TEST_F (TypefaceCacheTest, OutlinesAreKeptButFailuresAreAskedForEveryTime)
{
    const int refused = 'R', kept = 0x8a00; // 言
    counting->refusedOutlines.insert (refused);

    juce::Path expected;
    ASSERT_TRUE (real->getOutlineForGlyph (kept, expected));

    for (int call = 0; call < 3; ++call)
    {
        juce::Path path;
        path.addRectangle (0.0f, 0.0f, 5.0f, 5.0f);
        EXPECT_TRUE (cache->getOutlineForGlyph (kept, path));
        EXPECT_TRUE (path == expected);

        juce::Path none;
        EXPECT_FALSE (cache->getOutlineForGlyph (refused, none));
    }

    // One call for the kept glyph, three for the refused one.
    EXPECT_EQ (counting->counts.outline, 4);
}

TEST_F (TypefaceCacheTest, UncachedQueriesReachTheFontEveryTime)
{
    juce::Font font (17.0f);

    for (int call = 0; call < 2; ++call)
    {
        EXPECT_EQ (cache->getAscent(), real->getAscent());
        EXPECT_EQ (cache->getDescent(), real->getDescent());
        EXPECT_EQ (cache->getHeightToPointsFactor(), real->getHeightToPointsFactor());
        EXPECT_EQ (cache->isHinted(), real->isHinted());
        EXPECT_EQ (cache->isSuitableForFont (font), real->isSuitableForFont (font));
        std::unique_ptr<juce::EdgeTable> table (cache->getEdgeTableForGlyph ('A', {}, 17.0f));
        EXPECT_NE (table, nullptr);
    }

    auto& c = counting->counts;
    for (int calls : { c.ascent, c.descent, c.heightToPoints, c.hinted, c.suitable, c.edgeTable })
        EXPECT_EQ (calls, 2);
}
