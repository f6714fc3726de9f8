#pragma once

#include "tasks/AsyncControlBlock.h"

#include <juce_core/juce_core.h>

/** A juce::WebInputStream that a cancel of its task cuts short: a connect or read blocked on a
    silent or slow server returns within curl's next wait (at most about a second) instead of
    after the low-speed time-out. */
class InterruptibleWebInputStream final : public juce::WebInputStream
{
public:
    InterruptibleWebInputStream (const juce::URL& url, const AsyncControlBlock& control);

    /** Unregisters before the stream goes, so a cancel never reaches a destroyed stream. */
    ~InterruptibleWebInputStream() override;

private:
    const AsyncControlBlock& control;

    JUCE_DECLARE_NON_COPYABLE (InterruptibleWebInputStream)
};
