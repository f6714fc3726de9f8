#include "model/DownloadFolderSearch.h"

#include "tasks/IOError.h"
#include "tasks/ThrowErrors.h"

#include <fmt/format.h>

void ensureUsableDownloadFolder (const juce::File& folder)
{
    if (! folder.exists())
        folder.createDirectory(); // what counts is the tests below

    const auto path = folder.getFullPathName().toStdString();

    if (! folder.isDirectory())
        throwIOError (fmt::format ("file `{}` is not a dir", path));

    if (! folder.hasWriteAccess())
        throwIOError (fmt::format ("directory `{}` has no write permission", path));
}

juce::Array<juce::File> defaultDownloadFolderCandidates()
{
    const auto documents = juce::File::getSpecialLocation (juce::File::userDocumentsDirectory);
    const auto home = juce::File::getSpecialLocation (juce::File::userHomeDirectory);
    const auto temp = juce::File::getSpecialLocation (juce::File::tempDirectory);

    return { documents.getChildFile ("Larkspire Downloads"), documents, home,
             temp.getChildFile ("LarkspireInstaller"), temp };
}

juce::String findDefaultDownloadFolder()
{
    for (const auto& candidate : defaultDownloadFolderCandidates())
    {
        try
        {
            ensureUsableDownloadFolder (candidate);
            return candidate.getFullPathName();
        }
        catch (const IOError&)
        {
            // Not usable: try the next one. The reason is never shown.
        }
    }

    return {};
}
