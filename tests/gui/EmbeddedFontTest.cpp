#include "look/EmbeddedFont.h"
#include "LookTestSupport.h"
#include "look/FontArchivePieces.h"
#include "look/FontDataCheck.h"
#include "look/TypefaceCache.h"

#include <gtest/gtest.h>

namespace
{
constexpr std::size_t pieceGranule = 102400;

juce::MemoryBlock fileBytes (const char* path)
{
    juce::MemoryBlock block;
    juce::File (juce::String (path)).loadFileAsData (block);
    return block;
}

juce::MemoryBlock zipOf (const juce::MemoryBlock& content)
{
    juce::ZipFile::Builder builder;
    builder.addEntry (new juce::MemoryInputStream (content, true), 0, "font.otf", juce::Time());
    juce::MemoryOutputStream out;
    builder.writeToStream (out, nullptr);
    return out.getMemoryBlock();
}

juce::MemoryBlock slice (const juce::MemoryBlock& block, size_t start, size_t size)
{
    return juce::MemoryBlock (static_cast<const char*> (block.getData()) + start, size);
}

juce::MemoryBlock randomBytes (size_t size)
{
    juce::Random random (42);
    juce::MemoryBlock block (size);
    random.fillBitsRandomly (block.getData(), size);
    return block;
}

void putU32 (juce::MemoryBlock& block, size_t offset, juce::uint32 value)
{
    block[offset] = (char) (value >> 24);
    block[offset + 1] = (char) (value >> 16);
    block[offset + 2] = (char) (value >> 8);
    block[offset + 3] = (char) value;
}

bool themeUsesTypefaceCache (juce::LookAndFeel& theme)
{
    auto typeface = theme.getTypefaceForFont (juce::Font (17.0f));
    return dynamic_cast<tessel::TypefaceCache*> (typeface.get()) != nullptr;
}
} // namespace

TEST (EmbeddedFontArchive, PiecesFollowTheSplitRuleAndJoinToTheBuiltArchive)
{
    const std::size_t sizes[] = { larkspire_font_piece_1_size, larkspire_font_piece_2_size,
                                  larkspire_font_piece_3_size, larkspire_font_piece_4_size };
    auto total = sizes[0] + sizes[1] + sizes[2] + sizes[3];

    auto piece = ((total + 3) / 4 + pieceGranule - 1) / pieceGranule * pieceGranule;
    EXPECT_EQ (sizes[0], piece);
    EXPECT_EQ (sizes[1], piece);
    EXPECT_EQ (sizes[2], piece);
    EXPECT_EQ (sizes[3], total - 3 * piece);

    auto joined = embeddedFont::joinArchive();
    EXPECT_EQ (joined.getSize(), total);
    EXPECT_TRUE (joined == fileBytes (LARKSPIRE_FONT_ARCHIVE_FILE));
}

TEST (EmbeddedFontArchive, HoldsOneDeflatedOpenTypeFontWithCffOutlines)
{
    auto archive = embeddedFont::joinArchive();
    juce::MemoryInputStream stream (archive, false);
    juce::ZipFile zip (stream);
    ASSERT_EQ (zip.getNumEntries(), 1);
    // Deflated: the whole archive is smaller than its one member.
    EXPECT_LT ((juce::int64) archive.getSize(), zip.getEntry (0)->uncompressedSize);

    auto font = look_test_support::embeddedFontData();
    EXPECT_EQ (font.getSize(), 16467736u);
    EXPECT_EQ (font.toString().substring (0, 4), "OTTO");
    EXPECT_TRUE (hasFontTableDirectory (font.getData(), font.getSize()));
    EXPECT_TRUE (font == fileBytes (LARKSPIRE_FONT_FILE));

    // The 'CFF ' table is in the directory (records are 16 bytes from offset 12).
    auto numTables = (int) (((juce::uint8) font[4] << 8) | (juce::uint8) font[5]);
    bool hasCff = false;
    for (int i = 0; i < numTables; ++i)
        hasCff = hasCff || slice (font, 12 + 16 * (size_t) i, 4).toString() == "CFF ";
    EXPECT_TRUE (hasCff);
}

TEST (EmbeddedFontInstall, InstallsTheCachedTypefaceAsTheDefaultSansSerif)
{
    FernwaveTheme theme;
    EXPECT_FALSE (themeUsesTypefaceCache (theme));

    ASSERT_TRUE (installEmbeddedFont (theme));

    auto typeface = theme.getTypefaceForFont (juce::Font (17.0f));
    ASSERT_NE (dynamic_cast<tessel::TypefaceCache*> (typeface.get()), nullptr);
    EXPECT_EQ (typeface->getName(), "Noto Sans CJK JP");
    // Only the default sans-serif name resolves to it.
    EXPECT_FALSE (themeUsesTypefaceCache (theme) &&
                  theme.getTypefaceForFont (juce::Font ("DejaVu Sans", 17.0f, 0)) == typeface);
}

