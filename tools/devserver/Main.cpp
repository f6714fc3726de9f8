// larkspire-devserver: a local stand-in for the update server and its file host.
#include "DevServerOptions.h"
#include "InstallerSource.h"
#include "JsonText.h"
#include "RequestLog.h"
#include "StopSignal.h"

#include <httplib.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <functional>
#include <iostream>
#include <map>
#include <mutex>
#include <pthread.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace devserver
{
namespace
{
const std::string versionPath = "/api/v1/version-info";
const std::string linksPath = "/api/v1/download-links";

struct Server final
{
    Options options;
    InstallerSource installer;
    StopSignal stop;
    RequestLog log;
    httplib::Server http;
    int port = 0;

    std::string base() const { return "http://127.0.0.1:" + std::to_string (port); }

    std::string link() const
    {
        if (options.link)
        {
            auto text = *options.link;
            const std::string marker = "{base}";
            if (const auto at = text.find (marker); at != std::string::npos)
                text.replace (at, marker.size(), base());
            return text;
        }
        const auto name =
            options.fileName.value_or ("LarkspireEditorSetup-" + options.versionString + ".bin");
        return base() + "/files/" + name;
    }

    std::string versionJson() const
    {
        std::vector<std::pair<std::string, std::string>> fields {
            { "latestVersionNumber", std::to_string (options.versionNumber) },
            { "latestVersionString", jsonString (options.versionString) },
            { "minEditorVersion", std::to_string (options.minEditorVersion) },
        };
        return jsonObject (fields, options.endpoints.at ("version").bodySize);
    }

    std::string linksJson() const
    {
        std::string links;
        for (int i = 0; i < options.linksCount; ++i)
            links += (i == 0 ? "" : ",") + jsonString (link());

        std::vector<std::pair<std::string, std::string>> fields {
            { "downloadLinks", "[" + links + "]" },
            { "totalSize", std::to_string (options.totalSize.value_or (installer.size())) },
        };
        return jsonObject (fields, options.endpoints.at ("links").bodySize);
    }

    std::string jsonObject (const std::vector<std::pair<std::string, std::string>>& fields,
                            std::int64_t paddedSize) const
    {
        std::string text = "{";
        for (const auto& [key, value] : fields)
            if (options.omittedKeys.count (key) == 0)
                text += (text.size() > 1 ? "," : "") + jsonString (key) + ":" + value;

        if (paddedSize >= 0)
        {
            const std::string head = text + (text.size() > 1 ? "," : "") + "\"padding\":\"";
            const auto room = paddedSize - static_cast<std::int64_t> (head.size() + 2);
            if (room >= 0)
                return head + std::string (static_cast<std::size_t> (room), 'x') + "\"}";
        }
        return text + "}";
    }

    /** Sends [0, total) of the body with the endpoint's faults; read(offset, n) supplies bytes. */
    void sendBody (httplib::Response& response, const EndpointBehaviour& behaviour,
                   std::int64_t total, const std::string& contentType,
                   std::function<std::string (std::int64_t, std::size_t)> read)
    {
        const auto started = std::chrono::steady_clock::now();
        const auto writeFrom =
            [this, behaviour, total, started, read] (std::int64_t offset, httplib::DataSink& sink)
        {
            auto limit = total;
            if (behaviour.cutAt >= 0)
                limit = std::min (limit, behaviour.cutAt);
            if (behaviour.stallAfter >= 0)
                limit = std::min (limit, behaviour.stallAfter);

            if (offset >= limit)
            {
                if (behaviour.stallAfter >= 0 && behaviour.stallAfter < total)
                    stop.waitForever();
                // Cut short, or a body without length: its end is the connection's close.
                if (offset < total || behaviour.noLength)
                    return false;
                sink.done();
                return true;
            }

            std::int64_t chunk = std::min<std::int64_t> (64 * 1024, limit - offset);
            if (behaviour.rate > 0)
            {
                chunk = std::min<std::int64_t> (
                    chunk,
                    std::max<std::int64_t> (1, static_cast<std::int64_t> (behaviour.rate / 20)));
                const auto due =
                    started + std::chrono::duration_cast<std::chrono::steady_clock::duration> (
                                  std::chrono::duration<double> (static_cast<double> (offset) /
                                                                 behaviour.rate));
                if (stop.waitUntil (due))
                    return false;
            }

            if (behaviour.writeSize > 0)
                chunk = std::min (behaviour.writeSize, limit - offset);

            const auto bytes = read (offset, static_cast<std::size_t> (chunk));
            return sink.write (bytes.data(), bytes.size());
        };

        if (total == 0 && ! behaviour.noLength && ! behaviour.chunked)
        {
            // A provider of length 0 sends no Content-Length, and the client would wait.
            response.set_content (std::string(), contentType);
        }
        else if (behaviour.noLength)
        {
            response.set_content_provider (
                contentType, [writeFrom] (std::size_t offset, httplib::DataSink& sink)
                { return writeFrom (static_cast<std::int64_t> (offset), sink); });
        }
        else if (behaviour.chunked)
        {
            response.set_chunked_content_provider (
                contentType, [writeFrom] (std::size_t offset, httplib::DataSink& sink)
                { return writeFrom (static_cast<std::int64_t> (offset), sink); });
        }
        else
        {
            response.set_content_provider (
                static_cast<std::size_t> (total), contentType,
                [writeFrom] (std::size_t offset, std::size_t, httplib::DataSink& sink)
                {
                    const auto ok = writeFrom (static_cast<std::int64_t> (offset), sink);
                    return ok && sink.is_writable();
                });
        }
    }

    void answer (const std::string& endpoint, const httplib::Request& request,
                 httplib::Response& response, int requestNumber)
    {
        const auto& behaviour = options.endpoints.at (endpoint);

        if (behaviour.hang)
        {
            stop.waitForever();
            response.status = 503;
            return;
        }

        if (behaviour.status != 200 &&
            (behaviour.failTimes < 0 || requestNumber < behaviour.failTimes))
        {
            response.status = behaviour.status;
            response.set_content ("status " + std::to_string (behaviour.status) + "\n",
                                  "text/plain; charset=utf-8");
            return;
        }

        if (endpoint == "file")
        {
            sendBody (response, behaviour, installer.size(), "application/octet-stream",
                      [this] (std::int64_t offset, std::size_t count)
                      { return installer.read (offset, count); });
            return;
        }

        const auto body =
            behaviour.body.value_or (endpoint == "version" ? versionJson() : linksJson());
        // Not plain "application/json": the library would compress it for clients that ask.
        sendBody (response, behaviour, static_cast<std::int64_t> (body.size()),
                  "application/json; charset=utf-8",
                  [body] (std::int64_t offset, std::size_t count)
                  { return body.substr (static_cast<std::size_t> (offset), count); });
        (void) request;
    }

    void route (const std::string& endpoint, const std::string& pattern)
    {
        http.Get (pattern,
                  [this, endpoint] (const httplib::Request& request, httplib::Response& response)
                  {
                      const auto number = log.record (request);
                      const auto redirects = options.endpoints.at (endpoint).redirects;
                      if (redirects > 0)
                      {
                          response.set_redirect ("/hop/" + std::to_string (redirects - 1) +
                                                 request.path);
                          return;
                      }
                      answer (endpoint, request, response, number);
                  });
    }

    void setUpRoutes()
    {
        route ("version", versionPath);
        route ("links", linksPath);
        route ("file", "/files/.+");

        http.Get ("/hop/(\\d+)(/.*)",
                  [this] (const httplib::Request& request, httplib::Response& response)
                  {
                      const auto number = log.record (request);
                      const auto hops = std::stoi (request.matches[1]);
                      const std::string target = request.matches[2];
                      if (hops > 0)
                      {
                          response.set_redirect ("/hop/" + std::to_string (hops - 1) + target);
                          return;
                      }
                      const auto endpoint = target == versionPath ? "version"
                                            : target == linksPath ? "links"
                                                                  : "file";
                      answer (endpoint, request, response, number);
                  });

        http.Get ("/stats", [this] (const httplib::Request&, httplib::Response& response)
                  { response.set_content (log.toJson(), "text/plain; charset=utf-8"); });
    }
};

/** With LARKSPIRE_DEVSERVER_WATCH_FD set to a descriptor whose write end only the parent holds,
    the server ends once that reads end of file: when the parent ends, crashed or killed too.
    False when the variable names no open descriptor. */
bool endWithParent()
{
    const char* text = std::getenv ("LARKSPIRE_DEVSERVER_WATCH_FD");
    if (text == nullptr)
        return true;

    char* end = nullptr;
    const auto fd = std::strtol (text, &end, 10);
    if (*text == '\0' || *end != '\0' || fd < 0 || fd > 65535 || ::fcntl ((int) fd, F_GETFD) < 0)
    {
        std::cerr << "larkspire-devserver: LARKSPIRE_DEVSERVER_WATCH_FD is no open descriptor\n";
        return false;
    }

    std::thread (
        [fd]
        {
            char byte = 0;
            ssize_t got = 0;
            do
                got = ::read ((int) fd, &byte, 1);
            while (got > 0 || (got < 0 && errno == EINTR));
            std::_Exit (0);
        })
        .detach();
    return true;
}

int run (const Options& options)
{
    // Signals are taken by one thread with sigwait, so no handler runs inside the server.
    sigset_t signals;
    sigemptyset (&signals);
    sigaddset (&signals, SIGINT);
    sigaddset (&signals, SIGTERM);
    pthread_sigmask (SIG_BLOCK, &signals, nullptr);
    std::signal (SIGPIPE, SIG_IGN);
    if (! endWithParent())
        return 2;

    auto server = std::make_unique<Server>();
    server->options = options;
    if (! server->installer.open (options))
        return 2;

    server->setUpRoutes();
    server->http.set_keep_alive_max_count (100);
    server->http.set_read_timeout (30, 0);
    server->http.set_write_timeout (30, 0);

    server->port =
        options.port == 0
            ? server->http.bind_to_any_port ("127.0.0.1")
            : (server->http.bind_to_port ("127.0.0.1", options.port) ? options.port : -1);
    if (server->port <= 0)
    {
        std::cerr << "larkspire-devserver: cannot listen on 127.0.0.1:" << options.port << "\n";
        return 2;
    }

    std::printf ("listening on %s\n", server->base().c_str());
    std::fflush (stdout);

    std::thread signalThread (
        [&server, signals]
        {
            int received = 0;
            sigwait (&signals, &received);
            server->stop.trigger();
            server->http.stop();

            // A worker stuck in a write to a client that stopped reading must not keep us.
            std::this_thread::sleep_for (std::chrono::seconds (3));
            server->log.print();
            std::_Exit (0);
        });
    signalThread.detach();

    server->http.listen_after_bind();
    server->stop.trigger();
    server->log.print();
    std::_Exit (0);
}
} // namespace
} // namespace devserver

int main (int argc, char** argv)
{
    bool wantsHelp = false;
    const auto options = devserver::parseOptions (argc, argv, wantsHelp);
    if (wantsHelp)
    {
        devserver::printHelp();
        return 0;
    }
    if (! options)
        return 2;
    return devserver::run (*options);
}
