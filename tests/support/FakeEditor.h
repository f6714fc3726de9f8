#pragma once

#include <juce_core/juce_core.h>

namespace testing_support
{
/** An installed editor in a temporary applications folder: "larkspire.app" with its property
    list and, as its executable, a small shell script. */
class FakeEditor final
{
public:
    explicit FakeEditor (const juce::File& applicationsFolder);

    juce::File getBundle() const;
    juce::File getPlistFile() const;
    juce::File getExecutable() const;

    /** Where the scripts of recordingScript write their arguments, one per line. */
    juce::File getArgumentsFile() const;

    /** Writes Info.plist with the given children of its "dict". */
    void writePlistDict (const juce::String& dictChildren) const;

    /** Writes Info.plist with a version and, unless empty, an identifier. */
    void writePlist (const juce::String& version, const juce::String& identifier = {}) const;

    /** Writes the executable as "#!/bin/sh" followed by body. */
    void writeScript (const juce::String& body, bool executable = true) const;

    /** A script body that records its arguments and exits with code. */
    juce::String recordingScript (int exitCode) const;

private:
    juce::File applications;
};
} // namespace testing_support
