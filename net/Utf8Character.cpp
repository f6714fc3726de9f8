#include "net/Utf8Character.h"

#include <cstdint>

std::optional<juce::juce_wchar> readUtf8Character (std::string_view bytes,
                                                   std::size_t& position) noexcept
{
    const auto lead = static_cast<unsigned char> (bytes[position++]);
    if (lead <= 0x7f)
        return static_cast<juce::juce_wchar> (lead);

    std::size_t length = 0;
    std::uint32_t value = 0;
    if (lead >= 0xc0 && lead <= 0xdf)
    {
        length = 2;
        value = lead & 0x1fu;
    }
    else if (lead >= 0xe0 && lead <= 0xef)
    {
        length = 3;
        value = lead & 0x0fu;
    }
    else if (lead >= 0xf0 && lead <= 0xf7)
    {
        length = 4;
        value = lead & 0x07u;
    }
    else
    {
        return std::nullopt;
    }

    for (std::size_t k = 1; k < length; ++k)
    {
        if (position == bytes.size() ||
            (static_cast<unsigned char> (bytes[position]) & 0xc0u) != 0x80u)
            return std::nullopt;
        value = (value << 6) | (static_cast<unsigned char> (bytes[position++]) & 0x3fu);
    }

    static constexpr std::uint32_t smallestForLength[] = { 0, 0, 0x80, 0x800, 0x10000 };
    if (value < smallestForLength[length] || value > 0x10ffff ||
        (value >= 0xd800 && value <= 0xdfff))
        return std::nullopt;
    return static_cast<juce::juce_wchar> (value);
}

bool isWellFormedUtf8 (const unsigned char* bytes, std::size_t size) noexcept
{
    const std::string_view text (reinterpret_cast<const char*> (bytes), size);
    for (std::size_t i = 0; i < size;)
        if (! readUtf8Character (text, i))
            return false;
    return true;
}
