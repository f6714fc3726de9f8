#include "net/FetchCharacterUpdateInfo.h"
#include "net/UpdateServer.h"
#include "support/DevServer.h"
#include "support/OutcomeText.h"
#include "support/ScopedEnvironment.h"

#include <gtest/gtest.h>

using testing_support::DevServer;
using testing_support::ScopedEnvironment;

namespace
{
const juce::String versionPath = "/api/v1/version-info";
const juce::String linksPath = "/api/v1/download-links";

/** Runs the request against baseUrl: the retry notices, then "=> " and the result
    ("number|string|link|totalSize") or the error. cancelOnNotice sets the cancel flag at the
    first notice, as a user closing the window during the pause would. */
std::string request (const juce::String& baseUrl, bool cancelledBefore = false,
                     bool cancelOnNotice = false)
{
    ScopedEnvironment server ("LARKSPIRE_UPDATE_SERVER", baseUrl.toStdString());
    AsyncControlBlock control;
    control.flags = cancelledBefore ? AsyncControlBlock::cancelledBit : 0;
    std::string text;
    const auto progress = [&] (double done, double total, std::string notice)
    {
        text += std::to_string ((int) done) + "/" + std::to_string ((int) total) + notice + " ";
        if (cancelOnNotice)
            control.flags |= AsyncControlBlock::cancelledBit;
    };
    std::shared_ptr<const LarkspireCharacterUpdateInfo> info;
    const auto outcome =
        testing_support::outcomeOf ([&] { info = fetchCharacterUpdateInfo (control, progress); });
    if (info == nullptr)
        return text + "=> " + outcome;
    return text + "=> " + std::to_string (info->latestVersionNumber) + "|" +
           info->latestVersionString + "|" + info->downloadLink + "|" +
           std::to_string (info->totalSize);
}
} // namespace

TEST (UpdateInfoRequest, ReadsBothAnswersWithProductAndPlatform)
{
    DevServer server ({ "--version-string", "3.1.4", "--version-number", "30104", "--total-size",
                        "123456789012" });
    EXPECT_EQ (request (server.getBaseUrl()),
               "=> 30104|3.1.4|" +
                   server.getUrl ("/files/LarkspireEditorSetup-3.1.4.bin").toStdString() +
                   "|123456789012");

    const auto query =
        "platform=" + juce::String (UpdateServer::getPlatformId()) + "&product=LarkspireEditor";
    for (const auto& path : { versionPath, linksPath })
    {
        EXPECT_EQ (server.getLastQuery (path), query);
        EXPECT_EQ (server.getRequestCount (path), 1);
    }
}

TEST (UpdateInfoRequest, ClientErrorsRepeatThePairWithANoticeBeforeEachRetry)
{
    const auto started = juce::Time::getMillisecondCounter();
    EXPECT_EQ (request ("http://127.0.0.1:" + juce::String (DevServer::getClosedPort())),
               "1/3 2/3 3/3 => ClientError: HTTP error code 0");
    EXPECT_GE (juce::Time::getMillisecondCounter() - started, 2900u); // three 1 s pauses

    DevServer server (
        { "--links-status", "404", "--links-fail-times", "1", "--version-number", "5" });
    EXPECT_EQ (
        juce::String (request (server.getBaseUrl())).upToFirstOccurrenceOf ("|", false, false),
        "1/3 => 5");
    EXPECT_EQ (server.getRequestCount (versionPath), 2);
    EXPECT_EQ (server.getRequestCount (linksPath), 2);
}

TEST (UpdateInfoRequest, CancelStopsInThePauseOrAtTheFirstAnswer)
{
    DevServer refusing ({ "--version-status", "404" });
    const auto started = juce::Time::getMillisecondCounter();
    EXPECT_EQ (request (refusing.getBaseUrl(), false, true),
               "1/3 => TaskCancelledError: async task is cancelled");
    EXPECT_LT (juce::Time::getMillisecondCounter() - started, 800u);
    EXPECT_EQ (refusing.getRequestCount (versionPath), 1);

    DevServer answering;
    EXPECT_EQ (request (answering.getBaseUrl(), true),
               "=> TaskCancelledError: async task is cancelled");
    EXPECT_EQ (answering.getRequestCount (versionPath), 1);
    EXPECT_EQ (answering.getRequestCount (linksPath), 0);
}

TEST (UpdateInfoRequest, AnswerTable)
{
    const std::string okLinks = R"({"downloadLinks":["setup.bin"],"totalSize":5})";
    // Without retry notices: the expected error, or "number|string|link|totalSize".
    const std::vector<std::pair<std::vector<std::string>, std::string>> rows {
        // Server errors are not retried.
        { { "--version-status", "503" }, "HttpError: HTTP error code 503" },
        { { "--links-status", "500" }, "HttpError: HTTP error code 500" },
        { { "--version-body", "[1,2]" }, "ServerError: missing latestVersionNumber" },
        { { "--version-body", "not json" }, "ServerError: missing latestVersionNumber" },
        { { "--version-body", "" }, "ServerError: missing latestVersionNumber" },
        { { "--omit", "latestVersionString" }, "ServerError: missing latestVersionString" },
        { { "--omit", "minEditorVersion" }, "ServerError: missing minEditorVersion" },
        { { "--omit", "downloadLinks" }, "ServerError: missing downloadLinks" },
        { { "--omit", "totalSize" }, "ServerError: missing totalSize" },
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

    for (const auto& [options, expected] : rows)
    {
        DevServer server (options);
        EXPECT_EQ (request (server.getBaseUrl()), "=> " + expected) << options.back();
        EXPECT_EQ (server.getRequestCount (versionPath), 1) << options.back();
    }
}

TEST (UpdateServerAddress, ComesFromTheEnvironmentOrTheDefault)
{
    for (const auto& unsetOrEmpty :
         { std::optional<std::string>(), std::optional<std::string> ("") })
    {
        ScopedEnvironment variable ("LARKSPIRE_UPDATE_SERVER", unsetOrEmpty);
        EXPECT_EQ (UpdateServer::getBaseAddress(), "https://update.larkspire.example");
    }
    ScopedEnvironment set ("LARKSPIRE_UPDATE_SERVER", "http://127.0.0.1:1234/");
    EXPECT_EQ (UpdateServer::getVersionInfoUrl().toString (false),
               "http://127.0.0.1:1234/api/v1/version-info");
    EXPECT_EQ (UpdateServer::getDownloadLinksUrl().toString (false),
               "http://127.0.0.1:1234/api/v1/download-links");
}
