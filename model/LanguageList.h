#pragma once

#include "model/LanguageEntry.h"

#include <vector>

/** English (id 1) followed by one entry per embedded translation (ids 2 and 3). */
std::vector<LanguageEntry> buildLanguageList();
