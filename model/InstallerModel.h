#pragma once

#include "model/LanguageEntry.h"
#include "model/LarkspireCharacterInfo.h"
#include "net/LarkspireCharacterUpdateInfo.h"
#include "tasks/TaskSlot.h"

#include <juce_gui_basics/juce_gui_basics.h>

#include <cstdint>
#include <exception>
#include <memory>
#include <string>
#include <vector>

/** The installer's one model: a process-wide singleton, created on first use and read and
    written only on the message thread. The pages use its members directly. */
class InstallerModel final
{
public:
    /** Bits of outcomeFlags. */
    enum OutcomeFlag : std::uint32_t
    {
        downloadSucceeded = 1u << 0,
        userCancelled = 1u << 18
    };

    InstallerModel();

    /** Cancels a running update check and waits, at most 2 s, for every background thread to
        end (see BackgroundThreads). */
    ~InstallerModel();

    /** Makes entry current for juce::translate; does nothing when it already is. */
    void setLanguage (const LanguageEntry* entry);

    /** Starts the update check unless one is running or one has already succeeded. */
    void requestRunInfoCheck();
    bool isRunInfoCheckFinished() const noexcept;
    bool isRunInfoCheckIdle() const noexcept;

    std::string productName;
    std::unique_ptr<juce::Drawable> logo;
    std::unique_ptr<juce::Drawable> languageIcon;
    std::vector<LanguageEntry> languages;
    const LanguageEntry* currentLanguage = nullptr;
    juce::String downloadFolder;
    juce::String installerPath;
    std::shared_ptr<LarkspireCharacterInfo> installedProduct;
    std::shared_ptr<const LarkspireCharacterUpdateInfo> updateInfo;
    TaskSlot updateTask;
    std::uint32_t outcomeFlags = 0;
    std::exception_ptr lastError;

    JUCE_DECLARE_SINGLETON (InstallerModel, true)
    JUCE_DECLARE_NON_COPYABLE (InstallerModel)
};
