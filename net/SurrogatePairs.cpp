#include "net/SurrogatePairs.h"

#include <cstdint>

namespace
{
/** The surrogate encoded at text[at] (ED A0..BF xx) when it lies within first..first + 0x3ff,
    else 0. */
std::uint32_t surrogateAt (std::string_view text, std::size_t at, std::uint32_t first)
{
    if (text.size() - at < 3 || static_cast<unsigned char> (text[at]) != 0xed)
        return 0;
    const auto second = static_cast<unsigned char> (text[at + 1]);
    const auto third = static_cast<unsigned char> (text[at + 2]);
    if ((second & 0xc0u) != 0x80u || (third & 0xc0u) != 0x80u)
        return 0;
    const auto value = 0xd000u | ((second & 0x3fu) << 6) | (third & 0x3fu);
    return value >= first && value <= first + 0x3ff ? value : 0;
}
} // namespace

std::string withSurrogatePairsJoined (std::string_view text)
{
    std::string joined;
    joined.reserve (text.size());
    for (std::size_t i = 0; i < text.size();)
    {
        const auto high = surrogateAt (text, i, 0xd800);
        const auto low = high != 0 ? surrogateAt (text, i + 3, 0xdc00) : 0;
        if (low == 0)
        {
            joined += text[i++];
            continue;
        }
        const auto c = 0x10000 + ((high - 0xd800) << 10) + (low - 0xdc00);
        joined += static_cast<char> (0xf0 | (c >> 18));
        joined += static_cast<char> (0x80 | ((c >> 12) & 0x3f));
        joined += static_cast<char> (0x80 | ((c >> 6) & 0x3f));
        joined += static_cast<char> (0x80 | (c & 0x3f));
        i += 6;
    }
    return joined;
}
