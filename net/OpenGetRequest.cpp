#include "net/OpenGetRequest.h"

#include "tasks/ThrowErrors.h"

namespace
{
constexpr int connectionTimeoutMs = 8000;
constexpr int maxRedirects = 5;
} // namespace

std::unique_ptr<juce::WebInputStream> openGetRequest (const juce::URL& url,
                                                      const AsyncControlBlock& control)
{
    auto stream = std::make_unique<juce::WebInputStream> (url, false);
    stream->withConnectionTimeout (connectionTimeoutMs).withNumRedirectsToFollow (maxRedirects);
    stream->connect (nullptr);

    const auto status = stream->getStatusCode();
    if (status != 200)
        throwForHttpStatus (status);

    control.throwIfCancelled();
    return stream;
}
