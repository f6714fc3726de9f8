#pragma once

#include <juce_events/juce_events.h>

#include <functional>

namespace testing_support
{
/** Runs the message loop for about the given time, for "nothing more arrives" checks. */
inline void pumpFor (int milliseconds)
{
    juce::MessageManager::getInstance()->runDispatchLoopUntil (milliseconds);
}

/** Runs the JUCE message loop until predicate holds or timeoutMs has passed; whether it held.
    Tests wait with this instead of sleeping. */
inline bool pumpUntil (const std::function<bool()>& predicate, int timeoutMs = 10000)
{
    const auto deadline = juce::Time::getMillisecondCounterHiRes() + timeoutMs;
    while (! predicate())
    {
        if (juce::Time::getMillisecondCounterHiRes() >= deadline)
            return predicate();
        pumpFor (5);
    }
    return true;
}
} // namespace testing_support
