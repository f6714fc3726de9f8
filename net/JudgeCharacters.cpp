#include "net/JudgeCharacters.h"

#include "net/Utf8Character.h"

#include <unicode/uchar.h>

namespace
{
enum class Kind
{
    shown,
    hidden,
    joiner,
    variationSelector,
    noText,
    end
};

/** From Unicode's own data (ICU). Each character the former hand list held (C0 and C1 controls,
    the soft hyphen, U+034F, U+061C, the Hangul fillers, U+180E, the zero-width spaces and
    direction marks, U+2028..U+202E, U+2060..U+206F, U+FEFF, U+FFF9..U+FFFB, the tags) is a
    control, a format character, a separator or ignorable by default there, so none is kept
    by hand. */
Kind kindOf (juce::juce_wchar c)
{
    // ASCII's controls are fixed; the rest of it shows. Most names are ASCII throughout.
    if (c < 0x80)
        return c < 0x20 || c == 0x7f ? Kind::hidden : Kind::shown;
    if (c == 0x200c || c == 0x200d)
        return Kind::joiner;
    // Variation selectors are ignorable by default too, but shape the character before them.
    const auto code = static_cast<UChar32> (c);
    if (u_hasBinaryProperty (code, UCHAR_DEFAULT_IGNORABLE_CODE_POINT))
        return u_hasBinaryProperty (code, UCHAR_VARIATION_SELECTOR) ? Kind::variationSelector
                                                                    : Kind::hidden;
    const auto type = u_charType (code);
    return type == U_CONTROL_CHAR || type == U_FORMAT_CHAR || type == U_LINE_SEPARATOR ||
                   type == U_PARAGRAPH_SEPARATOR
               ? Kind::hidden
               : Kind::shown;
}

/** A character read, with its kind; noText for a sequence that is no text, end past the last. */
struct Read
{
    juce::juce_wchar character = 0;
    Kind kind = Kind::end;

    bool isBeyondAsciiAndShown() const { return kind == Kind::shown && character >= 0x80; }
};

Read readAt (std::string_view bytes, std::size_t& position)
{
    if (position == bytes.size())
        return {};
    const auto c = readUtf8Character (bytes, position);
    return c ? Read { *c, kindOf (*c) } : Read { 0, Kind::noText };
}
} // namespace

void judgeCharacters (
    std::string_view bytes,
    const std::function<bool (std::optional<juce::juce_wchar>, bool shown)>& judged)
{
    // A joiner needs the character after it, so each is judged with the next one read.
    std::size_t position = 0;
    Read previous;
    auto previousShown = false;
    for (auto current = readAt (bytes, position); current.kind != Kind::end;)
    {
        const auto next = readAt (bytes, position);
        auto shown = current.kind == Kind::shown;
        if (current.kind == Kind::variationSelector)
            shown = previous.isBeyondAsciiAndShown();
        else if (current.kind == Kind::joiner)
            shown = (previous.isBeyondAsciiAndShown() ||
                     (previous.kind == Kind::variationSelector && previousShown)) &&
                    next.isBeyondAsciiAndShown();
        const auto character = current.kind == Kind::noText
                                   ? std::nullopt
                                   : std::optional<juce::juce_wchar> (current.character);
        if (! judged (character, shown))
            return;
        previous = current;
        previousShown = shown;
        current = next;
    }
}
