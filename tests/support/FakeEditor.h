#pragma once

#include <juce_core/juce_core.h>

namespace testing_support
{
/** "larkspire.app" in an applications folder: its Info.plist and, as its executable, a script. */
class FakeEditor final
{
public:
    explicit FakeEditor (const juce::File& applicationsFolder)
        : contents (applicationsFolder.getChildFile ("larkspire.app/Contents"))
    {
        getExecutable().getParentDirectory().createDirectory();
    }

    juce::File getPlistFile() const { return contents.getChildFile ("Info.plist"); }
    juce::File getExecutable() const { return contents.getChildFile ("MacOS/larkspire"); }

    /** Writes Info.plist with these children of its "dict". */
    bool writePlistDict (const juce::String& children) const
    {
        return getPlistFile().replaceWithText ("<?xml version=\"1.0\"?>\n<plist><dict>" + children +
                                                   "</dict></plist>\n",
                                               false, false, "\n");
    }

    bool writeScript (const juce::String& body, bool executable = true) const
    {
        return getExecutable().replaceWithText ("#!/bin/sh\n" + body + "\n", false, false, "\n") &&
               getExecutable().setExecutePermission (executable);
    }

private:
    juce::File contents;
};
} // namespace testing_support
