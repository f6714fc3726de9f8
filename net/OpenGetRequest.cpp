#include "net/OpenGetRequest.h"

#include "net/InterruptibleWebInputStream.h"
#include "tasks/ThrowErrors.h"

namespace
{
constexpr int connectionTimeoutMs = 8000;
constexpr int maxRedirects = 5;
} // namespace

std::unique_ptr<juce::WebInputStream> openGetRequest (const juce::URL& url,
                                                      const AsyncControlBlock& control)
{
    auto stream = std::make_unique<InterruptibleWebInputStream> (url, control);
    stream->withConnectionTimeout (connectionTimeoutMs).withNumRedirectsToFollow (maxRedirects);
    stream->connect (nullptr);

    const auto status = stream->getStatusCode();

    // No answer (0, or -1 when the request never went out) because a cancel cut the request
    // short: not a failure worth a retry.
    if (status <= 0)
        control.throwIfCancelled();

    if (status != 200)
        throwForHttpStatus (status);

    control.throwIfCancelled();
    return stream;
}
