#include "model/LanguageChoice.h"
#include "model/LanguageList.h"
#include "model/SystemLocale.h"
#include "support/ScopedEnvironment.h"

#include <gtest/gtest.h>

#include <optional>

namespace
{
struct LocaleNameCase
{
    const char* name;
    const char* language;
    const char* country;
};

class LocaleNameTest : public testing::TestWithParam<LocaleNameCase>
{
};

TEST_P (LocaleNameTest, GivesTheCodesAsWritten)
{
    const auto& c = GetParam();
    const auto locale = parseLocaleName (c.name);
    EXPECT_EQ (locale.languageCode, c.language) << c.name;
    EXPECT_EQ (locale.countryCode, c.country) << c.name;
}

INSTANTIATE_TEST_SUITE_P (
    Names, LocaleNameTest,
    testing::Values (LocaleNameCase { "ja_JP.UTF-8", "ja", "JP" },
                     LocaleNameCase { "zh_TW", "zh", "TW" }, LocaleNameCase { "fr", "fr", "" },
                     LocaleNameCase { "C", "", "" }, LocaleNameCase { "POSIX", "", "" },
                     LocaleNameCase { "C.UTF-8", "", "" }, LocaleNameCase { "", "", "" },
                     LocaleNameCase { "de_DE@euro", "de", "DE" },
                     LocaleNameCase { "sr_RS.UTF-8@latin", "sr", "RS" },
                     LocaleNameCase { "en_us", "en", "us" }));

struct EnvironmentCase
{
    std::optional<std::string> lcAll;
    std::optional<std::string> lcMessages;
    std::optional<std::string> lang;
    const char* language;
    const char* country;
};

class LocaleEnvironmentTest : public testing::TestWithParam<EnvironmentCase>
{
};

TEST_P (LocaleEnvironmentTest, FirstSetAndNonEmptyVariableWins)
{
    const auto& c = GetParam();
    const testing_support::ScopedEnvironment lcAll ("LC_ALL", c.lcAll);
    const testing_support::ScopedEnvironment lcMessages ("LC_MESSAGES", c.lcMessages);
    const testing_support::ScopedEnvironment lang ("LANG", c.lang);

    const auto locale = currentSystemLocale();
    EXPECT_EQ (locale.languageCode, c.language);
    EXPECT_EQ (locale.countryCode, c.country);
}

INSTANTIATE_TEST_SUITE_P (
    Environment, LocaleEnvironmentTest,
    testing::Values (EnvironmentCase { "ja_JP.UTF-8", "zh_CN.UTF-8", "fr_FR.UTF-8", "ja", "JP" },
                     EnvironmentCase { std::nullopt, "zh_CN.UTF-8", "fr_FR.UTF-8", "zh", "CN" },
                     EnvironmentCase { "", "", "fr_FR.UTF-8", "fr", "FR" },
                     EnvironmentCase { std::nullopt, std::nullopt, std::nullopt, "", "" },
                     EnvironmentCase { "C", std::nullopt, "ja_JP.UTF-8", "", "" }));

struct ChoiceCase
{
    const char* language;
    const char* country;
    int expectedId;
};

class LanguageChoiceTest : public testing::TestWithParam<ChoiceCase>
{
};

TEST_P (LanguageChoiceTest, ChoosesByScore)
{
    const auto& c = GetParam();
    const auto languages = buildLanguageList();
    const auto* chosen = chooseLanguage (languages, { c.language, c.country });

    ASSERT_NE (chosen, nullptr);
    EXPECT_EQ (chosen->id, c.expectedId) << c.language << "_" << c.country;
}

// The list's country codes are lower case, so an upper-case system country never adds a point.
INSTANTIATE_TEST_SUITE_P (
    Table, LanguageChoiceTest,
    testing::Values (ChoiceCase { "ja", "JP", 2 }, ChoiceCase { "ja", "", 2 },
                     ChoiceCase { "zh", "TW", 3 }, ChoiceCase { "zh", "CN", 3 },
                     ChoiceCase { "zh", "cn", 3 }, ChoiceCase { "fr", "FR", 1 },
                     ChoiceCase { "", "", 1 }, ChoiceCase { "JA", "jp", 1 },
                     ChoiceCase { "en", "GB", 1 }, ChoiceCase { "", "jp", 1 }));

TEST (LanguageScore, CountsLanguageThenCountryExactly)
{
    const auto languages = buildLanguageList();
    const auto& japanese = languages[1];

    EXPECT_EQ (scoreLanguage (japanese, { "ja", "jp" }), 2);
    EXPECT_EQ (scoreLanguage (japanese, { "ja", "JP" }), 1);
    EXPECT_EQ (scoreLanguage (japanese, { "ja", "" }), 1);
    EXPECT_EQ (scoreLanguage (japanese, { "jp", "jp" }), 0);
    EXPECT_EQ (scoreLanguage (japanese, { "", "" }), 0);
}

TEST (LanguageChoice, FirstOfEqualScoresWins)
{
    std::vector<LanguageEntry> languages (3);
    languages[0] = { "A", "xx", "aa", std::nullopt, 1 };
    languages[1] = { "B", "xx", "bb", std::nullopt, 2 };
    languages[2] = { "C", "xx", "cc", std::nullopt, 3 };

    EXPECT_EQ (chooseLanguage (languages, { "xx", "zz" })->id, 1);
    EXPECT_EQ (chooseLanguage (languages, { "xx", "cc" })->id, 3);
    EXPECT_EQ (chooseLanguage (languages, { "yy", "cc" })->id, 1);
    EXPECT_EQ (chooseLanguage ({}, { "xx", "cc" }), nullptr);
}

TEST (LanguageList, HoldsTheThreeLanguagesInOrder)
{
    const auto languages = buildLanguageList();
    ASSERT_EQ (languages.size(), 3u);

    EXPECT_EQ (languages[0].displayName, "English");
    EXPECT_EQ (languages[0].languageCode, "en");
    EXPECT_EQ (languages[0].countryCode, "us");
    EXPECT_FALSE (languages[0].translations.has_value());

    EXPECT_EQ (languages[1].displayName, "日本語");
    EXPECT_EQ (languages[1].languageCode, "ja");
    EXPECT_EQ (languages[1].countryCode, "jp");
    EXPECT_TRUE (languages[1].translations.has_value());

    EXPECT_EQ (languages[2].displayName, "简体中文");
    EXPECT_EQ (languages[2].languageCode, "zh");
    EXPECT_EQ (languages[2].countryCode, "cn");
    EXPECT_TRUE (languages[2].translations.has_value());

    for (size_t i = 0; i < languages.size(); ++i)
        EXPECT_EQ (languages[i].id, static_cast<int> (i) + 1);
}
} // namespace
