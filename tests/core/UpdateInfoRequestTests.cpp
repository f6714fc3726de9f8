#include "net/FetchCharacterUpdateInfo.h"
#include "net/UpdateServer.h"
#include "support/DevServer.h"
#include "support/OutcomeText.h"
#include "support/ScopedEnvironment.h"

#include <gtest/gtest.h>

using testing_support::DevServer;

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
    AsyncControlBlock control;
    control.flags = cancelledBefore ? AsyncControlBlock::cancelledBit : 0;
    std::string text;
    const auto onNotice = [&] (double done, double total, std::string notice)
    {
        text += std::to_string ((int) done) + "/" + std::to_string ((int) total) + notice + " ";
        control.flags |= cancelAtNotice ? AsyncControlBlock::cancelledBit : 0;
    };
    std::shared_ptr<const LarkspireCharacterUpdateInfo> info;
    text += "=> " + testing_support::outcomeOf (
                        [&] { info = fetchCharacterUpdateInfo (control, onNotice); });
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
    const std::pair<std::vector<std::string>, std::string> rows[] {
        // A client error on the second request repeats the pair; server errors are not retried.
        { { "--links-status", "404", "--links-fail-times", "1", "--version-string", "3.1.4",
            "--version-number", "30104", "--link", "s.bin", "--total-size", "123456789012" },
          "1/3 => ok 30104|3.1.4|s.bin|123456789012 (2+2)" },
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
        // Present is enough, whatever the type: values are converted.
        { { "--version-body",
            R"({"latestVersionNumber":"12","latestVersionString":null,"minEditorVersion":[]})",
            "--links-body", R"({"downloadLinks":[5],"totalSize":"77"})" },
          "=> ok 12||5|77 (1+1)" },
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

    started = juce::Time::getMillisecondCounter();
    EXPECT_EQ (request (refusing, false, true),
               "1/3 => TaskCancelledError: async task is cancelled (5+0)");
    EXPECT_LT (juce::Time::getMillisecondCounter() - started, 800u); // not the whole pause
    EXPECT_EQ (request (DevServer(), true), "=> TaskCancelledError: async task is cancelled (1+0)");
}
