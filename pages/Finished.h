#pragma once

#include "pages/ClickRunGuard.h"
#include "pages/InstallerPage.h"

#include <functional>

/** Last page: reports the download's outcome, with the error's message after a failure, and
    reveals the installer in the file browser with its one button, "Open Folder": once for a
    quick run of clicks. */
class Finished final : public InstallerPage
{
public:
    Finished();
    ~Finished() override;

    void updateUI() override;

private:
    std::function<void()> openFolderAction;
    /** A double click would open the file manager twice. */
    ClickRunGuard openFolderGuard { *nextButton };

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (Finished)
};
