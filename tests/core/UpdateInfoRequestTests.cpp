#include "net/FetchCharacterUpdateInfo.h"
#include "net/UpdateServer.h"
#include "support/DevServer.h"
#include "support/ScopedEnvironment.h"
#include "tasks/ClientError.h"
#include "tasks/HttpError.h"
#include "tasks/TaskCancelledError.h"

#include <gtest/gtest.h>

#include <optional>

using testing_support::DevServer;
using testing_support::ScopedEnvironment;

namespace
{
const juce::String versionPath = "/api/v1/version-info";
const juce::String linksPath = "/api/v1/download-links";

struct Outcome
{
    std::shared_ptr<const LarkspireCharacterUpdateInfo> info;
    std::string error; // "<class>: <message>" when the request failed
    std::vector<std::string> notices;
};

/** Runs the request against baseUrl; cancelOnNotice sets the cancel flag at the first
    retry notice, as a user closing the window during the pause would. */
Outcome request (const juce::String& baseUrl, bool cancelledBefore = false,
                 bool cancelOnNotice = false)
{
    ScopedEnvironment server ("LARKSPIRE_UPDATE_SERVER", baseUrl.toStdString());
    AsyncControlBlock control;
    if (cancelledBefore)
        control.flags = AsyncControlBlock::cancelledBit;

    Outcome outcome;
    const auto progress = [&] (double done, double total, std::string text)
    {
        outcome.notices.push_back (std::to_string ((int) done) + "/" +
                                   std::to_string ((int) total) + text);
        if (cancelOnNotice)
            control.flags |= AsyncControlBlock::cancelledBit;
    };

    try
    {
        outcome.info = fetchCharacterUpdateInfo (control, progress);
    }
    catch (const HttpError& e)
    {
        outcome.error = std::string ("HttpError: ") + e.what();
    }
    catch (const ServerError& e)
    {
        outcome.error = std::string ("ServerError: ") + e.what();
    }
    catch (const ClientError& e)
    {
        outcome.error = std::string ("ClientError: ") + e.what();
    }
    catch (const TaskCancelledError& e)
    {
        outcome.error = std::string ("TaskCancelledError: ") + e.what();
    }
    return outcome;
}

const std::vector<std::string> threeNotices { "1/3", "2/3", "3/3" };
} // namespace

TEST (UpdateInfoRequest, ReadsBothAnswersWithProductAndPlatform)
{
    DevServer server ({ "--version-string", "3.1.4", "--version-number", "30104", "--total-size",
                        "123456789012" });
    const auto outcome = request (server.getBaseUrl());

    ASSERT_NE (outcome.info, nullptr) << outcome.error;
    EXPECT_EQ (outcome.info->latestVersionString, "3.1.4");
    EXPECT_EQ (outcome.info->latestVersionNumber, 30104);
    EXPECT_EQ (outcome.info->totalSize, 123456789012);
    EXPECT_EQ (juce::String (outcome.info->downloadLink),
               server.getUrl ("/files/LarkspireEditorSetup-3.1.4.bin"));
    EXPECT_TRUE (outcome.notices.empty());

    const auto query =
        "platform=" + juce::String (UpdateServer::getPlatformId()) + "&product=LarkspireEditor";
    EXPECT_EQ (server.getLastQuery (versionPath), query);
    EXPECT_EQ (server.getLastQuery (linksPath), query);
    EXPECT_EQ (server.getRequestCount (versionPath), 1);
    EXPECT_EQ (server.getRequestCount (linksPath), 1);
}

TEST (UpdateInfoRequest, NoServerGivesFourAttemptsThreeNoticesAndStatusZero)
{
    const auto base = "http://127.0.0.1:" + juce::String (DevServer::getClosedPort());
    const auto started = juce::Time::getMillisecondCounter();
    const auto outcome = request (base);

    EXPECT_EQ (outcome.error, "ClientError: HTTP error code 0");
    EXPECT_EQ (outcome.notices, threeNotices);
    EXPECT_GE (juce::Time::getMillisecondCounter() - started, 2900u); // three 1 s pauses
}

TEST (UpdateInfoRequest, ServerErrorsAreNotRetried)
{
    for (const auto& options :
         std::vector<std::vector<std::string>> { { "--version-status", "503" },
                                                 { "--links-status", "500" },
                                                 { "--omit", "totalSize" } })
    {
        DevServer server (options);
        const auto outcome = request (server.getBaseUrl());
        EXPECT_FALSE (outcome.error.empty()) << options.front();
        EXPECT_TRUE (outcome.notices.empty()) << options.front();
        EXPECT_EQ (server.getRequestCount (versionPath), 1) << options.front();
    }
}

