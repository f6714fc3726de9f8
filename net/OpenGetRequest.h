#pragma once

#include "tasks/AsyncControlBlock.h"

#include <juce_core/juce_core.h>

#include <memory>

/** Opens a GET of url (8000 ms connection time-out, at most 5 redirects, no extra headers) and
    connects (worker thread). A cancel of the task interrupts the request and reads from the
    stream for as long as it lives. A status other than 200 (0: no answer) goes to
    throwForHttpStatus before anything else is looked at; then a cancelled task throws
    TaskCancelledError. A request that a cancel cut short throws TaskCancelledError too. */
std::unique_ptr<juce::WebInputStream> openGetRequest (const juce::URL& url,
                                                      const AsyncControlBlock& control);
