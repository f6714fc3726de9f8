#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

#include <cstdint>
#include <functional>
#include <memory>

/** Base of the wizard's pages: title, description and status labels, an optional extra component
    under the description, an optional footer left of the buttons, and Next / Back.

    A page customises itself by replacing or resetting parts in its own constructor; whoever
    builds the page then calls addChildren once. The layout is the same for every page. */
class InstallerPage : public juce::Component
{
public:
    InstallerPage();
    ~InstallerPage() override;

    /** Adds the parts that are present as visible children, then lays them out. */
    void addChildren();

    /** May the Next button leave this page. */
    virtual bool canGoNext();
    /** May the Back button leave this page. */
    virtual bool canGoBack();
    /** Refills the page's texts; overrides call this first (it sets the button texts). */
    virtual void updateUI();

    /** Asks for one updateUI on the message thread, coalesced with every request made before
        it runs. Message thread only. */
    void requestUpdateUI();

    void resized() override;

    std::unique_ptr<juce::Label> titleLabel;
    std::unique_ptr<juce::Label> descriptionLabel;
    std::unique_ptr<juce::Label> statusLabel;
    std::unique_ptr<juce::Component> descriptionComponent;
    std::unique_ptr<juce::TextButton> nextButton;
    std::unique_ptr<juce::TextButton> backButton;
    std::unique_ptr<juce::Component> extraComponent;
    std::unique_ptr<juce::Component> footerComponent;
    int nextButtonWidth = 84;
    int backButtonWidth = 84;

protected:
    /** Sets a button's text only when it differs, so an unchanged text causes no repaint. */
    static void setButtonText (juce::TextButton& button, const juce::String& text);

    /** The coalescing scheme shared by every page's refresh: bumps counter and posts a call
        that runs update once unless a run already handled the latest request. The page owns
        counter; the weak pointer tells the posted call whether the page still exists. */
    static void postCoalescedUpdate (const std::shared_ptr<std::uint64_t>& counter,
                                     std::uint64_t& lastHandled, std::function<void()> update);

private:
    void nextPressed();
    void backPressed();

    std::shared_ptr<std::uint64_t> updateRequestCounter = std::make_shared<std::uint64_t> (0);
    std::uint64_t lastHandledRequest = 0;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (InstallerPage)
};
