#pragma once

#include <juce_core/juce_core.h>

#include <string>

/** A file's full path in UTF-8, as messages show it. */
inline std::string pathText (const juce::File& file)
{
    return file.getFullPathName().toStdString();
}
