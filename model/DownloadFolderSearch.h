#pragma once

#include <juce_core/juce_core.h>

/** Throws IOError unless folder is a directory with write access, after trying to create it when
    it does not exist. In the temporary folder of the candidates it must also be the user's own. */
void ensureUsableDownloadFolder (const juce::File& folder);

/** The five places a download may go by default, in order of preference: Documents/"Larkspire
    Downloads", Documents, home, temp/"LarkspireInstaller", temp. On Linux temp is the user's
    own "larkspire-<uid>" in $TMPDIR (else /tmp), as that is shared by every account. */
juce::Array<juce::File> defaultDownloadFolderCandidates();

/** Full path of the first usable candidate (creating it when missing), or empty when none is. */
juce::String findDefaultDownloadFolder();
