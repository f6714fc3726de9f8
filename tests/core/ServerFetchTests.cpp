#include "net/FetchCharacterUpdateInfo.h"
#include "net/ServerFetch.h"
#include "net/UpdateServer.h"
#include "net/Utf8Character.h"
#include "support/DevServer.h"
#include "support/OutcomeText.h"
#include "support/ScopedEnvironment.h"
#include "support/ScriptedServer.h"

#include <gtest/gtest.h>

using testing_support::DevServer;
using testing_support::ScriptedServer;

namespace
{
const juce::String versionPath = "/api/v1/version-info", linksPath = "/api/v1/download-links";

/** The retry notices, "=> " and the outcome with "number|string|link|totalSize", then the
    requests the server has had in all as "(version+links)". A cancel at the first notice is as
    by a window closed during the pause before a retry. */
std::string request (const DevServer& server, bool cancelledBefore = false,
                     bool cancelAtNotice = false)
{
    // With a trailing "/", which is dropped.
    const testing_support::ScopedEnvironment address ("LARKSPIRE_UPDATE_SERVER",
                                                      server.getBaseUrl().toStdString() + "/");
    const auto control = std::make_shared<AsyncControlBlock>();
    const auto cancel = cancelFunctionFor (control);
    if (cancelledBefore)
        cancel();
    std::string text;
    const auto onNotice = [&] (double done, double total, std::string notice)
    {
        text += std::to_string ((int) done) + "/" + std::to_string ((int) total) + notice + " ";
        if (cancelAtNotice)
            cancel();
    };
    std::shared_ptr<const LarkspireCharacterUpdateInfo> info;
    text += "=> " + testing_support::outcomeOf (
                        [&] { info = fetchCharacterUpdateInfo (*control, onNotice); });
    if (info != nullptr)
        text += " " + std::to_string (info->latestVersionNumber) + "|" + info->latestVersionString +
                "|" + info->downloadLink + "|" + std::to_string (info->totalSize);
    return text + " (" + std::to_string (server.getRequestCount (versionPath)) + "+" +
           std::to_string (server.getRequestCount (linksPath)) + ")";
}
} // namespace

