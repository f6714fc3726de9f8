#pragma once

#include <juce_core/juce_core.h>

/** Where an installed editor is looked for: $LARKSPIRE_APPLICATIONS_DIR when set and not empty,
    else the system's applications folder (/opt on Linux). */
juce::File applicationsFolder();
