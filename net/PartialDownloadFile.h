#pragma once

#include <juce_core/juce_core.h>

/** The hidden file ".<name>.<random hex>.part" beside an installer, into which a download
    writes before it replaces the installer (worker thread).

    It holds an exclusive flock on the file for as long as it lives, and a run that dies without
    cleaning up (a crash, a kill) leaves its file unlocked. So the next download of the same
    installer removes the files of dead runs and never touches one that another download, in
    this process or another copy of the wizard, is writing at that moment. */
class PartialDownloadFile final
{
public:
    /** Creates and locks a new, empty partial file for destination; throws IOError
        ("failed to open file ...", naming destination) when it cannot. */
    explicit PartialDownloadFile (const juce::File& destination);

    /** Removes the file unless it has replaced the destination, then unlocks it. */
    ~PartialDownloadFile();

    const juce::File& getFile() const noexcept { return file; }

    /** Renames the file over destination in one step; throws IOError when that fails. */
    void replace (const juce::File& destination);

    /** Removes every unlocked partial file of destination left in its folder. */
    static void removeAbandoned (const juce::File& destination);

private:
    juce::File file;
    int lockDescriptor = -1;
    bool replaced = false;

    JUCE_DECLARE_NON_COPYABLE (PartialDownloadFile)
};
