#include "model/LanguageChoice.h"
#include "model/LanguageList.h"
#include "model/SystemLocale.h"
#include "support/ScopedEnvironment.h"

#include <gtest/gtest.h>

#include <optional>

namespace
{
TEST (SystemLocale, NameGivesTheCodesAsWritten)
{
    const char* const cases[][3] = {
        { "ja_JP.UTF-8", "ja", "JP" },
        { "fr", "fr", "" },
        { "en_us", "en", "us" },
        { "de_DE@euro", "de", "DE" },
        { "sr_RS.UTF-8@latin", "sr", "RS" },
        { "C", "", "" },
        { "POSIX", "", "" },
        { "C.UTF-8", "", "" },
        { "", "", "" },
    };

    for (const auto& [name, language, country] : cases)
        EXPECT_TRUE (parseLocaleName (name) == (SystemLocale { language, country })) << name;
}

TEST (SystemLocale, FirstSetAndNonEmptyVariableChoosesTheLanguage)
{
    // The id chosen: 1 English, 2 Japanese, 3 Simplified Chinese. The list's country codes are
    // lower case, so only the language matches; an unknown one gives the first entry.
    const struct
    {
        const char* lcAll; // null: unset
        const char* lcMessages;
        const char* lang;
        int id;
    } cases[] = {
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

    for (const auto& c : cases)
    {
        const testing_support::ScopedEnvironment lcAll ("LC_ALL", value (c.lcAll));
        const testing_support::ScopedEnvironment lcMessages ("LC_MESSAGES", value (c.lcMessages));
        const testing_support::ScopedEnvironment lang ("LANG", value (c.lang));

        const auto* chosen = chooseLanguage (languages, currentSystemLocale());
        ASSERT_NE (chosen, nullptr);
        EXPECT_EQ (chosen->id, c.id)
            << value (c.lcAll).value_or ("-") << " " << value (c.lcMessages).value_or ("-") << " "
            << value (c.lang).value_or ("-");
    }
}
} // namespace
