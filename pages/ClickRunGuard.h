#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

/** Keeps a quick run of clicks begun on one button from acting on the button that appears in its
    place: Cancel takes the place of Next, and Welcome's Next comes back in the place of Cancel,
    so the later clicks of a double or triple click on one land on the other. A mouse click that
    continues such a run (JUCE counts it as the second or a later click of a multiple click, each
    within the double-click interval of the one before) is to be ignored, however long the run
    goes on. A click that begins a new run, and a click from the keyboard or through
    accessibility, acts at once. A button whose action is not to repeat at all (Open Folder)
    ignores every later click of a run, wherever it began. */
class ClickRunGuard final : private juce::MouseListener
{
public:
    /** Listens to the mouse on the button from now on. */
    explicit ClickRunGuard (juce::Button& buttonToWatch);
    ~ClickRunGuard() override;

    /** The button has just appeared in the other's place: a run going on began there. */
    void buttonAppeared() noexcept;

    /** For the button's onClick: whether this click continues a run begun before the button
        appeared, and so is to be ignored. */
    bool continuesEarlierRun() const noexcept;

    /** For the button's onClick: whether this click continues a run, wherever it began. */
    bool continuesRun() const noexcept;

private:
    // The button's own mouseDown comes first and its onClick runs inside its mouseUp, before
    // these: the count is taken at the press and forgotten after the release.
    void mouseDown (const juce::MouseEvent& event) override;
    void mouseUp (const juce::MouseEvent& event) override;

    juce::Component::SafePointer<juce::Button> button;
    /** JUCE's click count of the press held on the button; 0 while none is, so a click that
        comes without a press is never taken for part of a run. */
    int clicksOfPress = 0;
    /** The run going on began before the button appeared; a press that begins a new run ends
        that. */
    bool runBeganElsewhere = false;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (ClickRunGuard)
};
