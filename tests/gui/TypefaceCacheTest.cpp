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

    static juce::String text (int n) { return "Downloaded " + juce::String (n) + " MB"; }

    static juce::Typeface::Ptr real;
    juce::ReferenceCountedObjectPtr<CountingTypeface> counting;
    juce::ReferenceCountedObjectPtr<tessel::TypefaceCache> cache;
};

juce::Typeface::Ptr TypefaceCacheTest::real;
} // namespace

TEST_F (TypefaceCacheTest, TakesNameAndStyleWithoutQueryingTheFont)
{
    EXPECT_EQ (cache->getName(), "Noto Sans CJK JP");
    EXPECT_EQ (cache->getStyle(), "Regular");
    EXPECT_EQ (counting->counts.width + counting->counts.ascent + counting->counts.outline, 0);
}

TEST_F (TypefaceCacheTest, WidthOfTheSameTextIsAskedOnce)
{
    auto first = cache->getStringWidth ("Next");
    auto second = cache->getStringWidth ("Next");

    EXPECT_EQ (counting->counts.width, 1);
    EXPECT_EQ (first, second);
    EXPECT_EQ (first, real->getStringWidth ("Next"));
}

TEST_F (TypefaceCacheTest, EmptyTextAndTextsDifferingInOneByteAreKeysOfTheirOwn)
{
    // ド and ト differ only in the last byte of their UTF-8 form.
    const juce::String texts[] = { {},
                                   "a",
                                   "A",
                                   juce::CharPointer_UTF8 ("\xe3\x83\x80\xe3\x82\xa6\xe3\x83\x89"),
                                   juce::CharPointer_UTF8 (
                                       "\xe3\x83\x80\xe3\x82\xa6\xe3\x83\x88") };

    for (int round = 0; round < 3; ++round)
        for (auto& t : texts)
        {
            cache->getStringWidth (t);
            juce::Array<int> glyphs;
            juce::Array<float> offsets;
            cache->getGlyphPositions (t, glyphs, offsets);
        }

    EXPECT_EQ (counting->counts.width, (int) std::size (texts));
    EXPECT_EQ (counting->counts.glyphPositions, (int) std::size (texts));
}

TEST_F (TypefaceCacheTest, FullWidthCacheEvictsTheLeastRecentlyUsedText)
{
    for (int i = 0; i < 4096; ++i)
        cache->getStringWidth (text (i));
    ASSERT_EQ (counting->counts.width, 4096);

    cache->getStringWidth (text (0)); // a hit: text 0 moves to the front
    EXPECT_EQ (counting->counts.width, 4096);

    cache->getStringWidth (text (4096)); // evicts text 1, now the least recently used
    EXPECT_EQ (counting->counts.width, 4097);

    cache->getStringWidth (text (0));
    cache->getStringWidth (text (2));
    cache->getStringWidth (text (4096));
    EXPECT_EQ (counting->counts.width, 4097);

    cache->getStringWidth (text (1));
    EXPECT_EQ (counting->counts.width, 4098);
}

TEST_F (TypefaceCacheTest, FullGlyphCacheEvictsTheLeastRecentlyUsedText)
{
    juce::Array<int> glyphs;
    juce::Array<float> offsets;

    for (int i = 0; i <= 4096; ++i)
        cache->getGlyphPositions (text (i), glyphs, offsets);
    ASSERT_EQ (counting->counts.glyphPositions, 4097);

    cache->getGlyphPositions (text (1), glyphs, offsets);
    EXPECT_EQ (counting->counts.glyphPositions, 4097);
    cache->getGlyphPositions (text (0), glyphs, offsets);
    EXPECT_EQ (counting->counts.glyphPositions, 4098);
}

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

TEST_F (TypefaceCacheTest, FullOutlineCacheEvictsTheLeastRecentlyUsedGlyph)
{
    juce::Path path;
    const int first = 0x4e00; // CJK unified ideographs

    for (int i = 0; i < 1024; ++i)
        ASSERT_TRUE (cache->getOutlineForGlyph (first + i, path));

    cache->getOutlineForGlyph (first, path);
    cache->getOutlineForGlyph (first + 1024, path);
    EXPECT_EQ (counting->counts.outline, 1025);

    cache->getOutlineForGlyph (first, path);
    cache->getOutlineForGlyph (first + 2, path);
    EXPECT_EQ (counting->counts.outline, 1025);

    cache->getOutlineForGlyph (first + 1, path);
    EXPECT_EQ (counting->counts.outline, 1026);
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
    EXPECT_EQ (c.ascent, 2);
    EXPECT_EQ (c.descent, 2);
    EXPECT_EQ (c.heightToPoints, 2);
    EXPECT_EQ (c.hinted, 2);
    EXPECT_EQ (c.suitable, 2);
    EXPECT_EQ (c.edgeTable, 2);
}

TEST_F (TypefaceCacheTest, TheCachesAreSeparate)
{
    juce::Array<int> glyphs;
    juce::Array<float> offsets;
    cache->getGlyphPositions ("Back", glyphs, offsets);
    cache->getStringWidth ("Back");

    EXPECT_EQ (counting->counts.glyphPositions, 1);
    EXPECT_EQ (counting->counts.width, 1);
}
