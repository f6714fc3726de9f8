#include "net/ShownText.h"

#include "net/JudgeCharacters.h"
#include "net/Utf8Character.h"

std::string shownText (const juce::String& text)
{
    constexpr int maxShown = 80;
    juce::String shown;
    int count = 0;
    judgeCharacters (utf8BytesOf (text),
                     [&] (std::optional<juce::juce_wchar> c, bool isShown)
                     {
                         if (++count > maxShown)
                         {
                             shown << juce::String::fromUTF8 ("\xe2\x80\xa6");
                             return false;
                         }
                         shown << (isShown ? *c : juce::juce_wchar ('?'));
                         return true;
                     });
    return shown.toStdString();
}
