#include <gtest/gtest.h>
#include <juce_events/juce_events.h>

#include "net/DownloadInstaller.h"
#include "support/OutcomeText.h"
#include "support/RunAllTests.h"

// Headless: a message manager (for posted callbacks) but no display and no desktop.
// "--download DESTINATION LINK" prints the outcome of that download instead: a test runs it so
// in a private mount namespace.
int main (int argc, char** argv)
{
    if (argc == 4 && std::string (argv[1]) == "--download")
    {
        AsyncControlBlock control;
        std::cout << testing_support::outcomeOf (
                         [&] { downloadInstaller (argv[2], argv[3], control, [] (auto...) {}); })
                  << std::endl;
        return 0;
    }
    testing::InitGoogleTest (&argc, argv);

    juce::MessageManager::getInstance();
    const auto result = testing_support::runAllTestsRequiringSome();
    juce::DeletedAtShutdown::deleteAll();
    juce::MessageManager::deleteInstance();
    return result;
}
