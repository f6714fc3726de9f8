#pragma once

#include "look/FernwaveTheme.h"

class InstallerModel;

/** The start-up before any window: the embedded font as theme's default sans-serif typeface,
    then theme as the desktop's default look-and-feel, then the model, which is returned. The
    model recolours its icons from the default look-and-feel, so this order is the point. */
InstallerModel* startUp (FernwaveTheme& theme);
