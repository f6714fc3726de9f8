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
    // cannot be shown, and some file systems refuse them. The joiners belong only between the
    // letters of scripts written with them (Persian, Indic) and between emoji: next to an ASCII
    // character, at an end or doubled they only hide ("Set<ZWNJ>up.bin" shows as "Setup.bin").
    const auto isJoiner = [] (juce::juce_wchar c) { return c == 0x200c || c == 0x200d; };
    const auto bytes = utf8BytesOf (name);
    juce::juce_wchar previous = 0;
    for (std::size_t i = 0; i < bytes.size();)
    {
        const auto c = readUtf8Character (bytes, i);
        if (! c || *c == '/' || *c == '\\' || isHiddenOrControlCharacter (*c))
            return false;
        if ((isJoiner (*c) || isJoiner (previous)) &&
            (previous < 0x80 || *c < 0x80 || isJoiner (previous) == isJoiner (*c)))
            return false;
        previous = *c;
    }
    return ! isJoiner (previous);
}
