#pragma once

#include "tasks/AsyncControlBlock.h"

#include <juce_core/juce_core.h>

#include <string>

/** One GET to the update server (worker thread). Returns the body exactly as received when
    the status is 200, the body is under 65536 bytes, of the length its Content-Length
    announces (if any, whatever the framing) and well-formed UTF-8; throws
    HttpError / ClientError / ServerError / TaskCancelledError otherwise (a transfer that ends
    in error is a ClientError with status 0, as no answer is). Never retries. */
std::string fetchServerResponse (const AsyncControlBlock& control, const juce::URL& url);
