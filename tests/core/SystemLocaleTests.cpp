#include "model/LanguageChoice.h"
#include "model/LanguageList.h"
#include "model/SystemLocale.h"
#include "support/ScopedEnvironment.h"

#include <gtest/gtest.h>

#include <optional>
#include <tuple>

namespace
{
TEST (SystemLocale, NameGivesTheCodesAsWritten)
{
    const char* const cases[][3] = {
        { "ja_JP.UTF-8", "ja", "JP" }, { "fr", "fr", "" }, { "en_us", "en", "us" },
        { "de_DE@euro", "de", "DE" },  { "C", "", "" },    { "POSIX", "", "" },
        { "C.UTF-8", "", "" },         { "", "", "" }
    };

    for (const auto& [name, language, country] : cases)
        EXPECT_TRUE (parseLocaleName (name) == (SystemLocale { language, country })) << name;
}

TEST (SystemLocale, FirstSetAndNonEmptyVariableChoosesTheLanguage)
{
    // LC_ALL, LC_MESSAGES, LANG (null: unset) and the id chosen: 1 English, 2 Japanese, 3
    // Simplified Chinese. The list's country codes are lower case, so only the language matches;
    // an unknown one gives the first entry.
    const std::tuple<const char*, const char*, const char*, int> cases[] = {
        { "ja_JP.UTF-8", "zh_CN.UTF-8", "fr_FR.UTF-8", 2 },
        { nullptr, "zh_TW.UTF-8", "ja_JP.UTF-8", 3 },
        { "", "", "zh_CN.UTF-8", 3 },
        { nullptr, nullptr, "fr_FR.UTF-8", 1 },
        { nullptr, nullptr, nullptr, 1 },
        { "C", nullptr, "ja_JP.UTF-8", 1 },
    };
    const auto value = [] (const char* text)
    { return text == nullptr ? std::nullopt : std::optional<std::string> (text); };
    const auto languages = buildLanguageList();

    for (const auto& row : cases)
    {
        const auto& [lcAll, lcMessages, lang, id] = row;
        const testing_support::ScopedEnvironment lcAllVariable ("LC_ALL", value (lcAll));
        const testing_support::ScopedEnvironment lcMessagesVariable ("LC_MESSAGES",
                                                                     value (lcMessages));
        const testing_support::ScopedEnvironment langVariable ("LANG", value (lang));

        const auto* chosen = chooseLanguage (languages, currentSystemLocale());
        ASSERT_NE (chosen, nullptr);
        EXPECT_EQ (chosen->id, id) << "row " << &row - cases;
    }
}
} // namespace
