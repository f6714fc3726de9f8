#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

/** Makes the typeface of the font compiled into the program, wraps it in a
    tessel::TypefaceCache and gives it to theme as its default sans-serif typeface. Returns
    false, leaving the theme's font alone, when no typeface could be made. */
bool installEmbeddedFont (juce::LookAndFeel& theme);

/** The steps of installEmbeddedFont, for the tests and benchmarks. */
namespace embeddedFont
{
/** The four compiled-in pieces joined in order: the font's zip archive. */
juce::MemoryBlock joinArchive();

/** The bytes of the archive's first entry, inflated; empty when there is none. The archive
    is taken over and freed before this returns. */
juce::MemoryBlock readFirstEntry (juce::MemoryBlock&& archive);

/** A typeface made from fontData, or null when the data is not a usable font. */
juce::Typeface::Ptr makeTypeface (const juce::MemoryBlock& fontData);

/** Reads the font from archive and, when a typeface can be made, gives theme a
    tessel::TypefaceCache around it as its default sans-serif typeface. */
bool installFromArchive (juce::LookAndFeel& theme, juce::MemoryBlock&& archive);
} // namespace embeddedFont
