#pragma once

#include <juce_core/juce_core.h>

/** Throws ServerError unless address starts with "http://" or "https://", in either letter
    case: the only schemes a request may use, so a link from the server cannot make curl talk to
    another service (gopher, dict, ftp, file ...). The message names the scheme, or the address
    when it has none or lacks the "//". */
void requireWebScheme (const juce::String& address);

/** The address a redirect from base leads to: location taken whole when it has a scheme,
    else resolved against base (a network path, an absolute path, a query, a relative path). */
juce::String resolveRedirect (const juce::String& base, const juce::String& location);
