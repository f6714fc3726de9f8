#pragma once

#include <string>

/** The language and country codes of the user's locale, as the locale writes them (for example
    "ja" and "JP"); empty where it gives none. */
struct SystemLocale final
{
    std::string languageCode;
    std::string countryCode;

    bool operator== (const SystemLocale& other) const
    {
        return languageCode == other.languageCode && countryCode == other.countryCode;
    }
};

/** Splits a POSIX locale name such as "ja_JP.UTF-8@kana" into its codes. "C", "POSIX" and an
    empty name give neither code. */
SystemLocale parseLocaleName (const std::string& localeName);

/** The locale of user-visible messages: the first of LC_ALL, LC_MESSAGES and LANG that is set and
    not empty. Reads the environment only; the process locale is left alone. */
SystemLocale currentSystemLocale();
