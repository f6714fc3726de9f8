#pragma once

#include "support/DevServer.h"
#include "support/TemporaryFolder.h"

#include <juce_core/juce_core.h>

#include <gtest/gtest.h>

#include <cstdlib>

namespace testing_support
{
/** The model is built at most once per process, so a test that builds it runs again in a child
    process of this test binary: with a temporary home, no installed editor and an update server
    that refuses connections. True in that child, which goes on with the test; in the parent,
    runs the child (env's own arguments first, such as "-u" NAME or NAME=VALUE, then the tests
    that filter selects) and expects it to pass, and gives false. */
inline bool inModelChildProcess (const juce::StringArray& envArguments, const juce::String& filter)
{
    const char* marker = "LARKSPIRE_MODEL_TEST_CHILD";
    if (std::getenv (marker) != nullptr)
        return true;

    const TemporaryFolder home;
    juce::StringArray command { "env" };
    command.addArray (envArguments);
    command.addArray (
        { juce::String (marker) + "=1", "HOME=" + home.get().getFullPathName(),
          "LARKSPIRE_APPLICATIONS_DIR=" + home.get().getFullPathName(),
          "LARKSPIRE_UPDATE_SERVER=http://127.0.0.1:" + juce::String (DevServer::getClosedPort()),
          juce::File::getSpecialLocation (juce::File::currentExecutableFile).getFullPathName(),
          "--gtest_filter=" + filter });

    juce::ChildProcess child;
    if (! child.start (command))
    {
        ADD_FAILURE() << "the test's child process did not start";
        return false;
    }
    const auto output = child.readAllProcessOutput();
    EXPECT_TRUE (child.waitForProcessToFinish (60000)) << output;
    EXPECT_EQ (child.getExitCode(), 0u) << output;
    return false;
}
} // namespace testing_support