TEST (UpdateInfoRequest, ClientErrorOnTheSecondRequestRepeatsThePair)
{
    DevServer server ({ "--links-status", "404", "--links-fail-times", "1" });
    const auto outcome = request (server.getBaseUrl());

    ASSERT_NE (outcome.info, nullptr) << outcome.error;
    EXPECT_EQ (outcome.notices, std::vector<std::string> { "1/3" });
    EXPECT_EQ (server.getRequestCount (versionPath), 2);
    EXPECT_EQ (server.getRequestCount (linksPath), 2);
}

TEST (UpdateInfoRequest, CancelStopsInThePauseOrAtTheFirstAnswer)
{
    DevServer refusing ({ "--version-status", "404" });
    const auto started = juce::Time::getMillisecondCounter();
    const auto inPause = request (refusing.getBaseUrl(), false, true);
    EXPECT_EQ (inPause.error, "TaskCancelledError: async task is cancelled");
    EXPECT_LT (juce::Time::getMillisecondCounter() - started, 800u);
    EXPECT_EQ (refusing.getRequestCount (versionPath), 1);

    DevServer answering;
    const auto atFirstAnswer = request (answering.getBaseUrl(), true);
    EXPECT_EQ (atFirstAnswer.error, "TaskCancelledError: async task is cancelled");
    EXPECT_EQ (answering.getRequestCount (versionPath), 1);
    EXPECT_EQ (answering.getRequestCount (linksPath), 0);
}

TEST (UpdateInfoRequest, AnswerTable)
{
    struct Row
    {
        std::vector<std::string> options;
        std::string expected; // an error, or "number|string|link|totalSize"
    };

    const std::string okLinks = R"({"downloadLinks":["setup.bin"],"totalSize":5})";
    const std::vector<Row> rows {
        { { "--version-body", "[1,2]" }, "ServerError: missing latestVersionNumber" },
        { { "--version-body", "not json" }, "ServerError: missing latestVersionNumber" },
        { { "--version-body", "" }, "ServerError: missing latestVersionNumber" },
        { { "--omit", "latestVersionString" }, "ServerError: missing latestVersionString" },
        { { "--omit", "minEditorVersion" }, "ServerError: missing minEditorVersion" },
        { { "--omit", "downloadLinks" }, "ServerError: missing downloadLinks" },
        // "totalSize" is tested before the array is looked at.
        { { "--links-body", R"({"downloadLinks":"x"})" }, "ServerError: missing totalSize" },
        { { "--links-body", R"({"downloadLinks":"x","totalSize":1})" },
          "ServerError: downloadLink is not an array" },
        { { "--links-count", "0" }, "ServerError: multiple download links is not supported" },
        { { "--links-count", "2" }, "ServerError: multiple download links is not supported" },
        { { "--version-body",
            R"({"latestVersionNumber":"12","latestVersionString":null,"minEditorVersion":null})",
            "--links-body", okLinks },
          "12||setup.bin|5" },
        { { "--version-body",
            R"({"latestVersionNumber":2.9,"latestVersionString":7,"minEditorVersion":1,"x":[]})",
            "--links-body", okLinks },
          "2|7|setup.bin|5" },
        { { "--version-body",
            R"({"latestVersionNumber":null,"latestVersionString":"1","minEditorVersion":1})",
            "--links-body", R"({"downloadLinks":[5],"totalSize":"77","other":true})" },
          "0|1|5|77" },
    };

    for (const auto& row : rows)
    {
        DevServer server (row.options);
        const auto outcome = request (server.getBaseUrl());
        const auto got = outcome.info == nullptr
                             ? outcome.error
                             : std::to_string (outcome.info->latestVersionNumber) + "|" +
                                   outcome.info->latestVersionString + "|" +
                                   outcome.info->downloadLink + "|" +
                                   std::to_string (outcome.info->totalSize);
        EXPECT_EQ (got, row.expected) << row.options.back();
    }
}

TEST (UpdateServerAddress, ComesFromTheEnvironmentOrTheDefault)
{
    {
        ScopedEnvironment unset ("LARKSPIRE_UPDATE_SERVER", std::nullopt);
        EXPECT_EQ (UpdateServer::getBaseAddress(), "https://update.larkspire.example");
    }
    {
        ScopedEnvironment empty ("LARKSPIRE_UPDATE_SERVER", "");
        EXPECT_EQ (UpdateServer::getBaseAddress(), "https://update.larkspire.example");
    }
    ScopedEnvironment set ("LARKSPIRE_UPDATE_SERVER", "http://127.0.0.1:1234/");
    EXPECT_EQ (UpdateServer::getVersionInfoUrl().toString (false),
               "http://127.0.0.1:1234/api/v1/version-info");
    EXPECT_EQ (UpdateServer::getDownloadLinksUrl().toString (false),
               "http://127.0.0.1:1234/api/v1/download-links");
}
