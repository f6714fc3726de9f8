#pragma once

#include "look/FernwaveTheme.h"

#include <juce_gui_basics/juce_gui_basics.h>

/** The application object: puts font, look-and-feel, model and window together at start-up
    and deletes window, component and model, in that order, at shutdown. */
class larkspiredownloaderApplication final : public juce::JUCEApplication
{
public:
    larkspiredownloaderApplication();
    ~larkspiredownloaderApplication() override;

    const juce::String getApplicationName() override;
    const juce::String getApplicationVersion() override;
    bool moreThanOneInstanceAllowed() override;
    void initialise (const juce::String& commandLine) override;
    void shutdown() override;
    void anotherInstanceStarted (const juce::String& commandLine) override;
    void systemRequestedQuit() override;
    void memoryWarningReceived() override;
    bool backButtonPressed() override;

private:
    FernwaveTheme theme;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (larkspiredownloaderApplication)
};
