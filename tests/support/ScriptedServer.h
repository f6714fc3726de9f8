#pragma once

#include <juce_core/juce_core.h>

#include <atomic>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace testing_support
{
/** A raw TCP server on an ephemeral 127.0.0.1 port: for answers no HTTP server would give, and
    to see whether anything connects at all (a link to another service). One connection at a
    time: it reads the request until a blank line, the peer's close or 1 s of silence, sends
    the answer, closes its side and reads on, bounded alike, before it closes. Stops with the
    object. */
class ScriptedServer final
{
public:
    explicit ScriptedServer (std::string answerBytes = {});
    /** Each connection gets the next answer, and the last one goes to every later connection:
        a redirect, then what it leads to. */
    explicit ScriptedServer (std::vector<std::string> answersInTurn);
    ~ScriptedServer();

    int getPort() const noexcept { return port; }

    /** "SCHEME://127.0.0.1:PORT" followed by path. */
    juce::String getUrl (const juce::String& scheme, const juce::String& path) const
    {
        return scheme + "://127.0.0.1:" + juce::String (port) + path;
    }

    int getConnectionCount() const;

    /** Every byte received so far, all connections in turn. */
    std::string getReceived() const;

private:
    void serve();
    void serveOne (int connection, const std::string& answer);
    /** Reads into received until the peer closes, 1 s passes in silence or, with stopAtBlankLine,
        a blank line ends a request head. */
    void readFrom (int connection, bool stopAtBlankLine);

    const std::vector<std::string> answers;
    int listener = -1;
    int port = 0;
    std::atomic<bool> stopping { false };
    mutable std::mutex lock;
    int connections = 0;
    std::string received;
    std::thread thread;

    JUCE_DECLARE_NON_COPYABLE (ScriptedServer)
};
} // namespace testing_support
