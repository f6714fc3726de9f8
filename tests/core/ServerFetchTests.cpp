#include "net/ServerFetch.h"
#include "support/DevServer.h"
#include "support/OutcomeText.h"

#include <gtest/gtest.h>

using testing_support::DevServer;

TEST (ServerFetch, OutcomeTable)
{
    const std::string tooLarge = "ServerError: server retrurned invalid data (response body is "
                                 "too large)";
    // The outcome, then the body as hexadecimal or, past 32 bytes, its size.
    const std::tuple<std::vector<std::string>, bool, std::string> rows[] {
        { { "--version-status", "404" }, false, "ClientError: HTTP error code 404" },
        { { "--version-status", "204" }, false, "ClientError: HTTP error code 204" },
        { { "--version-status", "503" }, false, "HttpError: HTTP error code 503" },
        // The status is looked at before the cancel flag.
        { { "--version-status", "500" }, true, "HttpError: HTTP error code 500" },
        { {}, true, "TaskCancelledError: async task is cancelled" },
        { { "--version-body-size", "65536" }, false, tooLarge },
        { { "--version-body-size", "70000", "--version-no-length" }, false, tooLarge },
        { { "--version-body-size", "65535" }, false, "ok 65535 bytes" },
        // In pieces of two bytes: a byte-order mark (kept) and a euro sign split across reads.
        { { "--version-body-hex", "efbbbf7b22e282ac227d", "--version-rate", "40" },
          false,
          "ok efbbbf7b22e282ac227d" },
        { { "--version-body-hex", "7beda0807d" },
          false,
          "ServerError: server retrurned invalid data (invalid utf-8 codeunit)" },
        // Five redirects are followed, a sixth is not.
        { { "--version-body-hex", "31", "--version-redirects", "5" }, false, "ok 31" },
        { { "--version-redirects", "6" }, false, "ClientError: HTTP error code 302" },
        { { "closed port" }, false, "ClientError: HTTP error code 0" },
    };
    for (const auto& [options, cancelled, expected] : rows)
    {
        const auto closed = options.size() == 1;
        const DevServer server (closed ? std::vector<std::string>() : options);
        AsyncControlBlock control;
        control.flags = cancelled ? AsyncControlBlock::cancelledBit : 0;
        const auto url = closed ? "http://127.0.0.1:" + juce::String (DevServer::getClosedPort())
                                : server.getUrl ("/api/v1/version-info");
        std::string body;
        auto outcome = testing_support::outcomeOf (
            [&] { body = fetchServerResponse (control, juce::URL (url)); });
        if (outcome == "ok")
            outcome +=
                " " +
                (body.size() > 32
                     ? std::to_string (body.size()) + " bytes"
                     : juce::String::toHexString (body.data(), (int) body.size(), 0).toStdString());
        EXPECT_EQ (outcome, expected) << (options.empty() ? "" : options.front());
    }
}

TEST (ServerFetch, Utf8Table)
{
    // Valid: U+00E9, NUL, the noncharacter U+FFFE, U+10FFFF (the last code point), U+20AC.
    // Not: three overlong forms, a surrogate, above U+10FFFF, a bad lead byte, a lone
    // continuation byte, a sequence cut off at the end, a continuation byte missing, a lead byte
    // past the range.
    const std::pair<const char*, bool> rows[] {
        { "c3a9", true },    { "00", true },        { "efbfbe", true },      { "f48fbfbf", true },
        { "e282ac", true },  { "c0af", false },     { "e080af", false },     { "f08fbfbf", false },
        { "eda080", false }, { "f4908080", false }, { "f888808080", false }, { "80", false },
        { "41e282", false }, { "c341", false },     { "f5808080", false },
    };
    for (const auto& [hex, valid] : rows)
    {
        juce::MemoryBlock bytes;
        bytes.loadFromHexString (hex);
        EXPECT_EQ (
            isWellFormedUtf8 (static_cast<const unsigned char*> (bytes.getData()), bytes.getSize()),
            valid)
            << hex;
    }
}
