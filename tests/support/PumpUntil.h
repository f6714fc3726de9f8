#pragma once

#include <functional>

namespace testing_support
{
/** Runs the JUCE message loop until predicate holds or timeoutMs has passed; whether it held.
    Tests wait with this instead of sleeping. */
bool pumpUntil (const std::function<bool()>& predicate, int timeoutMs = 10000);
/** Runs the message loop for about the given time, for "nothing more arrives" checks. */
void pumpFor (int milliseconds);
} // namespace testing_support
