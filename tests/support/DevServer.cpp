#include "DevServer.h"

#include <arpa/inet.h>
#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <netinet/in.h>
#include <spawn.h>
#include <stdexcept>
#include <sys/socket.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace testing_support
{
std::string DevServer::getBinaryPath()
{
    return LARKSPIRE_DEVSERVER_PATH;
}

DevServer::DevServer (const std::vector<std::string>& options)
    : outputFile (juce::File::createTempFile (".devserver"))
{
    std::vector<std::string> arguments { getBinaryPath() };
    arguments.insert (arguments.end(), options.begin(), options.end());
    std::vector<char*> argv;
    for (auto& argument : arguments)
        argv.push_back (argument.data());
    argv.push_back (nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init (&actions);
    posix_spawn_file_actions_addopen (&actions, STDOUT_FILENO,
                                      outputFile.getFullPathName().toRawUTF8(),
                                      O_WRONLY | O_CREAT | O_TRUNC, 0600);

    // The server must take SIGTERM even when the test process blocks it.
    posix_spawnattr_t attributes;
    posix_spawnattr_init (&attributes);
    sigset_t noSignals;
    sigemptyset (&noSignals);
    posix_spawnattr_setsigmask (&attributes, &noSignals);
    posix_spawnattr_setflags (&attributes, POSIX_SPAWN_SETSIGMASK);

    const auto spawnResult =
        ::posix_spawn (&pid, argv[0], &actions, &attributes, argv.data(), environ);
    posix_spawn_file_actions_destroy (&actions);
    posix_spawnattr_destroy (&attributes);
    if (spawnResult != 0)
    {
        pid = -1;
        stop();
        throw std::runtime_error ("devserver: cannot start " + getBinaryPath());
    }

    // The first line gives the address; a server that ends first (bad options) printed none.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds (10);
    while (! outputFile.loadFileAsString().containsChar ('\n') && ! hasEnded() &&
           std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for (std::chrono::milliseconds (2));

    const juce::String prefix = "listening on http://127.0.0.1:";
    const auto output = outputFile.loadFileAsString();
    if (! output.startsWith (prefix) || ! output.containsChar ('\n'))
    {
        stop();
        throw std::runtime_error ("devserver did not start (options wrong?): " +
                                  output.toStdString());
    }
    port = output.fromFirstOccurrenceOf (prefix, false, false).getIntValue();
}

DevServer::~DevServer()
{
    stop();
}

bool DevServer::hasEnded()
{
    if (pid > 0 && ::waitpid (pid, nullptr, WNOHANG) != 0)
        pid = -1;
    return pid <= 0;
}

juce::String DevServer::stop()
{
    if (stopped)
        return finalOutput;
    stopped = true;

    if (pid > 0)
        ::kill (pid, SIGTERM);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds (10);
    while (! hasEnded())
    {
        if (std::chrono::steady_clock::now() > deadline)
        {
            ::kill (pid, SIGKILL);
            ::waitpid (pid, nullptr, 0);
            pid = -1;
        }
        std::this_thread::sleep_for (std::chrono::milliseconds (2));
    }
    finalOutput = outputFile.loadFileAsString().fromFirstOccurrenceOf ("\n", false, false);
    outputFile.deleteFile();
    return finalOutput;
}

juce::String DevServer::getBaseUrl() const
{
    return "http://127.0.0.1:" + juce::String (port);
}

juce::String DevServer::getUrl (const juce::String& path) const
{
    return getBaseUrl() + path;
}

juce::var DevServer::fetchStats() const
{
    // A plain GET over a socket: the fixture must not depend on the HTTP code under test.
    juce::StreamingSocket socket;
    if (! socket.connect ("127.0.0.1", port, 5000))
        return {};
    const juce::String request =
        "GET /stats HTTP/1.1\r\nHost: 127.0.0.1\r\nConnection: close\r\n\r\n";
    socket.write (request.toRawUTF8(), (int) request.getNumBytesAsUTF8());
    juce::MemoryOutputStream response;
    char buffer[4096];
    for (int got; (got = socket.read (buffer, sizeof (buffer), true)) > 0;)
        response.write (buffer, (size_t) got);
    return juce::JSON::parse (response.toString().fromFirstOccurrenceOf ("\r\n\r\n", false, false));
}

int DevServer::getRequestCount (const juce::String& path) const
{
    return static_cast<int> (fetchStats()["requests"].getProperty (juce::Identifier (path), 0));
}

juce::String DevServer::getLastQuery (const juce::String& path) const
{
    return fetchStats()["lastQuery"].getProperty (juce::Identifier (path), {}).toString();
}

int DevServer::getClosedPort()
{
    // Bind an ephemeral port without listening: the kernel will not hand it out again while we
    // hold it, and a connection to it is refused. Freed right away, it could be reused by
    // another process before the test connects, so keep the socket for the whole run.
    static const int heldPort = []
    {
        const auto socketFd = ::socket (AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in address {};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl (INADDR_LOOPBACK);
        ::bind (socketFd, reinterpret_cast<sockaddr*> (&address), sizeof (address));
        socklen_t length = sizeof (address);
        ::getsockname (socketFd, reinterpret_cast<sockaddr*> (&address), &length);
        return static_cast<int> (ntohs (address.sin_port));
    }();
    return heldPort;
}
} // namespace testing_support
