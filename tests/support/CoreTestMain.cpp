#include <gtest/gtest.h>
#include <juce_events/juce_events.h>

// Headless: a message manager (for posted callbacks) but no display and no desktop.
int main (int argc, char** argv)
{
    testing::InitGoogleTest (&argc, argv);

    juce::MessageManager::getInstance();
    const auto result = RUN_ALL_TESTS();
    juce::DeletedAtShutdown::deleteAll();
    juce::MessageManager::deleteInstance();
    return result;
}
