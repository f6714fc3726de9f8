#pragma once

#include <array>

/** One translation text compiled into the program, with the codes of its language. */
struct EmbeddedTranslation final
{
    const char* text; // UTF-8, NUL-terminated
    const char* languageCode;
    const char* countryCode;
    bool present;
};

/** The two built-in translations, Japanese first, then Simplified Chinese. Never changed. */
extern const std::array<EmbeddedTranslation, 2> embeddedTranslations;
