#include "net/WebAddress.h"
#include "support/OutcomeText.h"

#include <gtest/gtest.h>

namespace
{
/** A header value as JUCE hands it over: each byte as one character. */
juce::String asHeader (const std::string& bytes)
{
    juce::String text;
    for (const auto byte : bytes)
        text += static_cast<juce::juce_wchar> (static_cast<unsigned char> (byte));
    return text;
}
} // namespace

TEST (RedirectTarget, ResolvesLikeCurlFromTheHeadersBytesAndNeverLeavesHttps)
{
    const std::string from = "http://files.example/a/b/setup.bin?sig=1#top";
    const std::string secure = "https://files.example/a/setup.bin";
    const std::string refused = "ServerError: refused redirect from https to http: ";
    // The address the request came from, the Location header's bytes, and where it leads
    // ("" where the Location cannot be read, and the redirect fails as its status).
    const std::tuple<std::string, std::string, std::string> rows[] {
        { from, "https://cdn.example/x/Setup.bin", "https://cdn.example/x/Setup.bin" },
        { from, "HTTPS://cdn.example/Setup.bin", "https://cdn.example/Setup.bin" },
        { from, "Setup-2.bin", "http://files.example/a/b/Setup-2.bin" },
        { from, "../c/Setup.bin", "http://files.example/a/c/Setup.bin" },
        { from, "/c/./d/../Setup.bin", "http://files.example/c/Setup.bin" },
        { secure, "//cdn.example/Setup.bin", "https://cdn.example/Setup.bin" },
        { from, "?sig=2", "http://files.example/a/b/setup.bin?sig=2" },
        { from, "#part", "http://files.example/a/b/setup.bin?sig=1#part" },
        { from, "  /c/Setup.bin ", "http://files.example/c/Setup.bin" },
        // A space, control bytes and bytes from 0x80 up are percent-encoded, each once; an
        // escape already there and everything else stays as sent.
        { from, "/moved dir/Setup.bin", "http://files.example/moved%20dir/Setup.bin" },
        { from, "/\xe5\x8b\x95\xe3\x81\x8f/Setup.bin",
          "http://files.example/%E5%8B%95%E3%81%8F/Setup.bin" },
        { from, "/a\x01\x7f\xff/Setup.bin?q=a b&r=%2F",
          "http://files.example/a%01%7F%FF/Setup.bin?q=a%20b&r=%2F" },
        { from, "", "" },
        { from, "http://[::1/Setup.bin", "" },
        { from, "//%FF.example/Setup.bin", "" },
        { from, "//a%7Fb.example/Setup.bin", "" },
        // Only http and https, and never from https down to http.
        { from, "ftp://files.example/Setup.bin",
          "ServerError: unsupported URL scheme `ftp` in `ftp://files.example/Setup.bin`: only "
          "http and https" },
        { from, "Gopher://files.example/_SET",
          "ServerError: unsupported URL scheme `gopher` in `gopher://files.example/_SET`: only "
          "http and https" },
        { secure, "http://files.example/Setup.bin", refused + "`http://files.example/Setup.bin`" },
        { "HTTPS://files.example/a", "HTTP://cdn.example/Setup.bin",
          refused + "`http://cdn.example/Setup.bin`" },
        { from, "https://cdn.example/Setup.bin", "https://cdn.example/Setup.bin" },
    };
    for (const auto& [address, location, expected] : rows)
    {
        std::string target;
        auto outcome = testing_support::outcomeOf (
            [&, &a = address, &l = location]
            { target = redirectTarget (a, asHeader (l)).toStdString(); });
        EXPECT_EQ (outcome == "ok" ? target : outcome, expected) << location;
    }
}
