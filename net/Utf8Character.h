#pragma once

#include <juce_core/juce_core.h>

#include <cstddef>
#include <optional>
#include <string_view>

/** The character whose UTF-8 sequence starts at bytes[position] (before the end), with position
    moved past it. Nothing for a sequence that is no text (cut short, overlong, a surrogate,
    above U+10FFFF, a stray continuation byte): position then moves past its lead byte and the
    continuation bytes it has. Reads nothing beyond bytes, unlike JUCE's CharPointer_UTF8, whose
    ++ steps past the end of a string whose last sequence is cut short. */
std::optional<juce::juce_wchar> readUtf8Character (std::string_view bytes,
                                                   std::size_t& position) noexcept;

/** Strict UTF-8 (RFC 3629): no overlong forms, no surrogates, nothing above U+10FFFF. */
bool isWellFormedUtf8 (const unsigned char* bytes, std::size_t size) noexcept;

/** A string's own UTF-8 bytes, up to its terminator, whatever they hold (getNumBytesAsUTF8
    steps through the characters as CharPointer_UTF8 does). */
inline std::string_view utf8BytesOf (const juce::String& text) noexcept
{
    return text.toRawUTF8();
}
