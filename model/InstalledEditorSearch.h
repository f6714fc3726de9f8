#pragma once

#include "model/LarkspireCharacterInfo.h"

#include <juce_core/juce_core.h>

#include <memory>

/** An installed editor carrying this identifier is never handed over to. */
extern const char* const excludedEditorBundleIdentifier;

/** Reads "larkspire.app/Contents/Info.plist" in applicationsFolder. Null when there is none, it
    does not parse, has no "dict", an empty or missing "CFBundleVersion", or the excluded
    identifier. */
std::shared_ptr<LarkspireCharacterInfo> findInstalledEditor (const juce::File& applicationsFolder);
