#pragma once

#include <string>

/** Why no X display can be opened ("no display (DISPLAY is not set)", "cannot open the display
    ..."), or an empty text when one can. JUCE's X11 layer crashes without a display, so the
    program and the window tests ask this first. Always empty where JUCE needs no X display. */
std::string displayProblem();
