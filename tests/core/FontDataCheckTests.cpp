#include "look/FontDataCheck.h"

#include <juce_core/juce_core.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <tuple>
#include <vector>

namespace
{
// Each case is a block of its own exact size, so that a read past its end is one that
// AddressSanitizer sees.
using Bytes = std::vector<unsigned char>;

Bytes bytesOf (const std::string& text)
{
    return Bytes (text.begin(), text.end());
}

std::uint32_t u32At (const Bytes& data, std::size_t at)
{
    return (std::uint32_t) data[at] << 24 | (std::uint32_t) data[at + 1] << 16 |
           (std::uint32_t) data[at + 2] << 8 | data[at + 3];
}

Bytes withU32 (Bytes data, std::size_t at, std::uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        data[at + (std::size_t) i] = (unsigned char) (value >> (24 - 8 * i));
    return data;
}

Bytes cut (const Bytes& data, std::size_t size)
{
    return Bytes (data.begin(), data.begin() + (std::ptrdiff_t) size);
}

/** Where the table directory holds tag's record. */
std::size_t recordOf (const Bytes& font, const char* tag)
{
    const std::size_t tables = (std::size_t) (font[4] << 8 | font[5]);
    for (std::size_t i = 0; i < tables; ++i)
        if (std::memcmp (&font[12 + 16 * i], tag, 4) == 0)
            return 12 + 16 * i;
    ADD_FAILURE() << tag << " not in the font";
    return 0;
}

/** The font as the only face of a collection: its tables move by the collection's header. */
Bytes asCollection (const Bytes& font)
{
    auto collection = bytesOf (std::string ("ttcf\0\1\0\0\0\0\0\1\0\0\0\x10", 16));
    collection.insert (collection.end(), font.begin(), font.end());
    const std::size_t tables = (std::size_t) (font[4] << 8 | font[5]);
    for (std::size_t i = 0; i < tables; ++i)
    {
        const auto offsetAt = 16 + 12 + 16 * i + 8;
        collection = withU32 (collection, offsetAt, u32At (collection, offsetAt) + 16);
    }
    return collection;
}
} // namespace

TEST (FontDataCheck, OnlyFontDataWithinItsBoundsPasses)
{
    juce::MemoryBlock file;
    ASSERT_TRUE (juce::File (LARKSPIRE_FONT_FILE).loadFileAsData (file));
    const Bytes font (static_cast<const unsigned char*> (file.getData()),
                      static_cast<const unsigned char*> (file.getData()) + file.getSize());
    const auto head = recordOf (font, "head");
    Bytes noise (100000);
    juce::Random (7).fillBitsRandomly (noise.data(), noise.size());

    const std::tuple<const char*, Bytes, bool> rows[] {
        { "the embedded font", font, true },
        { "the font as a collection", asCollection (font), true },
        { "a collection's tag alone", bytesOf ("ttcf"), false },
        { "a collection whose offsets run past the end",
          bytesOf (std::string ("ttcf\0\1\0\0\0\0\0\3\0\0\0\0\0\0\0\0", 20)), false },
        { "a collection whose face lies past the end",
          bytesOf (std::string ("ttcf\0\1\0\0\0\0\0\1\0\0\0\x0e", 16)), false },
        { "a font tag and no tables", bytesOf (std::string ("OTTO\0\0\0\0\0\0\0\0", 12)), false },
        { "cut inside its table directory", cut (font, 12 + 16 * 3), false },
        { "cut after a first record that holds",
          bytesOf (std::string ("OTTO\0\2\0\0\0\0\0\0cmap\0\0\0\0\0\0\0\0\0\0\0\x0c", 28)), false },
        { "a table past the end", withU32 (font, 12 + 8, 0xffff0000), false },
        { "its head running past the end",
          withU32 (font, head + 8, (std::uint32_t) font.size() - 10), false },
        { "its head too short for its fields",
          withU32 (withU32 (font, head + 8, (std::uint32_t) font.size() - 10), head + 12, 10),
          false },
        { "no character map", withU32 (font, recordOf (font, "cmap"), 0x636d6171), false },
        { "a font tag before noise", withU32 (noise, 0, 0x4f54544f), false },
    };

    for (const auto& [name, data, usable] : rows)
        EXPECT_EQ (isUsableFontData (data.data(), data.size()), usable) << name;
}
