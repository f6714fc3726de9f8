#include "net/OpenGetRequest.h"

#include "net/InterruptibleWebInputStream.h"
#include "net/ShownText.h"
#include "net/WebAddress.h"
#include "tasks/ThrowErrors.h"

#include <fmt/format.h>

namespace
{
constexpr int connectionTimeoutMs = 8000;
constexpr int maxRedirects = 5;

bool isRedirect (int status)
{
    return status == 301 || status == 302 || status == 303 || status == 307 || status == 308;
}

/** A response header's values, trimmed and joined with "," in the order sent, as JUCE joins
    repeated ones; empty when absent. JUCE splits a header line at ": " only, so a line written
    "Name:value" arrives as a key alone and is split here. */
juce::String responseHeader (const juce::StringPairArray& headers, const juce::String& name)
{
    juce::StringArray values;
    for (int i = 0; i < headers.size(); ++i)
    {
        const auto value = headers.getAllValues()[i];
        const auto line = headers.getAllKeys()[i] + (value.isEmpty() ? "" : ": " + value);
        if (line.upToFirstOccurrenceOf (":", false, false).trim().equalsIgnoreCase (name))
            values.add (line.fromFirstOccurrenceOf (":", false, false).trim());
    }
    return values.joinIntoString (",");
}

/** We ask for the body as it is, and curl decodes nothing: an encoded body would be saved or
    read as it came. */
void refuseContentEncoding (const juce::StringPairArray& headers)
{
    const auto encoding = responseHeader (headers, "Content-Encoding");
    for (const auto& token : juce::StringArray::fromTokens (encoding, ",", {}))
        if (token.trim().isNotEmpty() && ! token.trim().equalsIgnoreCase ("identity"))
            throwServerError (
                fmt::format ("response body is content-encoded (`{}`)", shownText (encoding)));
}

/** Lengths that disagree leave the body's end to whichever one curl takes: no body to trust. */
void refuseConflictingLengths (const juce::StringPairArray& headers)
{
    const auto lengths = responseHeader (headers, "Content-Length");
    juce::StringArray distinct;
    for (const auto& token : juce::StringArray::fromTokens (lengths, ",", {}))
        distinct.addIfNotAlreadyThere (token.trim());
    if (distinct.size() > 1)
        throwServerError (fmt::format ("response has conflicting lengths (`Content-Length: {}`)",
                                       shownText (lengths)));
}
} // namespace

std::unique_ptr<juce::WebInputStream> openGetRequest (const juce::URL& url,
                                                      const AsyncControlBlock& control,
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
        const auto next =
            isRedirect (status) && redirects < maxRedirects
                ? redirectTarget (address,
                                  responseHeader (stream->getResponseHeaders(), "Location"))
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
        refuseConflictingLengths (headers);
        if (! allowContentEncoding)
            refuseContentEncoding (headers);
        return stream;
    }
}