namespace
{
struct BadArchive
{
    const char* name;
    std::function<juce::MemoryBlock()> make;
};

std::vector<BadArchive> badArchives()
{
    return {
        { "empty", [] { return juce::MemoryBlock(); } },
        { "garbage", [] { return randomBytes (200000); } },
        { "truncatedArchive", [] { return slice (embeddedFont::joinArchive(), 0, 6000000); } },
        { "archiveWithoutItsStart",
          []
          {
              auto a = embeddedFont::joinArchive();
              return slice (a, 4096, a.getSize() - 4096);
          } },
        { "zipOfGarbage", [] { return zipOf (randomBytes (100000)); } },
        { "zipOfEmptyFile", [] { return zipOf ({}); } },
        { "zipOfTruncatedFont",
          [] { return zipOf (slice (look_test_support::embeddedFontData(), 0, 65536)); } },
        { "zipOfOttoTagAndGarbage",
          []
          {
              auto bytes = randomBytes (100000);
              bytes.copyFrom ("OTTO", 0, 4);
              return zipOf (bytes);
          } },
        { "zipOfFontWithTablePastItsEnd",
          []
          {
              auto font = look_test_support::embeddedFontData();
              putU32 (font, 12 + 8, (juce::uint32) font.getSize() - 16); // first table's offset
              return zipOf (font);
          } },
        { "zipOfFontWithoutCharacterMap",
          []
          {
              auto font = look_test_support::embeddedFontData();
              auto numTables = (size_t) (((juce::uint8) font[4] << 8) | (juce::uint8) font[5]);
              for (size_t i = 0; i < numTables; ++i)
                  if (slice (font, 12 + 16 * i, 4).toString() == "cmap")
                      font[12 + 16 * i + 3] = 'q';
              return zipOf (font);
          } },
    };
}

class EmbeddedFontRejects : public ::testing::TestWithParam<BadArchive>
{
};

std::string archiveName (const ::testing::TestParamInfo<BadArchive>& param)
{
    return param.param.name;
}
} // namespace

TEST_P (EmbeddedFontRejects, BadArchiveLeavesTheThemesFontAlone)
{
    FernwaveTheme theme;
    auto before = theme.getTypefaceForFont (juce::Font (17.0f));

    EXPECT_FALSE (embeddedFont::installFromArchive (theme, GetParam().make()));

    EXPECT_FALSE (themeUsesTypefaceCache (theme));
    EXPECT_EQ (theme.getTypefaceForFont (juce::Font (17.0f))->getName(), before->getName());
    // The theme's colours do not depend on the font.
    EXPECT_EQ (theme.findColour (juce::Label::textColourId).getARGB(), 0xff4e4e4eu);
}

INSTANTIATE_TEST_SUITE_P (Archives, EmbeddedFontRejects, ::testing::ValuesIn (badArchives()),
                          archiveName);

TEST (FontDataCheck, AcceptsOpenTypeTrueTypeAndCollections)
{
    auto otf = look_test_support::embeddedFontData();
    EXPECT_TRUE (isUsableFontData (otf.getData(), otf.getSize()));

    auto collection = fileBytes (LARKSPIRE_FONT_COLLECTION_FILE);
    ASSERT_EQ (slice (collection, 0, 4).toString(), "ttcf");
    EXPECT_TRUE (isUsableFontData (collection.getData(), collection.getSize()));

    auto ttf = fileBytes ("/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf");
    if (ttf.isEmpty())
        GTEST_SKIP() << "DejaVu Sans is not installed";

    ASSERT_EQ ((int) ttf[1], 1); // 0x00010000
    EXPECT_TRUE (isUsableFontData (ttf.getData(), ttf.getSize()));
    ttf.copyFrom ("true", 0, 4);
    EXPECT_TRUE (hasFontTableDirectory (ttf.getData(), ttf.getSize()));
}

TEST (FontDataCheck, RejectsBrokenDirectories)
{
    auto font = look_test_support::embeddedFontData();

    auto withTables = [&] (juce::uint32 count)
    {
        auto copy = font;
        copy[4] = (char) (count >> 8);
        copy[5] = (char) count;
        return hasFontTableDirectory (copy.getData(), copy.getSize());
    };
    EXPECT_FALSE (withTables (0));
    EXPECT_FALSE (withTables (0xffff));

    auto badHead = font;
    auto numTables = (size_t) (((juce::uint8) font[4] << 8) | (juce::uint8) font[5]);
    for (size_t i = 0; i < numTables; ++i)
        if (slice (font, 12 + 16 * i, 4).toString() == "head")
        {
            auto headOffset = ((size_t) (juce::uint8) font[12 + 16 * i + 8] << 24) |
                              ((size_t) (juce::uint8) font[12 + 16 * i + 9] << 16) |
                              ((size_t) (juce::uint8) font[12 + 16 * i + 10] << 8) |
                              (size_t) (juce::uint8) font[12 + 16 * i + 11];
            badHead[headOffset + 12] = 0; // magic number
        }
    EXPECT_FALSE (hasFontTableDirectory (badHead.getData(), badHead.getSize()));

    EXPECT_FALSE (hasFontTableDirectory (nullptr, 0));
    EXPECT_FALSE (hasFontTableDirectory ("OTTO", 4));
    EXPECT_FALSE (isUsableFontData (font.getData(), 11));
}
