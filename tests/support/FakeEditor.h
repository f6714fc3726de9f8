#pragma once

#include <juce_core/juce_core.h>

namespace testing_support
{
/** An installed editor in an applications folder: "larkspire.app" with its property list and,
    as its executable, a small shell script. */
class FakeEditor final
{
public:
    explicit FakeEditor (const juce::File& applicationsFolder)
        : applications (applicationsFolder)
    {
    }

    juce::File getBundle() const { return applications.getChildFile ("larkspire.app"); }
    juce::File getPlistFile() const { return getBundle().getChildFile ("Contents/Info.plist"); }
    juce::File getExecutable() const
    {
        return getBundle().getChildFile ("Contents/MacOS/larkspire");
    }

    /** Where recordingScript writes the arguments it was given, one per line. */
    juce::File getArgumentsFile() const { return applications.getChildFile ("editor-arguments"); }

    /** Writes Info.plist with these children of its "dict". */
    void writePlistDict (const juce::String& children) const
    {
        getPlistFile().getParentDirectory().createDirectory();
        const juce::String text (
            "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\">\n"
            "<dict>\n" +
            children + "\n</dict>\n</plist>\n");
        getPlistFile().replaceWithText (text, false, false, "\n");
    }

    /** Writes Info.plist with a version and, unless empty, an identifier. */
    void writePlist (const juce::String& version, const juce::String& identifier = {}) const
    {
        writePlistDict ((identifier.isEmpty()
                             ? juce::String()
                             : "<key>CFBundleIdentifier</key><string>" + identifier + "</string>") +
                        "<key>CFBundleVersion</key><string>" + version + "</string>");
    }

    void writeScript (const juce::String& body, bool executable = true) const
    {
        getExecutable().getParentDirectory().createDirectory();
        getExecutable().replaceWithText ("#!/bin/sh\n" + body + "\n", false, false, "\n");
        getExecutable().setExecutePermission (executable);
    }

    /** A script body that records its arguments, then exits with exitCode. */
    juce::String recordingScript (int exitCode) const
    {
        return "for a in \"$@\"; do printf '%s\\n' \"$a\"; done > '" +
               getArgumentsFile().getFullPathName() + "'\nexit " + juce::String (exitCode);
    }

private:
    juce::File applications;
};
} // namespace testing_support
