#include "DevServer.h"

#include <arpa/inet.h>
#include <stdexcept>

namespace testing_support
{
DevServer::DevServer (const std::vector<std::string>& options)
{
    juce::StringArray command { LARKSPIRE_DEVSERVER_PATH };
    for (const auto& option : options)
        command.add (juce::String::fromUTF8 (option.c_str()));
    if (command.contains ({})) // juce::ChildProcess would drop it, and so shift the options
        throw std::invalid_argument ("devserver: an option is empty");

    // The first line gives the address, or what went wrong (bad options).
    juce::String firstLine;
    char c = 0;
    if (process.start (command))
        while (process.readProcessOutput (&c, 1) == 1 && c != '\n')
            firstLine += c;

    const juce::String prefix = "listening on http://127.0.0.1:";
    if (! firstLine.startsWith (prefix))
    {
        process.kill();
        throw std::runtime_error ("devserver did not start: " + firstLine.toStdString());
    }
    port = firstLine.substring (prefix.length()).getIntValue();
}

DevServer::~DevServer()
{
    process.kill();
    process.waitForProcessToFinish (10000);
}

juce::var DevServer::fromStats (const char* key, const juce::String& path) const
{
    // A plain GET over a socket: quicker than juce::URL, and apart from the HTTP code under test.
    juce::StreamingSocket socket;
    const char get[] = "GET /stats HTTP/1.0\r\n\r\n";
    if (! socket.connect ("127.0.0.1", port, 5000) || socket.write (get, sizeof (get) - 1) < 0)
        return {};
    juce::MemoryOutputStream response;
    char buffer[4096];
    for (int got; (got = socket.read (buffer, sizeof (buffer), true)) > 0;)
        response.write (buffer, (size_t) got);
    const auto stats =
        juce::JSON::parse (response.toString().fromFirstOccurrenceOf ("\r\n\r\n", false, false));
    return stats[key].getProperty (juce::Identifier (path), {});
}

int DevServer::getClosedPort()
{
    // Bound but not listening, and held for the whole run so that no other process takes it.
    static const int heldPort = []
    {
        sockaddr_in address {};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl (INADDR_LOOPBACK);
        socklen_t length = sizeof (address);
        const auto socketFd = ::socket (AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        ::bind (socketFd, reinterpret_cast<sockaddr*> (&address), length);
        ::getsockname (socketFd, reinterpret_cast<sockaddr*> (&address), &length);
        return static_cast<int> (ntohs (address.sin_port));
    }();
    return heldPort;
}
} // namespace testing_support
