#pragma once

#include <juce_core/juce_core.h>

/** The installer's file name from its download link: the query part split off (juce::URL),
    then the text after the last "/"; a link without "/" is taken whole. */
juce::String installerFileNameFromLink (const juce::String& link);

/** Whether name can be used as a file name inside the download folder: not empty, no leading
    "." or "~", no "/" or "\\", no control character and no Unicode format or separator
    character (isHiddenOrControlCharacter), and UTF-8 throughout (no lone surrogate). */
bool isSafeInstallerFileName (const juce::String& name);
