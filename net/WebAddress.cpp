#include "net/WebAddress.h"

#include "net/ShownText.h"
#include "tasks/ThrowErrors.h"

#include <fmt/format.h>

namespace
{
/** The scheme of address (RFC 3986: a letter, then letters, digits, "+", "-" or "."), or an
    empty text when it has none. */
juce::String schemeOf (const juce::String& address)
{
    const auto colon = address.indexOfChar (':');
    if (colon <= 0 || ! juce::CharacterFunctions::isLetter (address[0]))
        return {};

    const auto scheme = address.substring (0, colon);
    return scheme.containsOnly ("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789+-.")
               ? scheme
               : juce::String();
}

bool hasWebScheme (const juce::String& address)
{
    return address.startsWithIgnoreCase ("http://") || address.startsWithIgnoreCase ("https://");
}
} // namespace

void requireWebScheme (const juce::String& address)
{
    if (hasWebScheme (address))
        return;

    // No scheme, or a web scheme without its "//": the address itself is at fault.
    const auto scheme = schemeOf (address);
    if (scheme.isEmpty() || scheme.equalsIgnoreCase ("http") || scheme.equalsIgnoreCase ("https"))
        throwServerError (fmt::format ("unsupported URL `{}`: only http:// and https:// addresses",
                                       shownText (address)));
    throwServerError (fmt::format ("unsupported URL scheme `{}` in `{}`: only http and https",
                                   shownText (scheme), shownText (address)));
}

juce::String resolveRedirect (const juce::String& base, const juce::String& location)
{
    if (schemeOf (location).isNotEmpty())
        return location;

    const auto scheme = base.upToFirstOccurrenceOf ("://", true, false);
    const auto afterScheme = base.fromFirstOccurrenceOf ("://", false, false);
    const auto authority = afterScheme.upToFirstOccurrenceOf ("/", false, false)
                               .upToFirstOccurrenceOf ("?", false, false)
                               .upToFirstOccurrenceOf ("#", false, false);
    const auto path = afterScheme.substring (authority.length())
                          .upToFirstOccurrenceOf ("?", false, false)
                          .upToFirstOccurrenceOf ("#", false, false);

    if (location.startsWith ("//"))
        return scheme.dropLastCharacters (2) + location;
    if (location.startsWithChar ('/'))
        return scheme + authority + location;
    if (location.startsWithChar ('?'))
        return scheme + authority + path + location;
    if (location.isEmpty() || location.startsWithChar ('#'))
        return scheme + authority + path;
    // curl removes any "." and ".." segments itself.
    return scheme + authority + path.upToLastOccurrenceOf ("/", true, false) +
           (path.isEmpty() ? "/" : "") + location;
}
