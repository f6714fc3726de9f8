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
        { "zh_TW", "zh", "TW" },
        { "fr", "fr", "" },
        { "C", "", "" },
        { "POSIX", "", "" },
        { "C.UTF-8", "", "" },
        { "", "", "" },
        { "de_DE@euro", "de", "DE" },
        { "sr_RS.UTF-8@latin", "sr", "RS" },
        { "en_us", "en", "us" },
    };

    for (const auto& [name, language, country] : cases)
    {
        const auto locale = parseLocaleName (name);
        EXPECT_EQ (locale.languageCode, language) << name;
        EXPECT_EQ (locale.countryCode, country) << name;
    }
}

TEST (SystemLocale, FirstSetAndNonEmptyVariableWins)
{
    // LC_ALL, LC_MESSAGES, LANG (null: unset), then the language and country expected.
    const char* const cases[][5] = {
        { "ja_JP.UTF-8", "zh_CN.UTF-8", "fr_FR.UTF-8", "ja", "JP" },
        { nullptr, "zh_CN.UTF-8", "fr_FR.UTF-8", "zh", "CN" },
        { "", "", "fr_FR.UTF-8", "fr", "FR" },
        { nullptr, nullptr, nullptr, "", "" },
        { "C", nullptr, "ja_JP.UTF-8", "", "" },
    };
    const auto value = [] (const char* text)
    { return text == nullptr ? std::nullopt : std::optional<std::string> (text); };

    for (const auto& c : cases)
    {
        const testing_support::ScopedEnvironment lcAll ("LC_ALL", value (c[0]));
        const testing_support::ScopedEnvironment lcMessages ("LC_MESSAGES", value (c[1]));
        const testing_support::ScopedEnvironment lang ("LANG", value (c[2]));

        const auto locale = currentSystemLocale();
        EXPECT_EQ (locale.languageCode, c[3]) << c[3] << "_" << c[4];
        EXPECT_EQ (locale.countryCode, c[4]) << c[3] << "_" << c[4];
    }
}

TEST (LanguageList, HoldsEnglishJapaneseAndSimplifiedChineseWithIdsFromOne)
{
    const auto languages = buildLanguageList();
    const char* const expected[][3] = { { "English", "en", "us" },
                                        { "日本語", "ja", "jp" },
                                        { "简体中文", "zh", "cn" } };
    ASSERT_EQ (languages.size(), 3u);

    for (size_t i = 0; i < languages.size(); ++i)
    {
        EXPECT_EQ (languages[i].displayName, expected[i][0]);
        EXPECT_EQ (languages[i].languageCode, expected[i][1]);
        EXPECT_EQ (languages[i].countryCode, expected[i][2]);
        EXPECT_EQ (languages[i].translations.has_value(), i > 0);
        EXPECT_EQ (languages[i].id, static_cast<int> (i) + 1);
    }
}

TEST (LanguageChoice, HighestScoreWinsAndTheFirstOfEqualScores)
{
    // The list's country codes are lower case, so an upper-case system country adds no point.
    const auto languages = buildLanguageList();
    const auto& japanese = languages[1];
    EXPECT_EQ (scoreLanguage (japanese, { "ja", "jp" }), 2);
    EXPECT_EQ (scoreLanguage (japanese, { "ja", "JP" }), 1);
    EXPECT_EQ (scoreLanguage (japanese, { "jp", "jp" }), 0);

    const std::tuple<const char*, const char*, int> cases[] = {
        { "ja", "JP", 2 }, { "ja", "", 2 }, { "zh", "TW", 3 }, { "zh", "cn", 3 },
        { "fr", "FR", 1 }, { "", "", 1 },   { "JA", "jp", 1 }, { "", "jp", 1 },
    };

    for (const auto& [language, country, id] : cases)
    {
        const auto* chosen = chooseLanguage (languages, { language, country });
        ASSERT_NE (chosen, nullptr);
        EXPECT_EQ (chosen->id, id) << language << "_" << country;
    }

    std::vector<LanguageEntry> same (3);
    same[0] = { "A", "xx", "aa", std::nullopt, 1 };
    same[1] = { "B", "xx", "bb", std::nullopt, 2 };
    same[2] = { "C", "xx", "cc", std::nullopt, 3 };
    EXPECT_EQ (chooseLanguage (same, { "xx", "zz" })->id, 1);
    EXPECT_EQ (chooseLanguage (same, { "xx", "cc" })->id, 3);
    EXPECT_EQ (chooseLanguage ({}, { "xx", "cc" }), nullptr);
}
} // namespace
