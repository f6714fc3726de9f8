#include "net/ServerFetch.h"
#include "support/DevServer.h"
#include "support/OutcomeText.h"

#include <gtest/gtest.h>

using testing_support::DevServer;

namespace
{
/** "ok:<hex of body>" (or "ok:<size> bytes" past 32 bytes), or "<class>: <message>". */
std::string fetchFrom (const std::vector<std::string>& options, bool cancelled = false)
{
    DevServer server (options);
    AsyncControlBlock control;
    control.flags = cancelled ? AsyncControlBlock::cancelledBit : 0;
    std::string body;
    const auto outcome = testing_support::outcomeOf (
        [&] {
            body =
                fetchServerResponse (control, juce::URL (server.getUrl ("/api/v1/version-info")));
        });
    if (outcome != "ok")
        return outcome;
    if (body.size() > 32)
        return "ok:" + std::to_string (body.size()) + " bytes";
    return "ok:" + juce::String::toHexString (body.data(), (int) body.size(), 0).toStdString();
}

const std::string tooLarge =
    "ServerError: server retrurned invalid data (response body is too large)";
} // namespace

TEST (ServerFetch, OutcomeTable)
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
        { { "--version-body-size", "70000", "--version-no-length" }, false, tooLarge },
        { { "--version-body-size", "65535" }, false, "ok:65535 bytes" },
        { { "--version-body", "" }, false, "ok:" },
        // Six redirects are one more than followed.
        { { "--version-redirects", "6" }, false, "ClientError: HTTP error code 302" },
    };
    for (const auto& row : rows)
        EXPECT_EQ (fetchFrom (row.options, row.cancelled), row.expected)
            << (row.options.empty() ? std::string() : row.options.front());

    // 8000 bytes at 20000 bytes/s arrive in many small pieces.
    DevServer slow ({ "--version-body-size", "8000", "--version-rate", "20000" });
    DevServer fast ({ "--version-body-size", "8000" });
    AsyncControlBlock control;
    const auto slowBody =
        fetchServerResponse (control, juce::URL (slow.getUrl ("/api/v1/version-info")));
    EXPECT_EQ (slowBody.size(), 8000u);
    EXPECT_EQ (slowBody,
               fetchServerResponse (control, juce::URL (fast.getUrl ("/api/v1/version-info"))));

    EXPECT_EQ (fetchFrom ({ "--version-redirects", "5" }), fetchFrom ({}));
    EXPECT_EQ (testing_support::outcomeOf (
                   [&]
                   {
                       fetchServerResponse (control,
                                            juce::URL ("http://127.0.0.1:" +
                                                       juce::String (DevServer::getClosedPort())));
                   }),
               "ClientError: HTTP error code 0");
}

TEST (ServerFetch, Utf8Table)
{
    // Accepted: U+00E9, a byte-order mark (kept in the result), NUL, the noncharacter U+FFFE,
    // U+10FFFF (the last code point), U+20AC.
    for (const std::string hex : { "c3a9", "efbbbf7b7d", "00", "efbfbe", "f48fbfbf", "e282ac" })
        EXPECT_EQ (fetchFrom ({ "--version-body-hex", hex }), "ok:" + hex);

    // Refused: three overlong forms, a surrogate, above U+10FFFF, a bad lead byte, a lone
    // continuation byte, a sequence cut off at the end of the body, a continuation byte missing,
    // a lead byte beyond the range.
    for (const std::string hex : { "c0af", "e080af", "f08fbfbf", "eda080", "f4908080", "f888808080",
                                   "80", "41e282", "c341", "f5808080" })
        EXPECT_EQ (fetchFrom ({ "--version-body-hex", hex }),
                   "ServerError: server retrurned invalid data (invalid utf-8 codeunit)")
            << hex;
}
