#include "model/LanguageList.h"

#include "model/EmbeddedTranslations.h"

std::vector<LanguageEntry> buildLanguageList()
{
    std::vector<LanguageEntry> languages;
    languages.push_back ({ "English", "en", "us", std::nullopt, 1 });

    int id = 2;

    for (const auto& embedded : embeddedTranslations)
    {
        const auto text =
            embedded.present ? juce::String::fromUTF8 (embedded.text) : juce::String();
        juce::LocalisedStrings strings (text, false);

        LanguageEntry entry;
        entry.displayName = strings.getLanguageName().toStdString();
        entry.languageCode = embedded.languageCode;
        entry.countryCode = embedded.countryCode;
        entry.translations = std::move (strings);
        entry.id = id++;
        languages.push_back (std::move (entry));
    }

    return languages;
}
