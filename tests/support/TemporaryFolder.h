#pragma once

#include <juce_core/juce_core.h>

namespace testing_support
{
/** A fresh temporary folder, deleted with all in it (made writable first) when the object goes. */
class TemporaryFolder final
{
public:
    TemporaryFolder() { folder.createDirectory(); }

    ~TemporaryFolder()
    {
        juce::ChildProcess chmod;
        if (chmod.start (juce::StringArray { "chmod", "-R", "u+rwx", folder.getFullPathName() }, 0))
            chmod.waitForProcessToFinish (10000);
        folder.deleteRecursively();
    }

    const juce::File& get() const { return folder; }

private:
    const juce::File folder = juce::File::createTempFile (".larkspire-test");

    JUCE_DECLARE_NON_COPYABLE (TemporaryFolder)
};
} // namespace testing_support
