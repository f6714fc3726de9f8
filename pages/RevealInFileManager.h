#pragma once

#include <juce_core/juce_core.h>

/** Shows file selected in the desktop's file manager; a file that does not exist shows the
    folder that would hold it, when that folder exists; an empty path shows nothing. Returns at
    once (message thread).

    On Linux no shell is involved: the file manager is asked over the session bus
    (org.freedesktop.FileManager1, with a file:// URI), and without such a service xdg-open gets
    the folder as its one argument. Elsewhere JUCE's own call does it. */
void revealInFileManager (const juce::File& file);
