#include "support/DevServer.h"
#include "support/PumpUntil.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <thread>

namespace
{
bool answersOn (int port)
{
    juce::StreamingSocket socket;
    return socket.connect ("127.0.0.1", port, 1000);
}

/** A test process that crashes, here a child of this one killed outright, takes its server
    with it, also when the thread that started the server had ended before. */
TEST (DevServer, EndsWithTheTestProcessThatStartedIt)
{
    const juce::String marker ("server port: ");

    if (std::getenv ("LARKSPIRE_DEVSERVER_TEST_CHILD") != nullptr)
    {
        std::unique_ptr<testing_support::DevServer> server;
        std::thread ([&server] { server = std::make_unique<testing_support::DevServer>(); }).join();
        const auto port = server->getBaseUrl().fromLastOccurrenceOf (":", false, false);
        if (answersOn (port.getIntValue()))
            std::printf ("\n%s%s\n", marker.toRawUTF8(), port.toRawUTF8());
        std::fflush (stdout);
        std::raise (SIGKILL);
    }

    juce::ChildProcess child;
    ASSERT_TRUE (child.start (
        { "env", "LARKSPIRE_DEVSERVER_TEST_CHILD=1",
          juce::File::getSpecialLocation (juce::File::currentExecutableFile).getFullPathName(),
          "--gtest_filter=DevServer.EndsWithTheTestProcessThatStartedIt" }));
    juce::String output;
    for (char c = 0; ! output.contains (marker) || c != '\n';)
        if (child.readProcessOutput (&c, 1) == 1)
            output += c;
        else
            break;
    const auto port = output.fromLastOccurrenceOf (marker, false, false).getIntValue();
    ASSERT_GT (port, 0) << output;
    ASSERT_TRUE (child.waitForProcessToFinish (10000));

    EXPECT_TRUE (testing_support::pumpUntil ([port] { return ! answersOn (port); }))
        << "the server on port " << port << " outlived its test process";
}
} // namespace
