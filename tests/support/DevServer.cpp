#include "DevServer.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <stdexcept>
#include <unistd.h>

namespace testing_support
{
DevServer::DevServer (const std::vector<std::string>& options)
{
    juce::StringArray command { LARKSPIRE_DEVSERVER_PATH };
    for (const auto& option : options)
        command.add (juce::String::fromUTF8 (option.c_str()));
    if (command.contains ({})) // juce::ChildProcess would drop it, and so shift the options
        throw std::invalid_argument ("devserver: an option is empty");

    // The server watches a pipe whose only write end is ours (close-on-exec, so no child of
    // ours holds it): it ends with this process however that ends, even when a test crashes.
    // A pipe rather than PR_SET_PDEATHSIG, which fires when the forking thread ends.
    int watch[2] = {};
    if (::pipe2 (watch, O_CLOEXEC) != 0)
        throw std::runtime_error ("devserver: no pipe to watch");
    parentEnd = watch[1];
    ::fcntl (watch[0], F_SETFD, 0); // failing that, the server says so and does not start
    command.insert (0, "LARKSPIRE_DEVSERVER_WATCH_FD=" + juce::String (watch[0]));
    command.insert (0, "env");
    const auto started = process.start (command);
    ::close (watch[0]);

    // The first line gives the address, or what went wrong (bad options).
    juce::String firstLine;
    char c = 0;
    if (started)
        while (process.readProcessOutput (&c, 1) == 1 && c != '\n')
            firstLine += c;

    const juce::String prefix = "listening on http://127.0.0.1:";
    if (! firstLine.startsWith (prefix))
    {
        process.kill();
        ::close (parentEnd);
        throw std::runtime_error ("devserver did not start: " + firstLine.toStdString());
    }
    port = firstLine.substring (prefix.length()).getIntValue();
}

DevServer::~DevServer()
{
    process.kill();
    process.waitForProcessToFinish (10000);
    ::close (parentEnd);
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
