#include <gtest/gtest.h>
#include <juce_events/juce_events.h>

#include "support/RunAllTests.h"

// Headless: a message manager (for posted callbacks) but no display and no desktop.
int main (int argc, char** argv)
{
    testing::InitGoogleTest (&argc, argv);

    juce::MessageManager::getInstance();
    const auto result = testing_support::runAllTestsRequiringSome();
    juce::DeletedAtShutdown::deleteAll();
    juce::MessageManager::deleteInstance();
    return result;
}
