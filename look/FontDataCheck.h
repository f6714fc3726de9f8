#pragma once

#include <cstddef>

/** True when data begins like an OpenType or TrueType font ("OTTO", 0x00010000, "true", or a
    "ttcf" collection) and its table directory is sane: the records lie within the data and the
    tables a typeface needs to map characters and draw outlines are present. */
bool hasFontTableDirectory (const void* data, std::size_t size);

/** hasFontTableDirectory, and on platforms that read fonts with FreeType also that FreeType
    opens the first face and finds a character map in it. JUCE's FreeType typeface assumes
    both and would dereference null otherwise. */
bool isUsableFontData (const void* data, std::size_t size);
