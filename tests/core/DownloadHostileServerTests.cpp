#include "net/DownloadInstaller.h"
#include "net/FetchCharacterUpdateInfo.h"
#include "support/OutcomeText.h"
#include "support/ScopedEnvironment.h"
#include "support/ScriptedServer.h"
#include "support/TemporaryFolder.h"

#include <gtest/gtest.h>

using testing_support::ScriptedServer;
using testing_support::TemporaryFolder;

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

    // A redirect (its Location first, as plain Node.js servers send it, or later, in any
    // letter case) to a path of the same server, which then sends the installer.
    const auto movedTo = [&] (const std::string& location)
    {
        return std::vector<std::string> { found + location + "\r\nContent-Length: 0\r\n\r\n",
                                          head + sized + body };
    };

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
    };
    for (const auto& row : rows)
    {
        SCOPED_TRACE (row.expected.substr (0, 100));
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
}
