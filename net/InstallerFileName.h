#pragma once

#include <juce_core/juce_core.h>

/** The installer's file name from its download link: the query part split off (juce::URL),
    then the text after the last "/"; a link without "/" is taken whole. */
juce::String installerFileNameFromLink (const juce::String& link);

/** Whether name can be used as a file name inside the download folder: not empty, no leading
    "." or "~", no "/" or "\\", UTF-8 throughout (no lone surrogate) and every character shown
    where it stands (judgeCharacters: no control, format, separator or invisible character; a
    joiner or variation selector only where it shapes the characters beyond ASCII next to it). */
bool isSafeInstallerFileName (const juce::String& name);
