#pragma once

#include "net/Utf8Character.h"

#include <juce_core/juce_core.h>

#include <string>

/** Whether c is a control character, or a Unicode format or separator character that changes
    how the text around it reads or shows as nothing (direction marks and overrides, zero-width
    spaces, line and paragraph separators, the byte-order mark, soft hyphens, blank fillers,
    tags). The zero-width non-joiner and joiner (U+200C, U+200D) are not: Persian and Indic
    words and emoji sequences are written with them. */
inline bool isHiddenOrControlCharacter (juce::juce_wchar c) noexcept
{
    return c < 0x20 || (c >= 0x7f && c <= 0x9f) || c == 0xad || c == 0x034f || c == 0x061c ||
           c == 0x115f || c == 0x1160 || c == 0x180e || c == 0x200b || c == 0x200e || c == 0x200f ||
           (c >= 0x2028 && c <= 0x202e) || (c >= 0x2060 && c <= 0x206f) || c == 0x3164 ||
           c == 0xfeff || c == 0xffa0 || (c >= 0xfff9 && c <= 0xfffb) ||
           (c >= 0xe0000 && c <= 0xe007f);
}

/** Text from the server as a message shows it: each hidden or control character, and each
    sequence that is no text, as "?", and cut to 80 characters with an ellipsis, so that no name
    can flood or reorder a page. */
inline std::string shownText (const juce::String& text)
{
    constexpr int maxShown = 80;
    const auto bytes = utf8BytesOf (text);
    juce::String shown;
    int count = 0;
    for (std::size_t i = 0; i < bytes.size();)
    {
        if (++count > maxShown)
        {
            shown << juce::String::fromUTF8 ("\xe2\x80\xa6");
            break;
        }
        const auto c = readUtf8Character (bytes, i);
        shown << (! c || isHiddenOrControlCharacter (*c) ? juce::juce_wchar ('?') : *c);
    }
    return shown.toStdString();
}
