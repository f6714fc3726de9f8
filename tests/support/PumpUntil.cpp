#include "support/PumpUntil.h"

#include <juce_events/juce_events.h>

namespace testing_support
{
bool pumpUntil (const std::function<bool()>& predicate, int timeoutMs)
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

void pumpFor (int milliseconds)
{
    juce::MessageManager::getInstance()->runDispatchLoopUntil (milliseconds);
}
} // namespace testing_support
