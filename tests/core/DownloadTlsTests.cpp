#include "support/ScriptedServer.h"
#include "support/TemporaryFolder.h"

#include <gtest/gtest.h>

#include <optional>
#include <unistd.h>

using testing_support::ScriptedServer;
using testing_support::TemporaryFolder;

namespace
{
/** tests/support/tls_scripted_server.py on an ephemeral 127.0.0.1 port: answers in turn, over
    TLS with the given certificate. Killed with the object; it also ends with this process. */
class TlsScriptedServer final
{
public:
    TlsScriptedServer (const juce::File& certificate, const juce::File& key,
                       const std::vector<std::string>& answers)
    {
        juce::StringArray command { "python3", LARKSPIRE_TLS_SERVER_SCRIPT,
                                    certificate.getFullPathName(), key.getFullPathName() };
        for (const auto& answer : answers)
            command.add (juce::String::fromUTF8 (answer.c_str()));
        juce::String firstLine;
        char c = 0;
        if (process.start (command))
            while (process.readProcessOutput (&c, 1) == 1 && c != '\n')
                firstLine += c;
        port = firstLine.fromFirstOccurrenceOf ("listening on ", false, false).getIntValue();
    }

    ~TlsScriptedServer()
    {
        process.kill();
        process.waitForProcessToFinish (5000);
    }

    int getPort() const noexcept { return port; }

    /** Ends the server and returns the first line of each request it read, in turn. */
    juce::StringArray stopAndGetRequests()
    {
        process.kill();
        juce::StringArray requests;
        for (const auto& line : juce::StringArray::fromLines (process.readAllProcessOutput()))
            if (line.startsWith ("request: "))
                requests.add (line.fromFirstOccurrenceOf ("request: ", false, false));
        return requests;
    }

private:
    juce::ChildProcess process;
    int port = 0;
};

/** What command printed, trimmed, once it has ended. */
juce::String outputOf (const juce::StringArray& command)
{
    juce::ChildProcess process;
    return process.start (command) ? process.readAllProcessOutput().trim() : juce::String();
}
} // namespace

// TLS needs a certificate this machine trusts: the downloads run in a child process inside a
// private mount namespace, where the system's list of trusted certificates is ours alone.
TEST (DownloadInstaller, AnHttpsLinkIsFollowedOverHttpsButNeverDownToHttp)
{
    const TemporaryFolder folder;
    const auto certificate = folder.get().getChildFile ("certificate.pem");
    const auto key = folder.get().getChildFile ("key.pem");
    ASSERT_TRUE (
        outputOf ({ "openssl", "req", "-x509", "-newkey", "ec", "-pkeyopt",
                    "ec_paramgen_curve:prime256v1", "-nodes", "-keyout", key.getFullPathName(),
                    "-out", certificate.getFullPathName(), "-days", "2", "-subj", "/CN=127.0.0.1",
                    "-addext", "subjectAltName=IP:127.0.0.1" })
            .isNotEmpty());
    ASSERT_TRUE (certificate.existsAsFile() && key.existsAsFile());

    // The installer, and a plain-http copy of it that no redirect from https may reach.
    const std::string body (1000, 'b');
    const auto installer = "HTTP/1.1 200 OK\r\nContent-Length: 1000\r\n\r\n" + body;
    const ScriptedServer plain (installer);
    const auto plainLink = plain.getUrl ("http", "/installer.bin").toStdString();
    const auto found = [] (const std::string& location)
    { return "HTTP/1.1 302 Found\r\nLocation: " + location + "\r\nContent-Length: 0\r\n\r\n"; };

    const auto gets = [] (const std::vector<std::string>& paths)
    {
        juce::StringArray lines;
        for (const auto& path : paths)
            lines.add ("GET " + path + " HTTP/1.1");
        return lines;
    };
    const auto refused = "ServerError: refused redirect from https to http: `" + plainLink + "`";

    struct Row
    {
        std::vector<std::string> answers; // the TLS server's, in turn, the last to the rest
        std::string expected;
        juce::StringArray requests; // the request lines the TLS server read, in turn
        bool overHttp = false;      // the link is http, to a server that redirects to https
    };
    const Row rows[] {
        { { installer }, "ok", gets ({ "/files/installer.bin" }) },
        { { found ("/moved/installer.bin"), installer },
          "ok",
          gets ({ "/files/installer.bin", "/moved/installer.bin" }) },
        { { found (plainLink) }, refused, gets ({ "/files/installer.bin" }) },
        { { found ("HTTP://127.0.0.1:" + std::to_string (plain.getPort()) + "/installer.bin") },
          refused,
          gets ({ "/files/installer.bin" }) },
        // The step down is checked against the address that redirected, not the link: http up
        // to https, then a relative step that stays on https, or a step down that is refused.
        { { found ("/moved/installer.bin"), installer },
          "ok",
          gets ({ "/files/installer.bin", "/moved/installer.bin" }),
          true },
        { { found (plainLink) }, refused, gets ({ "/files/installer.bin" }), true },
    };
    for (const auto& row : rows)
    {
        SCOPED_TRACE (row.expected + (row.overHttp ? ", over http, " : ", ") +
                      row.requests.joinIntoString ("|").toStdString());
        TlsScriptedServer server (certificate, key, row.answers);
        ASSERT_NE (server.getPort(), 0);
        const auto secureLink =
            "https://127.0.0.1:" + std::to_string (server.getPort()) + "/files/installer.bin";
        std::optional<ScriptedServer> entry;
        if (row.overHttp)
            entry.emplace (found (secureLink));
        const auto link =
            entry ? entry->getUrl ("http", "/files/installer.bin").toStdString() : secureLink;
        const auto destination =
            folder.get().getChildFile (juce::Uuid().toString()).getChildFile ("installer.bin");

        // Paths and the link reach the script as arguments.
        const auto outcome = outputOf (
            { "unshare", "-m", "sh", "-c",
              "mount --bind \"$1\" /etc/ssl/certs/ca-certificates.crt && exec \"$2\" --download "
              "\"$3\" \"$4\"",
              "sh", certificate.getFullPathName(),
              juce::File::getSpecialLocation (juce::File::currentExecutableFile).getFullPathName(),
              destination.getFullPathName(), juce::String (link) });
        if (::geteuid() != 0 || outcome.startsWith ("unshare:") || outcome.startsWith ("mount:"))
            GTEST_SKIP() << "needs root and unshare -m for a private mount: " << outcome;

        EXPECT_EQ (outcome.toStdString(), row.expected);
        EXPECT_TRUE (row.expected == "ok" ? destination.loadFileAsString() == juce::String (body)
                                          : ! destination.exists());
        EXPECT_EQ (server.stopAndGetRequests().joinIntoString ("|"),
                   row.requests.joinIntoString ("|"));
        if (entry)
        {
            EXPECT_EQ (entry->getConnectionCount(), 1) << entry->getReceived();
        }
        EXPECT_EQ (plain.getConnectionCount(), 0) << plain.getReceived();
    }
}
