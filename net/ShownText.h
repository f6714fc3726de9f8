#pragma once

#include <juce_core/juce_core.h>

#include <string>

/** Text from the server as a message shows it: each character refused where it stands
    (judgeCharacters, the judgement installer names are held to), and each sequence that is no
    text, as "?", and cut to 80 characters with an ellipsis, so that no text can flood or reorder
    a page, nor show a refused name as a clean one. */
std::string shownText (const juce::String& text);