TEST (UpdateInfoRequest, AnswerTable)
{
    const std::string missing = "=> ServerError: missing ",
                      many = "=> ServerError: multiple download links is not supported (1+1)";
    // Answers that nest levels deep in all, the outer object included: deeper than 256 is
    // refused like text that is not JSON. Brackets within strings do not count.
    const auto nested = [] (int levels, bool objects)
    {
        std::string inner = "1";
        for (int level = 1; level < levels; ++level)
            inner = objects ? R"({"a":)" + inner + "}" : "[" + inner + "]";
        return inner;
    };
    const auto version = [] (const std::string& minimum)
    {
        return R"({"latestVersionNumber":20301,"latestVersionString":"2.3.1","minEditorVersion":)" +
               minimum + "}";
    };
    const auto links = [] (const std::string& extra)
    { return R"({"downloadLinks":["s"],"totalSize":1,"x":)" + extra + "}"; };
    const auto ok = "=> ok 20301|2.3.1|s|1048576 (1+1)";
    // A number that JUCE cannot hold counts as 0, whatever its place, text or number.
    const auto numbered = [] (const std::string& number)
    {
        return R"({"latestVersionNumber":)" + number +
               R"(,"latestVersionString":"2.3.1","minEditorVersion":1,"x":[-1e-99999999999]})";
    };
    const auto number = [] (const std::string& versionNumber)
    { return "=> ok " + versionNumber + "|2.3.1|s|1048576 (1+1)"; };
    const auto versionText = [] (const std::string& text)
    {
        return R"({"latestVersionNumber":1,"latestVersionString":")" + text +
               R"(","minEditorVersion":1})";
    };
    const std::pair<std::vector<std::string>, std::string> rows[] {
        // A client error on the second request repeats the pair; server errors are not retried.
        { { "--links-status", "404", "--links-fail-times", "1", "--link", "s", "--total-size",
            "5G" },
          "1/3 => ok 20301|2.3.1|s|5368709120 (2+2)" },
        { { "--version-status", "503" }, "=> HttpError: HTTP error code 503 (1+0)" },
        { { "--links-status", "500" }, "=> HttpError: HTTP error code 500 (1+1)" },
        { { "--version-body", "[1,2]" }, missing + "latestVersionNumber (1+0)" },
        { { "--omit", "latestVersionString" }, missing + "latestVersionString (1+0)" },
        { { "--omit", "minEditorVersion" }, missing + "minEditorVersion (1+0)" },
        { { "--omit", "downloadLinks" }, missing + "downloadLinks (1+1)" },
        { { "--omit", "totalSize" }, missing + "totalSize (1+1)" },
        { { "--links-body", R"({"downloadLinks":"x","totalSize":1})" },
          "=> ServerError: downloadLink is not an array (1+1)" },
        { { "--links-count", "0" }, many },
        { { "--links-count", "2" }, many },
        { { "--version-body", version (nested (256, false)), "--link", "s" }, ok },
        { { "--version-body", version (nested (257, false)) },
          missing + "latestVersionNumber (1+0)" },
        { { "--version-body", std::string (60000, '[') }, missing + "latestVersionNumber (1+0)" },
        { { "--version-body", version (R"("\"[)" + std::string (300, '[') + "\""), "--link", "s" },
          ok },
        { { "--links-body", links (nested (256, true)) }, "=> ok 20301|2.3.1|s|1 (1+1)" },
        { { "--links-body", links (nested (257, true)) }, missing + "downloadLinks (1+1)" },
        // A size that is no byte count counts as none.
        { { "--links-body", R"({"downloadLinks":["s"],"totalSize":-1e300})" },
          "=> ok 20301|2.3.1|s|0 (1+1)" },
        // The parser reads anything after a "-" as digits: that is no number, and no JSON.
        { { "--version-body", version ("-Z999999999999999999") },
          missing + "latestVersionNumber (1+0)" },
        { { "--links-body", links ("-'99999999999999999999") }, missing + "downloadLinks (1+1)" },
        { { "--version-body", version ("- 7"), "--link", "s" }, ok },
        { { "--version-body", numbered ("1e300"), "--link", "s" }, number ("0") },
        { { "--version-body", numbered ("-12345678901234567890.5"), "--link", "s" }, number ("0") },
        { { "--version-body", numbered ("1e99999999999"), "--link", "s" }, number ("0") },
        { { "--version-body", numbered ("5000000000"), "--link", "s" }, number ("0") },
        { { "--version-body", numbered (R"("-2147483649")"), "--link", "s" }, number ("0") },
        { { "--version-body", numbered (R"("99999999999999999999")"), "--link", "s" },
          number ("0") },
        { { "--version-body", numbered ("-2.9"), "--link", "s" }, number ("-2") },
        { { "--links-body",
            R"({"downloadLinks":[12345678901234567890],"totalSize":"-9223372036854775808"})" },
          "=> ok 20301|2.3.1|0|0 (1+1)" },
        { { "--links-body", R"({"downloadLinks":["s"],"totalSize":99999999999999999999})" },
          "=> ok 20301|2.3.1|s|0 (1+1)" },
        // A number glued to more number characters is no JSON: its 0 must not join them.
        { { "--version-body", version ("1e99999e99999999999") },
          missing + "latestVersionNumber (1+0)" },
        { { "--version-body", version ("1e99999e5") }, missing + "latestVersionNumber (1+0)" },
        // A character beyond U+FFFF as a pair of escapes is that character.
        { { "--links-body",
            R"({"downloadLinks":["https://cdn.example/Setup\ud83d\uDE00.bin"],"totalSize":1})" },
          "=> ok 20301|2.3.1|https://cdn.example/Setup\xf0\x9f\x98\x80.bin|1 (1+1)" },
        { { "--version-body",
            R"({"latestVersionNumber":1,"latestVersionString":"\ud83d\ude00","minEditorVersion":1})",
            "--link", "s" },
          "=> ok 1|\xf0\x9f\x98\x80|s|1048576 (1+1)" },
        // The pairs at the ends of the surrogate ranges: U+10000, U+1F3FF and U+10FFFF.
        { { "--version-body", versionText (R"(\ud800\udc00)"), "--link", "s" },
          "=> ok 1|\xf0\x90\x80\x80|s|1048576 (1+1)" },
        { { "--version-body", versionText (R"(\ud83c\udfff)"), "--link", "s" },
          "=> ok 1|\xf0\x9f\x8f\xbf|s|1048576 (1+1)" },
        { { "--version-body", versionText (R"(\udbff\udfff)"), "--link", "s" },
          "=> ok 1|\xf4\x8f\xbf\xbf|s|1048576 (1+1)" },
    };
    for (const auto& [options, expected] : rows)
    {
        const DevServer server (options);
        EXPECT_EQ (request (server), expected);
        // The parameters arrive as sent, product first.
        const auto query =
            "?product=LarkspireEditor&platform=" + juce::String (UpdateServer::getPlatformId());
        EXPECT_EQ (server.getLastTarget (versionPath), versionPath + query);
        EXPECT_EQ (server.getLastTarget (linksPath),
                   server.getRequestCount (linksPath) > 0 ? linksPath + query : juce::String());
    }
}

