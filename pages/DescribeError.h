#pragma once

#include <juce_core/juce_core.h>

#include <exception>

/** The message of a stored error for the "Error details" line: what() of a standard
    exception (UTF-8), or the translated "Unknown error" for anything else thrown. */
juce::String describeError (const std::exception_ptr& error);
