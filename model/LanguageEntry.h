#pragma once

#include <juce_core/juce_core.h>

#include <optional>
#include <string>

/** One selectable user-interface language. The id doubles as its item id in the combo box. */
struct LanguageEntry final
{
    std::string displayName;
    std::string languageCode;
    std::string countryCode;
    std::optional<juce::LocalisedStrings> translations;
    int id = 0;
};