TEST (UpdateInfoRequest, ClientErrorsAreRetriedThreeTimesAfterASecondUnlessCancelled)
{
    const DevServer refusing ({ "--version-status", "404" });
    auto started = juce::Time::getMillisecondCounter();
    EXPECT_EQ (request (refusing), "1/3 2/3 3/3 => ClientError: HTTP error code 404 (4+0)");
    EXPECT_GE (juce::Time::getMillisecondCounter() - started, 2900u);
    EXPECT_LT (juce::Time::getMillisecondCounter() - started, 6000u); // not pauses of 2 s

    started = juce::Time::getMillisecondCounter();
    EXPECT_EQ (request (refusing, false, true),
               "1/3 => TaskCancelledError: async task is cancelled (5+0)");
    EXPECT_LT (juce::Time::getMillisecondCounter() - started, 800u); // not the whole pause
    // A task cancelled before its request makes none.
    EXPECT_EQ (request (DevServer(), true), "=> TaskCancelledError: async task is cancelled (0+0)");
}

TEST (ServerFetch, OutcomeTable)
{
    const std::string tooLarge = "ServerError: server retrurned invalid data (response body is "
                                 "too large)";
    // The outcome and, when ok, the body's size and its first ten bytes.
    const std::pair<std::vector<std::string>, std::string> rows[] {
        { { "--version-status", "404" }, "ClientError: HTTP error code 404" },
        { { "--version-status", "204" }, "ClientError: HTTP error code 204" },
        { { "--version-status", "503" }, "HttpError: HTTP error code 503" },
        { { "--version-body-size", "65536" }, tooLarge },
        { { "--version-body-size", "70000", "--version-no-length" }, tooLarge },
        { { "--version-body-size", "65535" }, R"(ok 65535 {"latestVe)" },
        // A byte-order mark is kept.
        { { "--version-body-hex", "efbbbf7b22e282ac227d" }, "ok 10 \xef\xbb\xbf{\"€\"}" },
        { { "--version-body-hex", "7beda0807d" },
          "ServerError: server retrurned invalid data (invalid utf-8 codeunit)" },
        // Five redirects are followed, a sixth is not; nothing listening is status 0.
        { { "--version-body-hex", "31", "--version-redirects", "5" }, "ok 1 1" },
        { { "--version-redirects", "6" }, "ClientError: HTTP error code 302" },
        { { "--closed-port" }, "ClientError: HTTP error code 0" },
    };
    for (const auto& [options, expected] : rows)
    {
        const auto closed = options.front() == "--closed-port";
        const DevServer server (closed ? std::vector<std::string>() : options);
        const juce::URL url (closed
                                 ? "http://127.0.0.1:" + juce::String (DevServer::getClosedPort())
                                 : server.getUrl (versionPath));
        std::string body;
        auto outcome = testing_support::outcomeOf (
            [&] { body = fetchServerResponse (AsyncControlBlock(), url); });
        if (outcome == "ok")
            outcome += " " + std::to_string (body.size()) + " " + body.substr (0, 10);
        EXPECT_EQ (outcome, expected) << options.back();
    }
}

