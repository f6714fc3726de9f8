#include "net/ServerFetch.h"
#include "support/DevServer.h"
#include "tasks/ClientError.h"
#include "tasks/HttpError.h"
#include "tasks/TaskCancelledError.h"

#include <gtest/gtest.h>

using testing_support::DevServer;

namespace
{
const juce::String versionPath = "/api/v1/version-info";

/** "ok:<hex of body>" or "<class>: <message>". */
std::string fetchOutcome (const juce::String& url, bool cancelled = false)
{
    AsyncControlBlock control;
    if (cancelled)
        control.flags = AsyncControlBlock::cancelledBit;

    try
    {
        const auto body = fetchServerResponse (control, juce::URL (url));
        // Long bodies are shown by size and their first bytes only.
        const auto shown = juce::jmin ((int) body.size(), 32);
        return "ok:" + juce::String::toHexString (body.data(), shown, 0).toStdString() +
               (body.size() > 32 ? "...(" + std::to_string (body.size()) + " bytes)" : "");
    }
    catch (const HttpError& e)
    {
        return std::string ("HttpError: ") + e.what();
    }
    catch (const ServerError& e)
    {
        return std::string ("ServerError: ") + e.what();
    }
    catch (const ClientError& e)
    {
        return std::string ("ClientError: ") + e.what();
    }
    catch (const TaskCancelledError& e)
    {
        return std::string ("TaskCancelledError: ") + e.what();
    }
}

std::string fetchFrom (const std::vector<std::string>& options, bool cancelled = false)
{
    DevServer server (options);
    return fetchOutcome (server.getUrl (versionPath), cancelled);
}

const std::string tooLarge =
    "ServerError: server retrurned invalid data (response body is too large)";
const std::string badUtf8 = "ServerError: server retrurned invalid data (invalid utf-8 codeunit)";
} // namespace

TEST (ServerFetch, FailureTable)
{
    struct Row
    {
        std::vector<std::string> options;
        bool cancelled;
        std::string expected;
    };

    const std::vector<Row> rows {
        { { "--version-status", "404" }, false, "ClientError: HTTP error code 404" },
        { { "--version-status", "204" }, false, "ClientError: HTTP error code 204" },
        { { "--version-status", "503" }, false, "HttpError: HTTP error code 503" },
        // The status is looked at before the cancel flag.
        { { "--version-status", "500" }, true, "HttpError: HTTP error code 500" },
        { {}, true, "TaskCancelledError: async task is cancelled" },
        { { "--version-body-size", "65536" }, false, tooLarge },
        { { "--version-body-size", "70000" }, false, tooLarge },
        { { "--version-body-size", "70000", "--version-no-length" }, false, tooLarge },
        { { "--version-body", "" }, false, "ok:" },
        // Six redirects are one more than followed.
        { { "--version-redirects", "6" }, false, "ClientError: HTTP error code 302" },
    };

    for (const auto& row : rows)

        EXPECT_EQ (fetchFrom (row.options, row.cancelled), row.expected)
            << (row.options.empty() ? std::string() : row.options.front());
}

TEST (ServerFetch, NoServerIsStatusZero)
{
    const auto url = "http://127.0.0.1:" + juce::String (DevServer::getClosedPort()) + versionPath;
    EXPECT_EQ (fetchOutcome (url), "ClientError: HTTP error code 0");
}

TEST (ServerFetch, LargestBodySlowBodyAndRedirectsAreAccepted)
{
    DevServer largest ({ "--version-body-size", "65535" });
    const auto body = fetchOutcome (largest.getUrl (versionPath));
    EXPECT_TRUE (juce::String (body).endsWith ("(65535 bytes)")) << body;

    // 8000 bytes at 20000 bytes/s arrive in many small pieces.
    DevServer slow ({ "--version-body-size", "8000", "--version-rate", "20000" });
    DevServer fast ({ "--version-body-size", "8000" });
    AsyncControlBlock control;
    const auto slowBody = fetchServerResponse (control, juce::URL (slow.getUrl (versionPath)));
    EXPECT_EQ (slowBody.size(), 8000u);
    EXPECT_EQ (slowBody, fetchServerResponse (control, juce::URL (fast.getUrl (versionPath))));

    DevServer plain;
    DevServer redirected ({ "--version-redirects", "5" });
    const auto plainBody = fetchOutcome (plain.getUrl (versionPath));
    EXPECT_EQ (plainBody.rfind ("ok:7b", 0), 0u) << plainBody;
    EXPECT_EQ (fetchOutcome (redirected.getUrl (versionPath)), plainBody);
    EXPECT_EQ (redirected.getRequestCount ("/hop/0" + versionPath), 1);
}

TEST (ServerFetch, Utf8Table)
{
    struct Row
    {
        const char* hex;
        bool accepted;
    };

    const Row rows[] {
        { "c3a9", true },        // U+00E9
        { "efbbbf7b7d", true },  // a byte-order mark stays in the result
        { "00", true },          // NUL
        { "efbfbe", true },      // U+FFFE, a noncharacter
        { "f48fbfbf", true },    // U+10FFFF, the last code point
        { "e282ac", true },      // U+20AC
        { "c0af", false },       // overlong
        { "e080af", false },     // overlong
        { "f08f bfbf", false },  // overlong four-byte form (space removed below)
        { "eda080", false },     // a surrogate
        { "f4908080", false },   // above U+10FFFF
        { "f888808080", false }, // bad lead byte
        { "80", false },         // a lone continuation byte
        { "41e282", false },     // cut off at the end of the body
        { "c341", false },       // a continuation byte missing
        { "f5808080", false },   // lead byte beyond the range
    };

    for (const auto& row : rows)
    {
        const auto hex = juce::String (row.hex).removeCharacters (" ").toStdString();
        EXPECT_EQ (fetchFrom ({ "--version-body-hex", hex }), row.accepted ? "ok:" + hex : badUtf8)
            << row.hex;
    }
}
