#include "net/InstallerFileName.h"

#include "net/JudgeCharacters.h"
#include "net/Utf8Character.h"

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
    // into "exe.bin", a variation selector making "Setup<VS16>.bin" read as "Setup.bin"). Bytes
    // that are no text (a lone surrogate from the answer's escapes) cannot be shown, and some
    // file systems refuse them. The same judgement decides what a message shows of the name.
    auto safe = true;
    judgeCharacters (utf8BytesOf (name),
                     [&safe] (std::optional<juce::juce_wchar> c, bool shown)
                     {
                         safe = shown && *c != '/' && *c != '\\';
                         return safe;
                     });
    return safe;
}
