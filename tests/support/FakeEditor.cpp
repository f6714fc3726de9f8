#include "support/FakeEditor.h"

namespace testing_support
{
FakeEditor::FakeEditor (const juce::File& applicationsFolder)
    : applications (applicationsFolder)
{
}

juce::File FakeEditor::getBundle() const
{
    return applications.getChildFile ("larkspire.app");
}

juce::File FakeEditor::getPlistFile() const
{
    return getBundle().getChildFile ("Contents").getChildFile ("Info.plist");
}

juce::File FakeEditor::getExecutable() const
{
    return getBundle().getChildFile ("Contents").getChildFile ("MacOS").getChildFile ("larkspire");
}

juce::File FakeEditor::getArgumentsFile() const
{
    return applications.getChildFile ("editor-arguments.txt");
}

void FakeEditor::writePlistDict (const juce::String& dictChildren) const
{
    getPlistFile().getParentDirectory().createDirectory();
    getPlistFile().replaceWithText (
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\">\n<dict>\n" +
            dictChildren + "\n</dict>\n</plist>\n",
        false, false, "\n");
}

void FakeEditor::writePlist (const juce::String& version, const juce::String& identifier) const
{
    juce::String children;

    if (identifier.isNotEmpty())
        children << "<key>CFBundleIdentifier</key><string>" << identifier << "</string>\n";

    children << "<key>CFBundleVersion</key><string>" << version << "</string>";
    writePlistDict (children);
}

void FakeEditor::writeScript (const juce::String& body, bool executable) const
{
    const auto file = getExecutable();
    file.getParentDirectory().createDirectory();
    file.replaceWithText ("#!/bin/sh\n" + body + "\n", false, false, "\n");
    file.setExecutePermission (executable);
}

juce::String FakeEditor::recordingScript (int exitCode) const
{
    return "for argument in \"$@\"; do printf '%s\\n' \"$argument\"; done > '" +
           getArgumentsFile().getFullPathName() + "'\nexit " + juce::String (exitCode);
}
} // namespace testing_support
