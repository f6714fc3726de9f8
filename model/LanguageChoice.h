#pragma once

#include "model/LanguageEntry.h"
#include "model/SystemLocale.h"

#include <vector>

/** 0 when the language codes differ, else 2 when the country codes match too, else 1. Both
    comparisons are exact and case-sensitive, so "JP" does not match "jp". */
int scoreLanguage (const LanguageEntry& entry, const SystemLocale& locale);

/** The first entry with the highest score, so the first entry (English) when nothing matches;
    null only for an empty list. */
const LanguageEntry* chooseLanguage (const std::vector<LanguageEntry>& languages,
                                     const SystemLocale& locale);
