#include "model/LanguageChoice.h"

int scoreLanguage (const LanguageEntry& entry, const SystemLocale& locale)
{
    if (entry.languageCode != locale.languageCode)
        return 0;

    return entry.countryCode == locale.countryCode ? 2 : 1;
}

const LanguageEntry* chooseLanguage (const std::vector<LanguageEntry>& languages,
                                     const SystemLocale& locale)
{
    const LanguageEntry* best = nullptr;
    int bestScore = -1;

    for (const auto& entry : languages)
    {
        const auto score = scoreLanguage (entry, locale);

        if (score > bestScore)
        {
            best = &entry;
            bestScore = score;
        }
    }

    return best;
}
