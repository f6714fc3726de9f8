#include "net/InstallerFileName.h"

juce::String installerFileNameFromLink (const juce::String& link)
{
    const auto withoutQuery = juce::URL (link).toString (false);
    return withoutQuery.fromLastOccurrenceOf ("/", false, true);
}

bool isSafeInstallerFileName (const juce::String& name)
{
    // JUCE reads a leading "~" as a home folder, so such a name would leave the download folder.
    if (name.isEmpty() || name == "." || name == ".." || name.startsWithChar ('~'))
        return false;

    for (auto t = name.getCharPointer(); ! t.isEmpty(); ++t)
    {
        const auto c = *t;
        if (c == '/' || c == '\\' || c < 0x20 || c == 0x7f || (c >= 0x80 && c <= 0x9f))
            return false;
    }
    return true;
}
