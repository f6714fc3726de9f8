#pragma once

#include <juce_core/juce_core.h>

#include <string>
#include <vector>

namespace testing_support
{
/** tools/devserver on an ephemeral 127.0.0.1 port, with options as in its --help (none empty).
    Listening once constructed, else std::runtime_error; killed with the object, which also ends
    its stalled and hanging answers. */
class DevServer final
{
public:
    explicit DevServer (const std::vector<std::string>& options = {});
    ~DevServer();

    /** "http://127.0.0.1:PORT", no trailing slash. */
    juce::String getBaseUrl() const { return "http://127.0.0.1:" + juce::String (port); }
    juce::String getUrl (const juce::String& path) const { return getBaseUrl() + path; }

    /** Requests received so far for path (query excluded). */
    int getRequestCount (const juce::String& path) const;

    /** The target of the last request for path as on its request line: path and raw query. */
    juce::String getLastTarget (const juce::String& path) const;

    /** A 127.0.0.1 port on which connections are refused. */
    static int getClosedPort();

private:
    juce::var getStats (const char* key, const juce::String& path) const;

    juce::ChildProcess process;
    int port = 0;
};
} // namespace testing_support
