#include "support/DevServer.h"

#include <gtest/gtest.h>

using testing_support::DevServer;

namespace
{
bool connectionRefused (int port)
{
    juce::StreamingSocket socket;
    return ! socket.connect ("127.0.0.1", port, 2000);
}
} // namespace

TEST (DevServerFixture, ServesCountsAndStopsWithItsTally)
{
    DevServer server ({ "--version-string", "9.8.7" });
    const auto body = juce::URL (server.getUrl ("/api/v1/version-info"))
                          .withParameter ("product", "LarkspireEditor")
                          .readEntireTextStream();
    EXPECT_EQ (juce::JSON::parse (body)["latestVersionString"].toString(), "9.8.7");
    EXPECT_EQ (server.getRequestCount ("/api/v1/version-info"), 1);
    EXPECT_EQ (server.getRequestCount ("/api/v1/download-links"), 0);
    EXPECT_EQ (server.getLastQuery ("/api/v1/version-info"), "product=LarkspireEditor");

    const auto output = server.stop();
    EXPECT_TRUE (output.contains ("served /api/v1/version-info 1\n")) << output;
    EXPECT_TRUE (output.endsWith ("stopped\n")) << output;
    EXPECT_TRUE (connectionRefused (server.getPort()));
    EXPECT_TRUE (connectionRefused (DevServer::getClosedPort()));
    EXPECT_THROW (DevServer ({ "--no-such-option" }), std::runtime_error);
}

TEST (DevServerFixture, StopEndsAStalledTransfer)
{
    DevServer server ({ "--file-stall-after", "1000", "--file-size", "100000" });
    juce::WebInputStream stream (juce::URL (server.getUrl ("/files/a.bin")), false);
    ASSERT_TRUE (stream.connect (nullptr));
    char buffer[1000];
    EXPECT_EQ (stream.read (buffer, sizeof (buffer)), 1000);

    const auto started = juce::Time::getMillisecondCounter();
    server.stop();
    EXPECT_LT (juce::Time::getMillisecondCounter() - started, 3000u);
}
