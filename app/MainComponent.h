#pragma once

#include "pages/InstallerPage.h"

#include <juce_gui_basics/juce_gui_basics.h>

#include <memory>
#include <vector>

/** The window's content: a header band with the product logo and the wizard's pages stacked
    below it, one visible at a time. A process-wide singleton; the window does not own it. */
class MainComponent final : public juce::Component
{
public:
    static constexpr int headerHeight = 44;

    MainComponent();
    ~MainComponent() override;

    void paint (juce::Graphics& g) override;
    void resized() override;

    /** The page at currentPageIndex. */
    InstallerPage* getCurrentPage() const;
    size_t getCurrentPageIndex() const noexcept { return currentPageIndex; }
    const std::vector<std::unique_ptr<InstallerPage>>& getPages() const noexcept { return pages; }

    /** Hides the current page, shows the next one and refreshes it; nothing on the last. */
    void showNextPage();
    /** Hides the current page, shows the previous one and refreshes it; nothing on the first. */
    void showPreviousPage();

    JUCE_DECLARE_SINGLETON (MainComponent, false)

private:
    void showPage (size_t index);

    std::vector<std::unique_ptr<InstallerPage>> pages;
    size_t currentPageIndex = 0;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (MainComponent)
};
