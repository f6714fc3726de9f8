#include "ScriptedServer.h"

#include <algorithm>
#include <arpa/inet.h>
#include <poll.h>
#include <stdexcept>
#include <sys/socket.h>
#include <unistd.h>

namespace testing_support
{
namespace
{
constexpr int sliceMs = 100;
constexpr int silenceMs = 1000;
} // namespace

ScriptedServer::ScriptedServer (std::string answerBytes)
    : ScriptedServer (std::vector<std::string> { std::move (answerBytes) })
{
}

ScriptedServer::ScriptedServer (std::vector<std::string> answersInTurn)
    : answers (std::move (answersInTurn))
{
    sockaddr_in address {};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl (INADDR_LOOPBACK);
    socklen_t length = sizeof (address);

    listener = ::socket (AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (listener < 0 || ::bind (listener, reinterpret_cast<sockaddr*> (&address), length) != 0 ||
        ::listen (listener, 8) != 0 ||
        ::getsockname (listener, reinterpret_cast<sockaddr*> (&address), &length) != 0)
    {
        if (listener >= 0)
            ::close (listener);
        throw std::runtime_error ("scripted server: cannot listen on 127.0.0.1");
    }
    port = ntohs (address.sin_port);
    thread = std::thread ([this] { serve(); });
}

ScriptedServer::~ScriptedServer()
{
    stopping = true;
    thread.join();
    ::close (listener);
}

int ScriptedServer::getConnectionCount() const
{
    const std::lock_guard<std::mutex> guard (lock);
    return connections;
}

std::string ScriptedServer::getReceived() const
{
    const std::lock_guard<std::mutex> guard (lock);
    return received;
}

void ScriptedServer::serve()
{
    while (! stopping)
    {
        pollfd waiting { listener, POLLIN, 0 };
        if (::poll (&waiting, 1, sliceMs) <= 0)
            continue;

        const auto connection = ::accept4 (listener, nullptr, nullptr, SOCK_CLOEXEC);
        if (connection < 0)
            continue;
        std::size_t turn = 0;
        {
            const std::lock_guard<std::mutex> guard (lock);
            turn = static_cast<std::size_t> (connections++);
        }
        serveOne (connection,
                  answers.empty() ? std::string() : answers[std::min (turn, answers.size() - 1)]);
        ::close (connection);
    }
}

void ScriptedServer::serveOne (int connection, const std::string& answer)
{
    readFrom (connection, true);

    for (std::size_t sent = 0; sent < answer.size() && ! stopping;)
    {
        const auto wrote =
            ::send (connection, answer.data() + sent, answer.size() - sent, MSG_NOSIGNAL);
        if (wrote <= 0)
            return; // the client gave up on the answer
        sent += static_cast<std::size_t> (wrote);
    }

    ::shutdown (connection, SHUT_WR);
    readFrom (connection, false);
}

void ScriptedServer::readFrom (int connection, bool stopAtBlankLine)
{
    std::string head;
    for (int silent = 0; silent < silenceMs && ! stopping;)
    {
        pollfd waiting { connection, POLLIN, 0 };
        if (::poll (&waiting, 1, sliceMs) <= 0)
        {
            silent += sliceMs;
            continue;
        }

        char buffer[4096];
        const auto got = ::recv (connection, buffer, sizeof (buffer), 0);
        if (got <= 0)
            return;
        silent = 0;
        head.append (buffer, static_cast<std::size_t> (got));
        {
            const std::lock_guard<std::mutex> guard (lock);
            received.append (buffer, static_cast<std::size_t> (got));
        }
        if (stopAtBlankLine && head.find ("\r\n\r\n") != std::string::npos)
            return;
    }
}
} // namespace testing_support
