#include "LookTestSupport.h"
#include "look/TypefaceCache.h"
#include "resources/BinaryResources.h"

#include <gtest/gtest.h>

#include <set>

using namespace look_test_support;

namespace
{
struct TranslationText
{
    const char* name;
    const unsigned char* data;
    std::size_t size;
};

const TranslationText translationTexts[] = {
    { "ja", BinaryResources::translationJa, BinaryResources::translationJaSize },
    { "zh_CN", BinaryResources::translationZhCn, BinaryResources::translationZhCnSize },
};

juce::String textOf (const TranslationText& t)
{
    return juce::String::fromUTF8 (reinterpret_cast<const char*> (t.data), (int) t.size);
}

class TranslationGlyphs : public ::testing::TestWithParam<TranslationText>
{
protected:
    static void SetUpTestSuite() { installed = std::make_unique<ScopedInstalledTheme>(); }
    static void TearDownTestSuite() { installed.reset(); }

    static std::unique_ptr<ScopedInstalledTheme> installed;
};

std::unique_ptr<ScopedInstalledTheme> TranslationGlyphs::installed;

std::string textName (const ::testing::TestParamInfo<TranslationText>& param)
{
    return param.param.name;
}
} // namespace

TEST_P (TranslationGlyphs, EveryCharacterHasItsOwnOutlineInTheEmbeddedFont)
{
    ASSERT_TRUE (installed->fontInstalled);

    juce::Font font (17.0f);
    auto typeface = font.getTypefacePtr();
    ASSERT_NE (dynamic_cast<tessel::TypefaceCache*> (typeface.get()), nullptr)
        << "text is not measured through the typeface cache";
    ASSERT_EQ (typeface->getName(), "Noto Sans CJK JP");

    // What the font draws for a character it does not have (a private-use code point).
    juce::Path missing;
    typeface->getOutlineForGlyph (0x10fffd, missing);
    // The check below can tell: an emoji, which the font lacks, gives that same outline.
    juce::Path emoji;
    typeface->getOutlineForGlyph (0x1f600, emoji);
    ASSERT_TRUE (emoji == missing);

    auto text = textOf (GetParam());
    ASSERT_GT (text.length(), 100);
    std::set<juce::juce_wchar> characters;

    for (auto p = text.getCharPointer(); ! p.isEmpty(); ++p)
        if (! juce::CharacterFunctions::isWhitespace (*p))
            characters.insert (*p);

    int cjk = 0;

    for (auto c : characters)
    {
        juce::Array<int> glyphs;
        juce::Array<float> offsets;
        typeface->getGlyphPositions (juce::String::charToString (c), glyphs, offsets);
        ASSERT_EQ (glyphs.size(), 1) << "U+" << std::hex << (int) c;

        juce::Path outline;
        EXPECT_TRUE (typeface->getOutlineForGlyph (glyphs[0], outline))
            << "U+" << std::hex << (int) c;
        EXPECT_FALSE (outline.isEmpty()) << "U+" << std::hex << (int) c;
        EXPECT_FALSE (outline == missing)
            << "U+" << std::hex << (int) c << " is the missing-glyph box";
        EXPECT_GT (offsets.getLast(), 0.0f) << "U+" << std::hex << (int) c;

        cjk += c >= 0x3000 ? 1 : 0;
    }

    EXPECT_GT (cjk, 50);
}

TEST_P (TranslationGlyphs, EveryLineIsMeasuredAndDrawnInk)
{
    juce::Font font (17.0f);
    auto lines = juce::StringArray::fromLines (textOf (GetParam()));
    int drawn = 0;

    for (auto& line : lines)
    {
        // The translated side of each entry: "source" = "translation".
        auto translated = line.fromFirstOccurrenceOf ("= \"", false, false)
                              .upToLastOccurrenceOf ("\"", false, false);

        if (translated.trim().isEmpty())
            continue;

        auto width = font.getStringWidthFloat (translated);
        EXPECT_GT (width, 0.0f) << translated;

        auto image = whiteImage (juce::jmax (1, (int) std::ceil (width) + 4), 24);
        {
            juce::Graphics g (image);
            g.setColour (juce::Colours::black);
            g.setFont (font);
            g.drawSingleLineText (translated, 2, 18);
        }

        // Ink across the text's width, not only at its start.
        EXPECT_LT (darkestChannel (image, image.getBounds()), 100) << translated;
        EXPECT_LT (darkestChannel (image, image.getBounds().withTrimmedLeft (image.getWidth() / 2)),
                   160)
            << translated;
        ++drawn;
    }

    EXPECT_GT (drawn, 20);
}

INSTANTIATE_TEST_SUITE_P (Texts, TranslationGlyphs, ::testing::ValuesIn (translationTexts),
                          textName);
