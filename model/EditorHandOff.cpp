#include "model/EditorHandOff.h"

#include "model/InstalledEditorSearch.h"

#include <juce_events/juce_events.h>

bool runEditorHandOff (const LarkspireCharacterInfo& editor)
{
    juce::ChildProcess process;
    const auto started = process.start (
        juce::StringArray { juce::String::fromUTF8 (editor.executablePath.c_str()),
                            "--from-downloader", "--check-update-and-install-product" },
        0);

    if (! started)
        return false;

    // No overall time-out: the editor may take as long as it needs to update itself.
    while (! process.waitForProcessToFinish (100))
    {
    }

    // An end by a signal has no exit code; JUCE reports it as 0.
    return process.getExitCode() == static_cast<juce::uint32> (editorTookOverExitCode);
}

void runInstalledEditorStep (std::shared_ptr<LarkspireCharacterInfo>& installedProduct,
                             const juce::File& folder)
{
    installedProduct = findInstalledEditor (folder);

    if (installedProduct == nullptr)
        return;

    if (runEditorHandOff (*installedProduct))
    {
        juce::MessageManager::callAsync (
            [] { juce::MessageManager::getInstance()->stopDispatchLoop(); });
        return;
    }

    installedProduct.reset();
}
