#include "net/InstallerFileName.h"

#include "net/ShownText.h"

juce::String installerFileNameFromLink (const juce::String& link)
{
    const auto withoutQuery = juce::URL (link).toString (false);
    return withoutQuery.fromLastOccurrenceOf ("/", false, true);
}

bool isSafeInstallerFileName (const juce::String& name)
{
    // JUCE reads a leading "~" as a home folder, so such a name would leave the download folder.
    // A leading "." hides the file, and in the home folder would replace a settings file.
    if (name.isEmpty() || name.startsWithChar ('.') || name.startsWithChar ('~'))
        return false;

    // Hidden characters would make the name read as another (an override turning "nib.exe"
    // into "exe.bin"). Bytes that are no text (a lone surrogate from the answer's escapes)
    // cannot be shown, and some file systems refuse them.
    const auto bytes = utf8BytesOf (name);
    for (std::size_t i = 0; i < bytes.size();)
    {
        const auto c = readUtf8Character (bytes, i);
        if (! c || *c == '/' || *c == '\\' || isHiddenOrControlCharacter (*c))
            return false;
    }
    return true;
}
