#pragma once

#include <juce_core/juce_core.h>

/** Throws ServerError unless address starts with "http://" or "https://", in either letter
    case: the only schemes a request may use, so a link from the server cannot make curl talk to
    another service (gopher, dict, ftp, file ...). The message names the scheme, or the address
    when it has none or lacks the "//". */
void requireWebScheme (const juce::String& address);

/** Where a redirect from address leads, given its Location header as JUCE hands header bytes
    over (one character a byte). Resolved as curl resolves a Location (relative, "../", network
    path, query), from the header's bytes with a space, control bytes and bytes from 0x80 up
    percent-encoded and the rest kept as sent. Empty when the Location cannot be read. Throws
    ServerError for a next address that is not http or https (requireWebScheme), and for one
    that leads from https down to http: the installer would then cross the network in clear. */
juce::String redirectTarget (const juce::String& address, const juce::String& location);
