#pragma once

#include "model/LarkspireCharacterInfo.h"

#include <juce_core/juce_core.h>

#include <memory>

/** The exit code with which the editor says it has taken over. */
constexpr int editorTookOverExitCode = 42;

/** Starts the editor with "--from-downloader" and "--check-update-and-install-product" and waits
    for it, in 100 ms slices and for as long as it runs. True only when it exited with 42. */
bool runEditorHandOff (const LarkspireCharacterInfo& editor);

/** The model's start-up step: looks for an installed editor in folder and hands over to it.
    installedProduct ends set only when the editor took over; a stop of the message loop is then
    posted. */
void runInstalledEditorStep (std::shared_ptr<LarkspireCharacterInfo>& installedProduct,
                             const juce::File& folder);
