#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

#include <memory>
#include <variant>

/** The one window: the system's title bar around the MainComponent singleton (not owned).
    A process-wide singleton; the first getInstance builds, shows and raises it. */
class MainWindow final : public juce::DocumentWindow
{
public:
    MainWindow();
    ~MainWindow() override;

    /** Asks the application to quit; shutdown deletes the window later. */
    void closeButtonPressed() override;

    /** Brings the window to the front from a posted call, which does nothing once the window
        is gone. */
    void requestToFront();

    JUCE_DECLARE_SINGLETON (MainWindow, false)

private:
    std::shared_ptr<std::monostate> aliveToken;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (MainWindow)
};
