#pragma once

#include "tasks/AsyncControlBlock.h"

#include <juce_core/juce_core.h>

#include <memory>

/** Opens a GET of url (8000 ms connection time-out, "Accept-Encoding: identity") and connects
    (worker thread). Redirects (301, 302, 303, 307, 308) are followed here, at most 5, and every
    address, the first included, must be http or https, with no step from https down to http
    (else ServerError before its request); a redirect whose Location headers differ is a
    ServerError, identical ones are one. A cancel of the task interrupts the request and reads
    from the stream for as long as it lives. A request that got no answer because a cancel cut
    it short throws TaskCancelledError; any other status but 200 (0: no answer; a redirect
    without a readable Location, or a sixth) goes to throwForHttpStatus; then a cancelled task
    throws TaskCancelledError. An answer whose Content-Length headers disagree or are no plain
    decimal number is a ServerError, and so is a body that is content-encoded all the same,
    unless the caller will confirm its bytes by their size (allowContentEncoding).
    announcedLength is set to the body's length as the Content-Length headers announce it,
    whatever the framing (curl reports -1 for a chunked body), or -1 when none does; a number
    too large for 64 bits is the largest juce::int64. */
std::unique_ptr<juce::WebInputStream> openGetRequest (const juce::URL& url,
                                                      const AsyncControlBlock& control,
                                                      juce::int64& announcedLength,
                                                      bool allowContentEncoding = false);

/** Throws ServerError "WHAT size mismatch: received R bytes, expected E" when a body of received
    bytes is not of the expected length; -1 expects nothing. */
void requireBodySize (const char* what, juce::int64 received, juce::int64 expected);
