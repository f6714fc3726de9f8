#include "net/InterruptibleWebInputStream.h"

InterruptibleWebInputStream::InterruptibleWebInputStream (const juce::URL& url,
                                                          const AsyncControlBlock& controlBlock)
    : juce::WebInputStream (url, false)
    , control (controlBlock)
{
    // WebInputStream::cancel may come from another thread: JUCE's curl backend takes its own
    // lock for it, and a connect or read in progress then ends at its next step.
    control.setInterruption ([this] { cancel(); });
}

InterruptibleWebInputStream::~InterruptibleWebInputStream()
{
    control.clearInterruption();
}
