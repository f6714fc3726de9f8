#pragma once

#include <juce_core/juce_core.h>

namespace testing_support
{
/** A fresh folder under the system's temporary folder, deleted with everything in it (made
    writable again first) when the object goes. */
class TemporaryFolder final
{
public:
    TemporaryFolder()
        : folder (
              juce::File::getSpecialLocation (juce::File::tempDirectory)
                  .getNonexistentChildFile ("larkspire-test-" + juce::Uuid().toString(), {}, false))
    {
        folder.createDirectory();
    }

    ~TemporaryFolder()
    {
        juce::ChildProcess chmod;

        if (chmod.start (juce::StringArray { "chmod", "-R", "u+rwx", folder.getFullPathName() }, 0))
            chmod.waitForProcessToFinish (10000);

        folder.deleteRecursively();
    }

    const juce::File& get() const { return folder; }

    TemporaryFolder (const TemporaryFolder&) = delete;
    TemporaryFolder& operator= (const TemporaryFolder&) = delete;

private:
    juce::File folder;
};
} // namespace testing_support
