#pragma once

#include "tasks/AsyncControlBlock.h"

#include <juce_core/juce_core.h>

#include <memory>

/** Opens a GET of url (8000 ms connection time-out, at most 5 redirects, no extra headers) and
    connects (worker thread). A cancel of the task interrupts the request and reads from the
    stream for as long as it lives. A request that got no answer because a cancel cut it short
    throws TaskCancelledError; any other status but 200 (0: no answer) goes to
    throwForHttpStatus; then a cancelled task throws TaskCancelledError. */
std::unique_ptr<juce::WebInputStream> openGetRequest (const juce::URL& url,
                                                      const AsyncControlBlock& control);
