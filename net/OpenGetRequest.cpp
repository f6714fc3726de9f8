#include "net/OpenGetRequest.h"

#include "net/InterruptibleWebInputStream.h"
#include "net/ShownText.h"
#include "net/WebAddress.h"
#include "tasks/ThrowErrors.h"

#include <fmt/format.h>

#include <limits>

namespace
{
constexpr int connectionTimeoutMs = 8000;
constexpr int maxRedirects = 5;

bool isRedirect (int status)
{
    return status == 301 || status == 302 || status == 303 || status == 307 || status == 308;
}

/** A response header's values, trimmed, in the order sent, under its name in any letter case;
    none when absent. The patched JUCE splits each line at its first colon and keeps a repeated
    header's values one a line, as no header line can hold a line break. */
juce::StringArray responseHeader (const juce::StringPairArray& headers, const juce::String& name)
{
    juce::StringArray values;
    for (int i = 0; i < headers.size(); ++i)
    {
        if (! headers.getAllKeys()[i].trim().equalsIgnoreCase (name))
            continue;
        // A header sent empty is one empty value.
        for (auto rest = headers.getAllValues()[i];;)
        {
            values.add (rest.upToFirstOccurrenceOf ("\n", false, false).trim());
            if (! rest.containsChar ('\n'))
                break;
            rest = rest.fromFirstOccurrenceOf ("\n", false, false);
        }
    }
    return values;
}

/** Values as a message names them: joined with ",", as one line would send them. */
std::string shownValues (const juce::StringArray& values)
{
    return shownText (values.joinIntoString (","));
}

/** The comma-separated parts of every value, each trimmed; empty parts, and empty values, kept
    as empty parts. */
juce::StringArray tokensOf (const juce::StringArray& values)
{
    juce::StringArray tokens;
    for (const auto& value : values)
    {
        if (value.isEmpty())
            tokens.add ({});
        for (const auto& token : juce::StringArray::fromTokens (value, ",", {}))
            tokens.add (token.trim());
    }
    return tokens;
}

/** The one value the candidates hold, empty when there are none. Candidates that differ leave
    the answer to whichever one is taken: a ServerError naming the header's values as sent. */
juce::String soleValue (const juce::StringArray& candidates, const juce::StringArray& values,
                        const char* header, const char* nouns)
{
    juce::StringArray distinct;
    for (const auto& candidate : candidates)
        distinct.addIfNotAlreadyThere (candidate);
    if (distinct.size() > 1)
        throwServerError (fmt::format ("response has conflicting {} (`{}: {}`)", nouns, header,
                                       shownValues (values)));
    return distinct[0];
}

/** We ask for the body as it is, and curl decodes nothing: an encoded body would be saved or
    read as it came. */
void refuseContentEncoding (const juce::StringPairArray& headers)
{
    const auto encodings = responseHeader (headers, "Content-Encoding");
    for (const auto& token : tokensOf (encodings))
        if (token.isNotEmpty() && ! token.equalsIgnoreCase ("identity"))
            throwServerError (
                fmt::format ("response body is content-encoded (`{}`)", shownValues (encodings)));
}

/** The length the Content-Length headers announce, -1 when there is none. Lengths that
    disagree leave the body's end to whichever one curl takes, and a value that is no plain
    decimal number ("+5", "5abc", which curl reads as 5) is no length to compare a body with:
    no body to trust. A number too large for 64 bits is the largest length, too large for any
    body we take. */
juce::int64 announcedLengthOf (const juce::StringPairArray& headers)
{
    const auto lengths = responseHeader (headers, "Content-Length");
    const auto digits = soleValue (tokensOf (lengths), lengths, "Content-Length", "lengths");
    if (lengths.isEmpty())
        return -1;

    if (digits.isEmpty() || ! digits.containsOnly ("0123456789"))
        throwServerError (fmt::format ("response has an invalid length (`Content-Length: {}`)",
                                       shownValues (lengths)));

    constexpr auto largest = std::numeric_limits<juce::int64>::max();
    juce::int64 length = 0;
    for (const auto digit : digits)
    {
        const auto value = static_cast<juce::int64> (digit - '0');
        if (length > (largest - value) / 10)
            return largest;
        length = length * 10 + value;
    }
    return length;
}

/** Where the redirect's Location headers lead: identical repeats are one, and Locations that
    differ are refused, as browsers refuse them: any one chosen would be a guess. Empty when
    there is none. */
juce::String locationOf (const juce::StringPairArray& headers)
{
    const auto locations = responseHeader (headers, "Location");
    return soleValue (locations, locations, "Location", "locations");
}
} // namespace

std::unique_ptr<juce::WebInputStream> openGetRequest (const juce::URL& url,
                                                      const AsyncControlBlock& control,
                                                      juce::int64& announcedLength,
                                                      bool allowContentEncoding)
{
    auto address = url.toString (true);

    // curl follows redirects to any scheme it knows, so they are followed here, each checked.
    for (int redirects = 0;; ++redirects)
    {
        requireWebScheme (address);

        auto stream = std::make_unique<InterruptibleWebInputStream> (
            juce::URL::createWithoutParsing (address), control);
        stream->withConnectionTimeout (connectionTimeoutMs)
            .withNumRedirectsToFollow (0)
            .withExtraHeaders ("Accept-Encoding: identity");
        stream->connect (nullptr);

        const auto status = stream->getStatusCode();

        // No answer (0, or -1 when the request never went out) because a cancel cut the request
        // short: not a failure worth a retry.
        if (status <= 0)
            control.throwIfCancelled();

        // A redirect without a Location that can be read fails as its status.
        const auto next = isRedirect (status) && redirects < maxRedirects
                              ? redirectTarget (address, locationOf (stream->getResponseHeaders()))
                              : juce::String();
        if (next.isNotEmpty())
        {
            address = next;
            control.throwIfCancelled();
            continue;
        }

        if (status != 200)
            throwForHttpStatus (status);

        control.throwIfCancelled();
        const auto headers = stream->getResponseHeaders();
        // Before any body is read, so that a length to distrust fails first.
        announcedLength = announcedLengthOf (headers);
        if (! allowContentEncoding)
            refuseContentEncoding (headers);
        return stream;
    }
}

void requireBodySize (const char* what, juce::int64 received, juce::int64 expected)
{
    if (expected >= 0 && received != expected)
        throwServerError (fmt::format ("{} size mismatch: received {} bytes, expected {}", what,
                                       received, expected));
}
