#pragma once

#include <juce_core/juce_core.h>

/** Throws IOError unless folder is a directory with write access, after trying to create it when
    it does not exist. */
void ensureUsableDownloadFolder (const juce::File& folder);

/** The five places a download may go by default, in order of preference: Documents/"Larkspire
    Downloads", Documents, home, temp/"LarkspireInstaller", temp. */
juce::Array<juce::File> defaultDownloadFolderCandidates();

/** Full path of the first usable candidate (creating it when missing), or empty when none is. */
juce::String findDefaultDownloadFolder();
