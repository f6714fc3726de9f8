#pragma once

#include <juce_core/juce_core.h>

#include <string>
#include <vector>

namespace testing_support
{
/** The development update server (tools/devserver) run as a child process on an ephemeral
    127.0.0.1 port. The options are those of `larkspire-devserver --help` (statuses, broken
    bodies, stalls, redirects, rates, an installer file or generated installer bytes). The
    constructor returns once the server listens and throws std::runtime_error when it cannot
    start. The destructor stops the server (SIGTERM) and waits for it; stalled and hanging
    answers end with it. Each test should use its own server. */
class DevServer final
{
public:
    explicit DevServer (const std::vector<std::string>& options = {});
    ~DevServer();

    int getPort() const { return port; }

    /** "http://127.0.0.1:PORT", no trailing slash: the value for LARKSPIRE_UPDATE_SERVER. */
    juce::String getBaseUrl() const;

    /** The base URL followed by path, which starts with "/". */
    juce::String getUrl (const juce::String& path) const;

    /** How many requests the server has received for path (query excluded), asked live. */
    int getRequestCount (const juce::String& path) const;

    /** The query parameters of the last request for path, as "key=value&..." sorted by key. */
    juce::String getLastQuery (const juce::String& path) const;

    /** Stops the server now and returns what it printed on the way out ("served PATH COUNT"
        lines, then "stopped"). Later calls return the same text. */
    juce::String stop();

    /** A 127.0.0.1 port on which nothing listens: connections to it are refused. */
    static int getClosedPort();

    /** Path of the larkspire-devserver binary of this build. */
    static std::string getBinaryPath();

private:
    juce::var fetchStats() const;
    bool hasEnded();

    int pid = -1;
    int port = 0;
    juce::File outputFile; // what the server prints: its address first, its tally on the way out
    juce::String finalOutput;
    bool stopped = false;

    JUCE_DECLARE_NON_COPYABLE (DevServer)
};
} // namespace testing_support
