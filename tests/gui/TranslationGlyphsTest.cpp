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

    juce::String text() const
    {
        return juce::String::fromUTF8 (reinterpret_cast<const char*> (data), (int) size);
    }
};

const TranslationText translationTexts[] = {
    { "ja", BinaryResources::translationJa, BinaryResources::translationJaSize },
    { "zh_CN", BinaryResources::translationZhCn, BinaryResources::translationZhCnSize },
};

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

    auto typeface = juce::Font (17.0f).getTypefacePtr();
    ASSERT_NE (dynamic_cast<tessel::TypefaceCache*> (typeface.get()), nullptr)
        << "text is not measured through the typeface cache";
    ASSERT_EQ (typeface->getName(), "Noto Sans CJK JP");

    // What the font draws for a character it does not have (a private-use code point); an
    // emoji, which the font lacks, gives that same outline, so the check below can tell.
    juce::Path missing, emoji;
    typeface->getOutlineForGlyph (0x10fffd, missing);
    typeface->getOutlineForGlyph (0x1f600, emoji);
    ASSERT_TRUE (emoji == missing);

    auto text = GetParam().text();
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
        EXPECT_TRUE (typeface->getOutlineForGlyph (glyphs[0], outline) && ! outline.isEmpty() &&
                     ! (outline == missing) && offsets.getLast() > 0.0f)
            << "U+" << std::hex << (int) c << " has no glyph of its own";

        cjk += c >= 0x3000 ? 1 : 0;
    }

    EXPECT_GT (cjk, 50);
}

TEST_P (TranslationGlyphs, EveryLineIsMeasuredAndDrawnInk)
{
    juce::Font font (17.0f);
    int drawn = 0;

    for (auto& line : juce::StringArray::fromLines (GetParam().text()))
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
