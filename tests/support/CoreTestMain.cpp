#include <gtest/gtest.h>
#include <juce_events/juce_events.h>

#include "net/DownloadInstaller.h"
#include "support/OutcomeText.h"
#include "support/RunAllTests.h"
#include "tasks/BackgroundThreads.h"

// Headless: a message manager (for posted callbacks) but no display. "--download DESTINATION
// LINK" prints the outcome of that download instead, for a test in a private mount namespace.
int main (int argc, char** argv)
{
    if (argc == 4 && std::string (argv[1]) == "--download")
    {
        const auto run = [&]
        { downloadInstaller (argv[2], argv[3], 0, AsyncControlBlock(), [] (auto...) {}); };
        return std::puts (testing_support::outcomeOf (run).c_str()) < 0;
    }

    testing::InitGoogleTest (&argc, argv);

    juce::MessageManager::getInstance();
    const auto result = testing_support::runAllTestsRequiringSome();
    // As the program does at shutdown: no thread of a test may run on into the exit.
    if (! BackgroundThreads::get().waitForAll (2000))
    {
        std::puts ("a background thread ran on after the tests");
        return 1;
    }
    juce::DeletedAtShutdown::deleteAll();
    juce::MessageManager::deleteInstance();
    return result;
}
