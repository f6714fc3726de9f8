#pragma once

#include "pages/ClickRunGuard.h"
#include "pages/InstallerPage.h"

#include <cstdint>
#include <memory>

class PathEditor;
class LangSelect;

/** First page: greets the user and takes the download folder and the language. Next leaves it
    only with a folder set and the update check finished; a refused press restarts a failed
    check, and the status line then follows the check until it has finished. Next comes back in
    Cancel's place: the later clicks of a double click on Cancel are ignored (ClickRunGuard). */
class Welcome final
    : public InstallerPage
    , private juce::Timer
{
public:
    Welcome();
    ~Welcome() override;

    bool canGoNext() override;
    void updateUI() override;

    /** Coalesced refresh, as InstallerPage::requestUpdateUI, with this page's own counter. */
    void requestUpdateUI();

    PathEditor& getPathEditor() const;
    LangSelect& getLangSelect() const;

private:
    void visibilityChanged() override;
    void timerCallback() override;
    juce::String folderStatus() const;
    juce::String checkStatus (const juce::String& productName) const;

    std::shared_ptr<std::uint64_t> updateRequestCounter = std::make_shared<std::uint64_t> (0);
    std::uint64_t lastHandledRequest = 0;
    bool waitingForCheck = false;
    /** Tells the later clicks of a quick run on Cancel from a click on Next. */
    ClickRunGuard nextGuard { *nextButton };

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (Welcome)
};
