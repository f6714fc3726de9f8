#include "DevServer.h"

#include <arpa/inet.h>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <spawn.h>
#include <stdexcept>
#include <sys/socket.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace testing_support
{
namespace
{
sockaddr_in loopbackAddress (int port)
{
    sockaddr_in address {};
    address.sin_family = AF_INET;
    address.sin_port = htons (static_cast<uint16_t> (port));
    address.sin_addr.s_addr = htonl (INADDR_LOOPBACK);
    return address;
}

/** A plain GET over a socket: the fixture must not depend on the HTTP code under test. */
std::string httpGetBody (int port, const std::string& path)
{
    const auto socketFd = ::socket (AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (socketFd < 0)
        return {};

    auto address = loopbackAddress (port);
    std::string response;
    if (::connect (socketFd, reinterpret_cast<sockaddr*> (&address), sizeof (address)) == 0)
    {
        const auto request =
            "GET " + path + " HTTP/1.1\r\nHost: 127.0.0.1\r\nConnection: close\r\n\r\n";
        if (::send (socketFd, request.data(), request.size(), MSG_NOSIGNAL) ==
            (ssize_t) request.size())
        {
            char buffer[4096];
            for (;;)
            {
                const auto got = ::recv (socketFd, buffer, sizeof (buffer), 0);
                if (got <= 0)
                    break;
                response.append (buffer, static_cast<size_t> (got));
            }
        }
    }
    ::close (socketFd);

    const auto bodyStart = response.find ("\r\n\r\n");
    return bodyStart == std::string::npos ? std::string() : response.substr (bodyStart + 4);
}
} // namespace

std::string DevServer::getBinaryPath()
{
    return LARKSPIRE_DEVSERVER_PATH;
}

DevServer::DevServer (const std::vector<std::string>& options)
{
    int fds[2];
    if (::pipe2 (fds, O_CLOEXEC) != 0)
        throw std::runtime_error ("devserver: pipe failed");

    std::vector<std::string> arguments { getBinaryPath() };
    arguments.insert (arguments.end(), options.begin(), options.end());
    std::vector<char*> argv;
    for (auto& argument : arguments)
        argv.push_back (argument.data());
    argv.push_back (nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init (&actions);
    posix_spawn_file_actions_adddup2 (&actions, fds[1], STDOUT_FILENO);

    // The server must take SIGTERM even when the test process blocks it.
    posix_spawnattr_t attributes;
    posix_spawnattr_init (&attributes);
    sigset_t noSignals;
    sigemptyset (&noSignals);
    posix_spawnattr_setsigmask (&attributes, &noSignals);
    posix_spawnattr_setflags (&attributes, POSIX_SPAWN_SETSIGMASK);

    pid_t child = -1;
    const auto spawnResult =
        ::posix_spawn (&child, argv[0], &actions, &attributes, argv.data(), environ);
    posix_spawn_file_actions_destroy (&actions);
    posix_spawnattr_destroy (&attributes);
    ::close (fds[1]);
    outputFd = fds[0];

    if (spawnResult != 0)
    {
        ::close (outputFd);
        throw std::runtime_error ("devserver: cannot start " + getBinaryPath());
    }
    pid = child;

    const auto firstLine = readLine (10000);
    const std::string prefix = "listening on http://127.0.0.1:";
    if (firstLine.rfind (prefix, 0) != 0)
    {
        stop();
        throw std::runtime_error ("devserver did not start (options wrong?): " + firstLine);
    }
    port = std::stoi (firstLine.substr (prefix.size()));
}

DevServer::~DevServer()
{
    stop();
}

std::string DevServer::readLine (int timeoutMs)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds (timeoutMs);
    for (;;)
    {
        if (const auto end = pending.find ('\n'); end != std::string::npos)
        {
            auto line = pending.substr (0, end);
            pending.erase (0, end + 1);
            return line;
        }

        const auto left = std::chrono::duration_cast<std::chrono::milliseconds> (
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0)
            return {};

        pollfd entry { outputFd, POLLIN, 0 };
        if (::poll (&entry, 1, static_cast<int> (left.count())) <= 0)
            continue;

        char buffer[1024];
        const auto got = ::read (outputFd, buffer, sizeof (buffer));
        if (got <= 0)
        {
            auto rest = pending;
            pending.clear();
            return rest;
        }
        pending.append (buffer, static_cast<size_t> (got));
    }
}

juce::String DevServer::stop()
{
    if (stopped)
        return finalOutput;
    stopped = true;

    if (pid > 0)
    {
        ::kill (pid, SIGTERM);

        std::string output;
        for (;;)
        {
            const auto line = readLine (10000);
            if (line.empty() && pending.empty())
                break;
            output += line + "\n";
            if (line == "stopped")
                break;
        }
        finalOutput = output;

        int status = 0;
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds (5);
        while (::waitpid (pid, &status, WNOHANG) == 0)
        {
            if (std::chrono::steady_clock::now() > deadline)
            {
                ::kill (pid, SIGKILL);
                ::waitpid (pid, &status, 0);
                break;
            }
            std::this_thread::sleep_for (std::chrono::milliseconds (10));
        }
        pid = -1;
    }

    if (outputFd >= 0)
        ::close (outputFd);
    outputFd = -1;
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
    return juce::JSON::parse (juce::String::fromUTF8 (httpGetBody (port, "/stats").c_str()));
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
    // Bind an ephemeral port without listening: the kernel will not hand it out again while
    // we hold it, and a connection to it is refused. Freed right away, it could be reused by
    // another process before the test connects, so keep the socket for the whole run.
    static const int heldPort = []
    {
        const auto socketFd = ::socket (AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        auto address = loopbackAddress (0);
        ::bind (socketFd, reinterpret_cast<sockaddr*> (&address), sizeof (address));
        socklen_t length = sizeof (address);
        ::getsockname (socketFd, reinterpret_cast<sockaddr*> (&address), &length);
        return static_cast<int> (ntohs (address.sin_port));
    }();
    return heldPort;
}
} // namespace testing_support
