#include "net/DownloadInstaller.h"
#include "net/FetchCharacterUpdateInfo.h"
#include "support/OutcomeText.h"
#include "support/ScopedEnvironment.h"
#include "support/ScriptedServer.h"
#include "support/TemporaryFolder.h"

#include <gtest/gtest.h>

using testing_support::ScriptedServer;
using testing_support::TemporaryFolder;

namespace
{
/** The first line of each request head in received, joined with "|". */
std::string requestLines (const std::string& received)
{
    std::string lines;
    for (std::size_t head = 0; head < received.size();)
    {
        const auto end = received.find ("\r\n\r\n", head);
        lines += (lines.empty() ? "" : "|") +
                 received.substr (head, received.find ("\r\n", head) - head);
        head = end == std::string::npos ? received.size() : end + 4;
    }
    return lines;
}
} // namespace

TEST (DownloadInstaller, WhatAHostileServerSendsNeverReplacesTheOldFile)
{
    // Another service on this machine, which no link or redirect may reach.
    const ScriptedServer other ("220 ready\r\n");
    const auto ftp = other.getUrl ("ftp", "/installer.bin").toStdString();
    const auto gopher = other.getUrl ("gopher", "/_SET%20pwned%201%0D%0A/installer.bin");
    const auto dict = other.getUrl ("DICT", "/d:pwned/installer.bin");
    const std::string body (1000, 'b'), head = "HTTP/1.1 200 OK\r\nServer: x\r\n",
                                        found = "HTTP/1.1 302 Found\r\n",
                                        sized = "Content-Length: 1000\r\n\r\n";
    const auto scheme = [] (const juce::String& name, const juce::String& link)
    {
        return "ServerError: unsupported URL scheme `" + name.toStdString() + "` in `" +
               link.toStdString() + "`: only http and https";
    };
    const auto unsafe = std::string ("ServerError: unsafe installer file name `");
    const auto longName = std::string (60000, 'n');
    // A second service, so that two absolute Locations name two servers, neither to be reached.
    const ScriptedServer elsewhere ("220 ready\r\n");
    const auto toOther = other.getUrl ("http", "/a/installer.bin").toStdString(),
               toElsewhere = elsewhere.getUrl ("http", "/b/installer.bin").toStdString();
    // The body in chunks after a Content-Length, which curl then ignores.
    const auto chunked = [&] (const std::string& length)
    {
        return head + "Content-Length: " + length +
               "\r\nTransfer-Encoding: chunked\r\n\r\n1f4\r\n" + body.substr (500) + "\r\n1f4\r\n" +
               body.substr (500) + "\r\n0\r\n\r\n";
    };
    const auto conflicting = [] (const std::string& locations)
    { return "ServerError: response has conflicting locations (`Location: " + locations + "`) 1"; };
    const auto mismatch = [] (const char* expected)
    {
        return "ServerError: download size mismatch: received 1000 bytes, expected " +
               std::string (expected) + " 1";
    };

    // A redirect (its Location first, as plain Node.js servers send it, or later, in any
    // letter case) to a path of the same server, which then sends the installer.
    const auto redirect = [] (const std::string& status, const std::string& location)
    { return "HTTP/1.1 " + status + "\r\n" + location + "\r\nContent-Length: 0\r\n\r\n"; };
    const auto movedTo = [&] (const std::string& location, const std::string& status = "302 Found")
    {
        return std::vector<std::string> { redirect (status, location), head + sized + body };
    };
    // A second host on the way: a relative Location from it is resolved against its address.
    const ScriptedServer relay (std::vector<std::string> {
        redirect ("302 Found", "Location: ../z/installer.bin"), head + sized + body });

    // An update server's answer with this JSON body.
    const auto answer = [&] (const std::string& json)
    { return head + "Content-Length: " + std::to_string (json.size()) + "\r\n\r\n" + json; };
    const auto version =
        answer (R"({"latestVersionNumber":1,"latestVersionString":"1","minEditorVersion":1})");

    struct Row
    {
        std::vector<std::string> answers; // the scripted server's, in turn, the last to the rest
        std::string name;                 // the link's last segment and the installer's name
        std::int64_t totalSize;
        std::string expected;   // the outcome, then the requests the scripted server had
        juce::String link = {}; // else the scripted server's /files/name
        std::string sent = {};  // the request line of the last request
        // The link taken instead from the first two answers, as the update request reads it.
        bool linkFromAnswers = false;
    };
    const Row rows[] {
        { { "" }, "installer.bin", 0, scheme ("gopher", gopher) + " 0", gopher },
        { { "" }, "installer.bin", 0, scheme ("DICT", dict) + " 0", dict },
        { { "" },
          "installer.bin",
          0,
          scheme ("file", "file:///etc/installer.bin") + " 0",
          "file:///etc/installer.bin" },
        { { "" },
          "installer.bin",
          0,
          "ServerError: unsupported URL `http:/installer.bin`: only http:// and https:// "
          "addresses 0",
          "http:/installer.bin" },
        { { "" },
          "installer.bin",
          0,
          "ServerError: unsupported URL `installer.bin`: only http:// and https:// addresses 0",
          "installer.bin" },
        { { found + "Content-Length: 0\r\nLocation: " + ftp + "\r\n\r\n" },
          "installer.bin",
          0,
          scheme ("ftp", ftp) + " 1" },
        { { found + "Location: " + ftp + "\r\nContent-Length: 0\r\n\r\n" },
          "installer.bin",
          0,
          scheme ("ftp", ftp) + " 1" },
        { movedTo ("Location: /moved/installer.bin"),
          "installer.bin",
          1000,
          "ok 2",
          {},
          "GET /moved/installer.bin HTTP/1.1" },
        { movedTo ("Server: x\r\nlocation: /lower/installer.bin"),
          "installer.bin",
          1000,
          "ok 2",
          {},
          "GET /lower/installer.bin HTTP/1.1" },
        // Raw bytes in a Location are sent percent-encoded, each byte once.
        { movedTo ("Server: x\r\nLocation: /moved dir/installer.bin"),
          "installer.bin",
          1000,
          "ok 2",
          {},
          "GET /moved%20dir/installer.bin HTTP/1.1" },
        { movedTo ("Server: x\r\nLocation: /\xe5\x8b\x95\xe3\x81\x8f/installer.bin"),
          "installer.bin",
          1000,
          "ok 2",
          {},
          "GET /%E5%8B%95%E3%81%8F/installer.bin HTTP/1.1" },
        { { redirect ("302 Found", "Location: " + relay.getUrl ("http", "/x/y/").toStdString()) },
          "installer.bin",
          1000,
          "ok 1",
          {},
          "GET /files/installer.bin HTTP/1.1" },
        // Each redirect status is followed (302 above). The statuses beside them are no redirect:
        // they fail as their status, a client error tried four times.
        { movedTo ("Location: /301/installer.bin", "301 Moved Permanently"),
          "installer.bin",
          1000,
          "ok 2",
          {},
          "GET /301/installer.bin HTTP/1.1" },
        { movedTo ("Location: /303/installer.bin", "303 See Other"),
          "installer.bin",
          1000,
          "ok 2",
          {},
          "GET /303/installer.bin HTTP/1.1" },
        { movedTo ("Location: /307/installer.bin", "307 Temporary Redirect"),
          "installer.bin",
          1000,
          "ok 2",
          {},
          "GET /307/installer.bin HTTP/1.1" },
        { movedTo ("Location: /308/installer.bin", "308 Permanent Redirect"),
          "installer.bin",
          1000,
          "ok 2",
          {},
          "GET /308/installer.bin HTTP/1.1" },
        { { redirect ("300 Multiple Choices", "Location: /300/installer.bin") },
          "installer.bin",
          1000,
          "ClientError: HTTP error code 300 4",
          {},
          "GET /files/installer.bin HTTP/1.1" },
        { { redirect ("304 Not Modified", "Location: /304/installer.bin") },
          "installer.bin",
          1000,
          "ClientError: HTTP error code 304 4",
          {},
          "GET /files/installer.bin HTTP/1.1" },
        { { redirect ("309 Moved", "Location: /309/installer.bin") },
          "installer.bin",
          1000,
          "ClientError: HTTP error code 309 4",
          {},
          "GET /files/installer.bin HTTP/1.1" },
        { { head + "Content-Length: 0\r\n\r\n" },
          "installer.bin",
          3145728,
          "ServerError: download size mismatch: received 0 bytes, expected 3145728 1" },
        { { head + "Content-Length: 0\r\n\r\n" },
          "installer.bin",
          0,
          "ServerError: download is empty 1" },
        // An encoding label on bytes of the update server's size is no encoding.
        { { head + "Content-Encoding: gzip\r\n" + sized + body }, "installer.bin", 1000, "ok 1" },
        { { head + "Content-Encoding:gzip\r\n" + sized + body },
          "installer.bin",
          0,
          "ServerError: response body is content-encoded (`gzip`) 1" },
        { { "HTTP/1.1 200 OK\r\nContent-Encoding: gzip\r\n" + sized + body },
          "installer.bin",
          0,
          "ServerError: response body is content-encoded (`gzip`) 1" },
        { { "HTTP/1.1 200 OK\r\nContent-Encoding: gzip\r\n" + sized + body },
          "installer.bin",
          900,
          "ServerError: download size mismatch: received 1000 bytes, expected 900 1" },
        { { head + "Connection: close\r\n\r\n" + body },
          "installer.bin",
          900,
          "ServerError: download size mismatch: received 1000 bytes, expected 900 1" },
        { { head + "Content-Length: 1048576\r\nContent-Length: 1000\r\n\r\n" + body },
          "installer.bin",
          0,
          "ServerError: response has conflicting lengths (`Content-Length: 1048576,1000`) 1" },
        { { head + "Content-Length: 1000\r\ncontent-length:1000\r\n\r\n" + body },
          "installer.bin",
          0,
          "ok 1" },
        { { head + sized + body }, ".bashrc", 1000, unsafe + ".bashrc` 0" },
        { { head + sized + body },
          "LarkspireSetup\u202enib.exe",
          1000,
          unsafe + "LarkspireSetup?nib.exe` 0" },
        // A format character sent as a pair of escapes, joined by the update request.
        { { version, answer (R"({"downloadLinks":[")" +
                             other.getUrl ("http", R"(/Setup\ud834\udd73.bin)").toStdString() +
                             R"("],"totalSize":1000})") },
          "Setup\U0001d173.bin",
          1000,
          unsafe + "Setup?.bin` 2",
          {},
          {},
          true },
        { { head + sized + body },
          longName,
          1000,
          "ServerError: installer file name `" + longName.substr (0, 80) +
              "\xe2\x80\xa6` is longer than 255 bytes 0" },
        { { head + sized + body },
          "installer.bin",
          1000,
          "ok 1",
          "HTTP://127.0.0.1:{}/installer.bin" },
        // Every one of repeated header lines counts, in any letter case and spacing.
        { { head + "Content-Encoding: identity\r\nContent-Encoding:gzip\r\n" + sized + body },
          "installer.bin",
          0,
          "ServerError: response body is content-encoded (`identity,gzip`) 1" },
        { { head + "Content-Length: 1000\r\ncontent-length:5\r\n\r\n" + body },
          "installer.bin",
          0,
          "ServerError: response has conflicting lengths (`Content-Length: 1000,5`) 1" },
        { { head + "Content-Length: 1000\r\ncontent-length:5\r\n\r\n" + body },
          "installer.bin",
          5,
          "ServerError: response has conflicting lengths (`Content-Length: 1000,5`) 1" },
        { { head + "Content-Length: 1048576\r\nContent-Length: 1000\r\n\r\n" + body },
          "installer.bin",
          1000,
          "ServerError: response has conflicting lengths (`Content-Length: 1048576,1000`) 1" },
        // Locations that differ lead nowhere; identical ones are one.
        { movedTo ("Location: /moved/a/installer.bin\r\nLocation: /moved/b/installer.bin"),
          "installer.bin", 1000, conflicting ("/moved/a/installer.bin,/moved/b/installer.bin") },
        { movedTo ("Location:/moved/a/installer.bin\r\nlocation:/moved/A/installer.bin"),
          "installer.bin", 1000, conflicting ("/moved/a/installer.bin,/moved/A/installer.bin") },
        { movedTo ("Location: " + toOther + "\r\nLocation: " + toElsewhere), "installer.bin", 1000,
          conflicting (toOther + "," + toElsewhere) },
        { movedTo ("Location: /moved/installer.bin\r\nLOCATION:/moved/installer.bin  "),
          "installer.bin",
          1000,
          "ok 2",
          {},
          "GET /moved/installer.bin HTTP/1.1" },
        { movedTo ("Location: \r\nLocation: /moved/installer.bin"), "installer.bin", 1000,
          conflicting (",/moved/installer.bin") },
        // A line that starts with a space or tab continues the header before it: no header of
        // its own, and part of that value.
        { { redirect ("302 Found", "X-Note: a\r\n Location: /moved/installer.bin") },
          "installer.bin",
          1000,
          "ClientError: HTTP error code 302 4",
          {},
          "GET /files/installer.bin HTTP/1.1" },
        { movedTo ("Location: /moved/\r\n installer.bin"),
          "installer.bin",
          1000,
          "ok 2",
          {},
          "GET /moved/%20installer.bin HTTP/1.1" },
        { { head + "Content-Length: 1000\r\n\t5\r\n\r\n" + body },
          "installer.bin",
          0,
          "ServerError: response has an invalid length (`Content-Length: 1000 5`) 1" },
        // A bare CR ends no line: it reads as a space.
        { movedTo ("Location: /moved/\rinstaller.bin"),
          "installer.bin",
          1000,
          "ok 2",
          {},
          "GET /moved/%20installer.bin HTTP/1.1" },
        { { head + "Content-Length: 1000\r5\r\n\r\n" + body },
          "installer.bin",
          0,
          "ServerError: response has an invalid length (`Content-Length: 1000 5`) 1" },
        { movedTo ("Location: /a,b/installer.bin"),
          "installer.bin",
          1000,
          "ok 2",
          {},
          "GET /a,b/installer.bin HTTP/1.1" },
        // A chunked body is held to its Content-Length, however it ends.
        { { chunked ("0") }, "installer.bin", 0, mismatch ("0") },
        { { chunked ("1048576") }, "installer.bin", 0, mismatch ("1048576") },
        { { chunked ("1048576") }, "installer.bin", 1000, mismatch ("1048576") },
        { { chunked ("999") }, "installer.bin", 1000, mismatch ("999") },
        { { chunked ("1000") }, "installer.bin", 0, "ok 1" },
        { { chunked ("1000") }, "installer.bin", 1000, "ok 1" },
        // One length repeated inside a line is that length.
        { { head + "Content-Length: 1000, 1000\r\n\r\n" + body }, "installer.bin", 0, "ok 1" },
        // A length that is no plain number, or too large for any body.
        { { chunked ("+1000") },
          "installer.bin",
          1000,
          "ServerError: response has an invalid length (`Content-Length: +1000`) 1" },
        { { head + "Content-Length: 1000abc\r\n\r\n" + body },
          "installer.bin",
          1000,
          "ServerError: response has an invalid length (`Content-Length: 1000abc`) 1" },
        // The largest 64-bit length, which rounds past 64 bits as a double, either way.
        { { chunked ("9223372036854775807") },
          "installer.bin",
          0,
          "ServerError: file is too large 1" },
        { { head + "Content-Length: 9223372036854775807\r\n\r\n" + body },
          "installer.bin",
          0,
          "ServerError: file is too large 1" },
        { { head + "Content-Length: 9223372036854775808\r\n\r\n" + body },
          "installer.bin",
          1000,
          "ServerError: file is too large 1" },
        { { chunked ("1234567890123456789012345") },
          "installer.bin",
          0,
          "ServerError: file is too large 1" },
    };
    for (const auto& row : rows)
    {
        SCOPED_TRACE (row.expected.substr (0, 100) + " " + row.sent);
        const ScriptedServer server (row.answers);
        const TemporaryFolder folder;
        const auto destination =
            folder.get().getChildFile (juce::String::fromUTF8 (row.name.c_str()));
        const auto hadOld = destination.replaceWithText ("old installer");
        auto link =
            (row.link.isEmpty() ? server.getUrl ("http", "/files/" + destination.getFileName())
                                : row.link.replace ("{}", juce::String (server.getPort())))
                .toStdString();
        if (row.linkFromAnswers)
        {
            const testing_support::ScopedEnvironment address (
                "LARKSPIRE_UPDATE_SERVER", server.getUrl ("http", "").toStdString());
            link = fetchCharacterUpdateInfo (AsyncControlBlock(), [] (auto...) {})->downloadLink;
        }

        const auto outcome = testing_support::outcomeOf (
            [&]
            {
                downloadInstaller (destination.getFullPathName().toStdString(), link, row.totalSize,
                                   AsyncControlBlock(), [] (auto...) {});
            });
        EXPECT_EQ (outcome + " " + std::to_string (server.getConnectionCount()), row.expected);
        EXPECT_EQ (other.getConnectionCount(), 0) << other.getReceived();
        EXPECT_EQ (elsewhere.getConnectionCount(), 0) << elsewhere.getReceived();
        if (! row.sent.empty())
        {
            const auto received = server.getReceived();
            const auto lastRequest = received.substr (received.rfind ("GET "));
            EXPECT_EQ (lastRequest.substr (0, lastRequest.find ("\r\n")), row.sent);
        }
        if (hadOld)
        {
            EXPECT_EQ (destination.loadFileAsString(),
                       outcome == "ok" ? juce::String (body) : juce::String ("old installer"));
        }
        EXPECT_EQ (folder.get().getNumberOfChildFiles (juce::File::findFilesAndDirectories),
                   hadOld ? 1 : 0);
    }

    // The cross-host row's second hop, and where its relative Location led.
    EXPECT_EQ (requestLines (relay.getReceived()),
               "GET /x/y/ HTTP/1.1|GET /x/z/installer.bin HTTP/1.1");
}
