#pragma once

#include <juce_core/juce_core.h>

#include <functional>
#include <optional>
#include <string_view>

/** Reads bytes (UTF-8) a character at a time (readUtf8Character) and calls judged with each
    character, or nothing for a sequence that is no text, and whether it may be shown as it is
    where it stands; stops when judged returns false. Refused wherever they stand: controls,
    format characters, line and paragraph separators and every character Unicode marks as
    ignorable by default, which shows as nothing (zero-width spaces, direction marks, fillers,
    tags). The joiners U+200C and U+200D are shown only between two characters beyond ASCII,
    neither a joiner, and a variation selector only right after a shown character beyond ASCII
    that is neither a joiner nor a selector: there they shape what they stand next to, elsewhere
    they only hide. */
void judgeCharacters (
    std::string_view bytes,
    const std::function<bool (std::optional<juce::juce_wchar>, bool shown)>& judged);
