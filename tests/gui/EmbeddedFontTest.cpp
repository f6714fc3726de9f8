#include "look/EmbeddedFont.h"
#include "LookTestSupport.h"
#include "look/FontArchivePieces.h"
#include "look/FontDataCheck.h"
#include "look/TypefaceCache.h"

#include <gtest/gtest.h>

using look_test_support::embeddedFontData;

namespace
{
juce::MemoryBlock fileBytes (const char* path)
{
    juce::MemoryBlock block;
    juce::File (juce::String (path)).loadFileAsData (block);
    return block;
}

/** size bytes of block from start, or all from start to the end. */
juce::MemoryBlock slice (const juce::MemoryBlock& block, size_t start, size_t size = 0)
{
    return juce::MemoryBlock (static_cast<const char*> (block.getData()) + start,
                              size > 0 ? size : block.getSize() - start);
}

/** block with size bytes at offset overwritten by patch. */
juce::MemoryBlock patched (juce::MemoryBlock block, size_t offset, const char* patch, size_t size)
{
    block.copyFrom (patch, (int) offset, size);
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

juce::MemoryBlock randomBytes (size_t size)
{
    juce::MemoryBlock block (size);
    juce::Random (42).fillBitsRandomly (block.getData(), size);
    return block;
}

juce::uint32 u32At (const juce::MemoryBlock& block, size_t offset)
{
    return juce::ByteOrder::bigEndianInt (static_cast<const char*> (block.getData()) + offset);
}

/** Where the font's table directory holds the record of the table tag, or 0. */
size_t recordOf (const juce::MemoryBlock& font, const char* tag)
{
    for (size_t record = 12; record < 12 + 16 * (u32At (font, 4) >> 16); record += 16)
        if (slice (font, record, 4).toString() == tag)
            return record;

    return 0;
}

bool usesTypefaceCache (juce::LookAndFeel& theme)
{
    auto typeface = theme.getTypefaceForFont (juce::Font (17.0f));
    return dynamic_cast<tessel::TypefaceCache*> (typeface.get()) != nullptr;
}
} // namespace

TEST (EmbeddedFontArchive, PiecesJoinToTheBuiltArchiveOfOneDeflatedCffFont)
{
    const std::size_t sizes[] = { larkspire_font_piece_1_size, larkspire_font_piece_2_size,
                                  larkspire_font_piece_3_size, larkspire_font_piece_4_size };
    auto total = sizes[0] + sizes[1] + sizes[2] + sizes[3];

    // A quarter, rounded up to whole 100 KiB; the last piece takes the rest.
    auto piece = ((total + 3) / 4 + 102399) / 102400 * 102400;
    EXPECT_EQ (std::vector<std::size_t> (sizes, sizes + 4),
               (std::vector<std::size_t> { piece, piece, piece, total - 3 * piece }));

    auto archive = embeddedFont::joinArchive();
    EXPECT_TRUE (archive == fileBytes (LARKSPIRE_FONT_ARCHIVE_FILE));
    juce::MemoryInputStream stream (archive, false);
    juce::ZipFile zip (stream);
    ASSERT_EQ (zip.getNumEntries(), 1);
    // Deflated: the whole archive is smaller than its one member.
    EXPECT_LT ((juce::int64) total, zip.getEntry (0)->uncompressedSize);

    auto font = embeddedFontData();
    EXPECT_EQ (font.getSize(), 16467736u);
    EXPECT_EQ (font.toString().substring (0, 4), "OTTO");
    EXPECT_NE (recordOf (font, "CFF "), 0u);
    EXPECT_TRUE (font == fileBytes (LARKSPIRE_FONT_FILE));
}

TEST (EmbeddedFontInstall, InstallsTheCachedTypefaceAsTheDefaultSansSerif)
{
    FernwaveTheme theme;
    EXPECT_FALSE (usesTypefaceCache (theme));

    ASSERT_TRUE (installEmbeddedFont (theme));

    auto typeface = theme.getTypefaceForFont (juce::Font (17.0f));
    ASSERT_TRUE (usesTypefaceCache (theme));
    EXPECT_EQ (typeface->getName(), "Noto Sans CJK JP");
    EXPECT_EQ (typeface->getStyle(), "Regular");
    // Only the default sans-serif name resolves to it.
    EXPECT_NE (theme.getTypefaceForFont (juce::Font ("DejaVu Sans", 17.0f, 0)), typeface);
}

namespace
{
struct BadArchive
{
    const char* name;
    juce::MemoryBlock (*make)();
};

const BadArchive badArchives[] = {
    { "empty", [] { return juce::MemoryBlock(); } },
    { "garbage", [] { return randomBytes (200000); } },
    { "truncatedArchive", [] { return slice (embeddedFont::joinArchive(), 0, 6000000); } },
    { "archiveWithoutItsStart", [] { return slice (embeddedFont::joinArchive(), 4096); } },
    { "zipOfEmptyFile", [] { return zipOf ({}); } },
    { "zipOfTruncatedFont", [] { return zipOf (slice (embeddedFontData(), 0, 65536)); } },
    { "zipOfOttoTagAndGarbage",
      [] { return zipOf (patched (randomBytes (100000), 0, "OTTO", 4)); } },
    // The first table's offset moved past the end of the font.
    { "zipOfFontWithTablePastItsEnd",
      [] { return zipOf (patched (embeddedFontData(), 12 + 8, "\xff\xff\x00\x00", 4)); } },
    { "zipOfFontWithoutCharacterMap",
      []
      {
          auto font = embeddedFontData();
          return zipOf (patched (font, recordOf (font, "cmap"), "cmaq", 4));
      } },
};

std::string archiveName (const ::testing::TestParamInfo<BadArchive>& param)
{
    return param.param.name;
}

class EmbeddedFontRejects : public ::testing::TestWithParam<BadArchive>
{
};
} // namespace

TEST_P (EmbeddedFontRejects, BadArchiveLeavesTheThemesFontAlone)
{
    FernwaveTheme theme;
    auto before = theme.getTypefaceForFont (juce::Font (17.0f));

    EXPECT_FALSE (embeddedFont::installFromArchive (theme, GetParam().make()));

    EXPECT_FALSE (usesTypefaceCache (theme));
    EXPECT_EQ (theme.getTypefaceForFont (juce::Font (17.0f))->getName(), before->getName());
    // The theme's colours do not depend on the font.
    EXPECT_EQ (theme.findColour (juce::Label::textColourId).getARGB(), 0xff4e4e4eu);
}

INSTANTIATE_TEST_SUITE_P (Archives, EmbeddedFontRejects, ::testing::ValuesIn (badArchives),
                          archiveName);

TEST (FontDataCheck, AcceptsTheFontAndItsCollectionAndRejectsBrokenDirectories)
{
    const auto font = embeddedFontData();
    EXPECT_TRUE (isUsableFontData (font.getData(), font.getSize()));
    auto collection = fileBytes (LARKSPIRE_FONT_COLLECTION_FILE);
    ASSERT_EQ (slice (collection, 0, 4).toString(), "ttcf");
    EXPECT_TRUE (isUsableFontData (collection.getData(), collection.getSize()));

    auto damaged = [&] (size_t offset, const char* patch, size_t size)
    {
        auto copy = patched (font, offset, patch, size);
        return hasFontTableDirectory (copy.getData(), copy.getSize());
    };

    EXPECT_FALSE (damaged (4, "\x00\x00", 2)) << "no tables";
    EXPECT_FALSE (damaged (4, "\xff\xff", 2)) << "more tables than the data holds";
    auto head = u32At (font, recordOf (font, "head") + 8);
    EXPECT_FALSE (damaged (head + 12, "\x00", 1)) << "head's magic number";

    EXPECT_FALSE (hasFontTableDirectory (nullptr, 0));
    EXPECT_FALSE (hasFontTableDirectory ("OTTO", 4));
    EXPECT_FALSE (isUsableFontData (font.getData(), 11));
}