TEST (ServerFetch, Utf8Table)
{
    // Valid: U+00E9, NUL, the noncharacter U+FFFE, U+10FFFF (the last), U+20AC. Not: overlong
    // forms, a surrogate, above U+10FFFF, bad lead bytes, a lone continuation byte, a sequence
    // cut off at the end, a continuation byte missing. Then the last surrogate, and U+D7FF and
    // U+E000 on either side of the surrogates, which are text.
    const std::pair<const char*, bool> rows[] {
        { "c3a9", true },    { "00", true },        { "efbfbe", true },      { "f48fbfbf", true },
        { "e282ac", true },  { "c0af", false },     { "e080af", false },     { "f08fbfbf", false },
        { "eda080", false }, { "f4908080", false }, { "f888808080", false }, { "80", false },
        { "41e282", false }, { "c341", false },     { "f5808080", false },   { "c3c3", false },
        { "edbfbf", false }, { "ed9fbf", true },    { "ee8080", true },
    };
    for (const auto& [hex, valid] : rows)
    {
        juce::MemoryBlock bytes;
        bytes.loadFromHexString (hex);
        const auto* data = static_cast<const unsigned char*> (bytes.getData());
        EXPECT_EQ (isWellFormedUtf8 (data, bytes.getSize()), valid) << hex;
    }
}

TEST (ServerFetch, ATransferThatFailsOrLeavesHttpIsNoAnswer)
{
    // Another service on this machine, which no redirect or update-server address may reach.
    const ScriptedServer other;
    const auto gopher = other.getUrl ("gopher", "/_SET%20pwned%201");
    const std::string head = "HTTP/1.1 200 OK\r\nServer: x\r\n";
    std::string endlessHead = head;
    for (int line = 0; line < 40000; ++line)
        endlessHead += "X-Line: " + std::to_string (line) + "\r\n";
    const std::pair<std::string, std::string> rows[] {
        { head + "X-Long: " + std::string (1 << 20, 'a') + "\r\n\r\n{}",
          "ClientError: HTTP error code 0" },
        { endlessHead, "ClientError: HTTP error code 0" },
        { head + "Content-Length: 100\r\n\r\n{\"a\":1}", "ClientError: HTTP error code 0" },
        { head + "Content-Encoding: br\r\nContent-Length: 2\r\n\r\n{}",
          "ServerError: response body is content-encoded (`br`)" },
        // A body is held to its Content-Length, however it ends.
        { head + "Content-Length: 100\r\nTransfer-Encoding: chunked\r\n\r\n" +
              "7\r\n{\"a\":1}\r\n0\r\n\r\n",
          "ServerError: response size mismatch: received 7 bytes, expected 100" },
        { head + "Content-Length: 0\r\nTransfer-Encoding: chunked\r\n\r\n" + "2\r\n{}\r\n0\r\n\r\n",
          "ServerError: response size mismatch: received 2 bytes, expected 0" },
        { head + "Content-Length: 12345678901234567890\r\nConnection: close\r\n\r\n{}",
          "ServerError: server retrurned invalid data (response body is too large)" },
        { "HTTP/1.1 307 Temporary Redirect\r\nServer: x\r\nLocation: " + gopher.toStdString() +
              "\r\nContent-Length: 0\r\n\r\n",
          "ServerError: unsupported URL scheme `gopher` in `" + gopher.toStdString() +
              "`: only http and https" },
    };
    for (const auto& [answer, expected] : rows)
    {
        const ScriptedServer server (answer);
        EXPECT_EQ (
            testing_support::outcomeOf (
                [&] { fetchServerResponse (AsyncControlBlock(), server.getUrl ("http", "/v")); }),
            expected);
        // The request asked for the body as it is.
        EXPECT_NE (server.getReceived().find ("\r\nAccept-Encoding: identity\r\n"),
                   std::string::npos);
    }

    // The update server's address, in any letter case, before any request.
    const testing_support::ScopedEnvironment address ("LARKSPIRE_UPDATE_SERVER",
                                                      other.getUrl ("Gopher", "").toStdString());
    const std::string refused = "ServerError: unsupported URL scheme `Gopher` in `Gopher://";
    EXPECT_EQ (testing_support::outcomeOf (
                   [] { fetchCharacterUpdateInfo (AsyncControlBlock(), [] (auto...) {}); })
                   .substr (0, refused.size()),
               refused);
    EXPECT_EQ (other.getConnectionCount(), 0) << other.getReceived();
}
