#include "net/WebAddress.h"

#include "net/ShownText.h"
#include "net/Utf8Character.h"
#include "tasks/ThrowErrors.h"

#include <curl/curl.h>
#include <fmt/format.h>

#include <algorithm>
#include <memory>
#include <string>

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

/** The header's bytes, each character below 256 being one byte as sent, with those no address
    may hold raw percent-encoded, as curl encodes a Location it follows. */
std::string percentEncodedBytes (const juce::String& header)
{
    std::string bytes;
    for (auto t = header.getCharPointer(); ! t.isEmpty(); ++t)
    {
        // Only a caller of ours gives more than a byte: its UTF-8 form then stands for it.
        if (*t < 0x100)
            bytes += static_cast<char> (*t);
        else
            bytes += juce::String::charToString (*t).toStdString();
    }

    std::string encoded;
    for (const auto c : bytes)
    {
        const auto byte = static_cast<unsigned char> (c);
        if (byte > 0x20 && byte < 0x7f)
            encoded += c;
        else
            encoded += fmt::format ("%{:02X}", byte);
    }
    return encoded;
}

/** location resolved against base by curl's URL parser; empty when it cannot read either. */
std::string resolvedByCurl (const std::string& base, const std::string& location)
{
    const std::unique_ptr<CURLU, decltype (&curl_url_cleanup)> url (curl_url(), curl_url_cleanup);
    // Any scheme is read, so that one we refuse is named as such rather than left unread.
    constexpr unsigned int flags = CURLU_NON_SUPPORT_SCHEME;
    char* resolved = nullptr;
    if (url == nullptr ||
        curl_url_set (url.get(), CURLUPART_URL, base.c_str(), flags) != CURLUE_OK ||
        curl_url_set (url.get(), CURLUPART_URL, location.c_str(), flags) != CURLUE_OK ||
        curl_url_get (url.get(), CURLUPART_URL, &resolved, 0) != CURLUE_OK)
        return {};

    const std::unique_ptr<char, decltype (&curl_free)> owned (resolved, curl_free);
    return resolved;
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

juce::String redirectTarget (const juce::String& address, const juce::String& location)
{
    const auto encoded = percentEncodedBytes (location.trim());
    if (encoded.empty())
        return {};

    // curl takes a fragment alone for a relative path; it belongs to the same address.
    const auto next =
        encoded.front() == '#'
            ? address.upToFirstOccurrenceOf ("#", false, false).toStdString() + encoded
            : resolvedByCurl (address.toStdString(), encoded);

    // curl decodes a percent-encoded host name, which need not be UTF-8 and may hold control
    // bytes: no address to request.
    const auto controlByte = [] (char c)
    { return static_cast<unsigned char> (c) <= 0x20 || static_cast<unsigned char> (c) == 0x7f; };
    if (next.empty() || std::any_of (next.begin(), next.end(), controlByte) ||
        ! isWellFormedUtf8 (reinterpret_cast<const unsigned char*> (next.data()), next.size()))
        return {};

    const auto target = juce::String::fromUTF8 (next.data(), static_cast<int> (next.size()));
    requireWebScheme (target);
    if (address.startsWithIgnoreCase ("https://") && ! target.startsWithIgnoreCase ("https://"))
        throwServerError (
            fmt::format ("refused redirect from https to http: `{}`", shownText (target)));
    return target;
}
