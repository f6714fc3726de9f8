#include "look/FontDataCheck.h"

#include <juce_graphics/juce_graphics.h>

#if JUCE_LINUX || JUCE_BSD || JUCE_ANDROID
    #define LARKSPIRE_FONTS_THROUGH_FREETYPE 1
    #include <ft2build.h>
    #include FT_FREETYPE_H
#else
    #define LARKSPIRE_FONTS_THROUGH_FREETYPE 0
#endif

#include <algorithm>
#include <cstdint>
#include <initializer_list>

namespace
{
constexpr std::uint32_t tag (const char (&text)[5])
{
    return ((std::uint32_t) (unsigned char) text[0] << 24) |
           ((std::uint32_t) (unsigned char) text[1] << 16) |
           ((std::uint32_t) (unsigned char) text[2] << 8) | (std::uint32_t) (unsigned char) text[3];
}

constexpr std::uint32_t trueTypeVersion = 0x00010000;
constexpr std::uint32_t maximumTables = 1024;
constexpr std::uint32_t maximumFontsInCollection = 1024;
constexpr std::uint32_t headMagicNumber = 0x5f0f3cf5;

class BigEndianReader final
{
public:
    BigEndianReader (const void* data, std::size_t size)
        : bytes (static_cast<const unsigned char*> (data))
        , length (size)
    {
    }

    bool has (std::uint64_t offset, std::uint64_t count) const
    {
        return offset <= length && count <= length - offset;
    }

    std::uint32_t u32 (std::size_t offset) const
    {
        return ((std::uint32_t) bytes[offset] << 24) | ((std::uint32_t) bytes[offset + 1] << 16) |
               ((std::uint32_t) bytes[offset + 2] << 8) | (std::uint32_t) bytes[offset + 3];
    }

    std::uint16_t u16 (std::size_t offset) const
    {
        return (std::uint16_t) ((bytes[offset] << 8) | bytes[offset + 1]);
    }

private:
    const unsigned char* bytes;
    std::size_t length;
};

bool isSfntVersion (std::uint32_t version)
{
    return version == tag ("OTTO") || version == trueTypeVersion || version == tag ("true");
}

bool isPrintableTag (std::uint32_t t)
{
    for (int shift = 24; shift >= 0; shift -= 8)
    {
        auto c = (t >> shift) & 0xff;

        if (c < 0x20 || c > 0x7e)
            return false;
    }

    return true;
}

bool hasSaneFace (const BigEndianReader& reader, std::size_t offset)
{
    if (! reader.has (offset, 12))
        return false;

    auto version = reader.u32 (offset);
    auto numTables = reader.u16 (offset + 4);

    if (! isSfntVersion (version) || numTables == 0 || numTables > maximumTables ||
        ! reader.has (offset + 12, 16u * numTables))
        return false;

    bool found[8] = {};
    const std::uint32_t wanted[] = { tag ("cmap"), tag ("head"), tag ("hhea"), tag ("hmtx"),
                                     tag ("maxp"), tag ("CFF "), tag ("CFF2"), tag ("glyf") };
    std::uint32_t headOffset = 0, headLength = 0;

    for (std::size_t i = 0; i < numTables; ++i)
    {
        auto record = offset + 12 + 16 * i;
        auto tableTag = reader.u32 (record);
        auto tableOffset = reader.u32 (record + 8);
        auto tableLength = reader.u32 (record + 12);

        if (! isPrintableTag (tableTag) || ! reader.has (tableOffset, tableLength))
            return false;

        for (std::size_t w = 0; w < std::size (wanted); ++w)
            found[w] = found[w] || tableTag == wanted[w];

        if (tableTag == tag ("head"))
        {
            headOffset = tableOffset;
            headLength = tableLength;
        }
    }

    if (! std::all_of (found, found + 5, [] (bool present) { return present; }))
        return false;

    // OpenType with CFF outlines, or TrueType outlines.
    auto hasOutlines = version == tag ("OTTO") ? (found[5] || found[6]) : found[7];

    return hasOutlines && headLength >= 54 && reader.u32 (headOffset + 12) == headMagicNumber;
}

#if LARKSPIRE_FONTS_THROUGH_FREETYPE
bool freeTypeOpensFirstFace (const void* data, std::size_t size)
{
    FT_Library library = nullptr;

    if (FT_Init_FreeType (&library) != 0)
        return false;

    FT_Face face = nullptr;
    auto usable = FT_New_Memory_Face (library, static_cast<const FT_Byte*> (data), (FT_Long) size,
                                      0, &face) == 0 &&
                  face != nullptr && face->num_charmaps > 0 && face->num_glyphs > 0;

    if (face != nullptr)
        FT_Done_Face (face);

    FT_Done_FreeType (library);
    return usable;
}
#endif
} // namespace

bool hasFontTableDirectory (const void* data, std::size_t size)
{
    if (data == nullptr)
        return false;

    BigEndianReader reader (data, size);

    if (! reader.has (0, 12))
        return false;

    if (reader.u32 (0) != tag ("ttcf"))
        return hasSaneFace (reader, 0);

    auto numFonts = reader.u32 (8);

    if (numFonts == 0 || numFonts > maximumFontsInCollection || ! reader.has (12, 4u * numFonts))
        return false;

    for (std::size_t i = 0; i < numFonts; ++i)
        if (! reader.has (reader.u32 (12 + 4 * i), 12))
            return false;

    // The typeface is made from the first face.
    return hasSaneFace (reader, reader.u32 (12));
}

bool isUsableFontData (const void* data, std::size_t size)
{
    if (! hasFontTableDirectory (data, size))
        return false;

#if LARKSPIRE_FONTS_THROUGH_FREETYPE
    return freeTypeOpensFirstFace (data, size);
#else
    return true;
#endif
}
