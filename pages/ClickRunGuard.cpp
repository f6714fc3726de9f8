#include "pages/ClickRunGuard.h"

ClickRunGuard::ClickRunGuard (juce::Button& buttonToWatch)
    : button (&buttonToWatch)
{
    buttonToWatch.addMouseListener (this, false);
}

ClickRunGuard::~ClickRunGuard()
{
    if (button != nullptr)
        button->removeMouseListener (this);
}

void ClickRunGuard::buttonAppeared() noexcept
{
    clicksOfPress = 0;
    runBeganElsewhere = true;
}

bool ClickRunGuard::continuesEarlierRun() const noexcept
{
    return clicksOfPress > 1 && runBeganElsewhere;
}

bool ClickRunGuard::continuesRun() const noexcept
{
    return clicksOfPress > 1;
}

void ClickRunGuard::mouseDown (const juce::MouseEvent& event)
{
    clicksOfPress = event.getNumberOfClicks();

    if (clicksOfPress == 1)
        runBeganElsewhere = false;
}

void ClickRunGuard::mouseUp (const juce::MouseEvent&)
{
    clicksOfPress = 0;
}
