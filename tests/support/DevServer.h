#pragma once

#include <juce_core/juce_core.h>

namespace testing_support
{
/** tools/devserver (options as in its --help, none empty) on an ephemeral 127.0.0.1 port, up once
    constructed (else std::runtime_error), killed with the object: that ends any stalled answer.
    It also ends when this process does, however that ends. */
class DevServer final
{
public:
    explicit DevServer (const std::vector<std::string>& options = {});
    ~DevServer();

    /** "http://127.0.0.1:PORT", no trailing slash, and that followed by path. */
    juce::String getBaseUrl() const { return "http://127.0.0.1:" + juce::String (port); }
    juce::String getUrl (const juce::String& path) const { return getBaseUrl() + path; }

    /** Requests so far for path (no query), and the target (path and raw query, as on the
        request line) of the last one. */
    int getRequestCount (const juce::String& path) const { return fromStats ("requests", path); }
    juce::String getLastTarget (const juce::String& path) const
    {
        return fromStats ("lastTarget", path);
    }

    /** A 127.0.0.1 port on which connections are refused. */
    static int getClosedPort();

private:
    juce::var fromStats (const char* key, const juce::String& path) const;

    juce::ChildProcess process;
    int parentEnd = -1; // of the pipe that the server watches
    int port = 0;

    JUCE_DECLARE_NON_COPYABLE (DevServer)
};
} // namespace testing_support
