#include "model/EmbeddedTranslations.h"
#include "model/LanguageList.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

namespace
{
// Every English source text the pages translate, in the order the texts list them. The product
// word (first) and the last entry differ between the two languages.
const std::vector<std::string> sharedKeys {
    "Back",
    "Next",
    "Cancel",
    "Launch",
    "Open Folder",
    "Downloading Success",
    "Downloading Failed",
    "Installation Success",
    "Installation Failed",
    "Downloading",
    "Installing",
    "Language",
    "Welcome to {ProductName}",
    "This will download and install {ProductName} to your computer",
    "Please select a location to save downloaded files",
    "Please install {ProductName} in the new window",
    "Installing {AnyProduct}",
    "Browse",
    "Choose save location",
    "A folder will be created if it does not exist",
    "Downloading {AnyProductName} installer to your computer...",
    "{ProductName} installer has been downloaded to: {Path}",
    "{ProductName} and {AnyProductName} is successfully installed to your computer",
    "{ProductName} is successfully installed to your computer.",
    "{ProductName} installer is successfully downloaded to your computer.",
    "Error",
    "Cannot write file to: {Path}",
    "Other error",
    "Error details: {ErrorMessage}",
    "This folder seems not to be writable",
    "But it was failed to install {AnyProductName} automatically",
    "Failed to download {ProductName}",
    "Please check the path and permissions.",
    "Please check your Internet connection and try again.",
    "Please choose another folder.",
    "Please report this incident to customer support.",
    "Please run the installer manually.",
    "Please install the {AnyProductName} by using the newly installed {ProductName} manually.",
    "Press Open Folder to open the installer file location.",
};

// Status texts of the update check and the error detail fallback, after the list above.
const std::vector<std::string> updateCheckKeys {
    "Checking the latest version of {ProductName}...",
    "Could not check the latest version of {ProductName}.",
    "Press Next to try again.",
    "Unknown error",
};

std::vector<std::string> expectedKeys (const std::string& productWord,
                                       const std::string& installedKey, const std::string& lastKey)
{
    std::vector<std::string> keys { productWord };

    for (const auto& key : sharedKeys)
        keys.push_back (key.rfind ("{ProductName} and {AnyProductName}", 0) == 0 ? installedKey
                                                                                 : key);

    keys.push_back (lastKey);
    keys.insert (keys.end(), updateCheckKeys.begin(), updateCheckKeys.end());
    return keys;
}

/** The source texts of a translation text, in file order. */
std::vector<std::string> keysInOrder (const char* text)
{
    std::vector<std::string> keys;
    juce::StringArray lines;
    lines.addLines (juce::String::fromUTF8 (text));

    for (const auto& line : lines)
        if (line.startsWithChar ('"'))
            keys.push_back (line.fromFirstOccurrenceOf ("\"", false, false)
                                .upToFirstOccurrenceOf ("\"", false, false)
                                .toStdString());

    return keys;
}

std::set<juce::String> placeholders (const juce::String& text)
{
    std::set<juce::String> found;

    for (auto rest = text; rest.contains ("{");)
    {
        rest = rest.fromFirstOccurrenceOf ("{", false, false);
        found.insert (rest.upToFirstOccurrenceOf ("}", false, false));
    }

    return found;
}

struct TextCase
{
    size_t index;
    const char* firstLine;
    const char* productWord;
    const char* installedKey;
    const char* lastKey;
};

class TranslationTextTest : public testing::TestWithParam<TextCase>
{
};

TEST_P (TranslationTextTest, ListsEveryKeyInOrder)
{
    const auto& c = GetParam();
    const auto* text = embeddedTranslations[c.index].text;

    EXPECT_EQ (juce::String::fromUTF8 (text).upToFirstOccurrenceOf ("\n", false, false),
               juce::String::fromUTF8 (c.firstLine));
    EXPECT_EQ (keysInOrder (text), expectedKeys (c.productWord, c.installedKey, c.lastKey));
}

TEST_P (TranslationTextTest, TranslatesEveryKeyAndKeepsPlaceholders)
{
    const auto& c = GetParam();
    const juce::LocalisedStrings strings (
        juce::String::fromUTF8 (embeddedTranslations[c.index].text), false);
    const auto& mappings = strings.getMappings();

    for (const auto& key : expectedKeys (c.productWord, c.installedKey, c.lastKey))
    {
        ASSERT_TRUE (mappings.containsKey (key)) << key;
        const auto translation = mappings[juce::String (key)];
        EXPECT_NE (translation, juce::String()) << key;
        EXPECT_EQ (placeholders (translation), placeholders (key)) << key;
    }

    EXPECT_EQ (mappings.size(), static_cast<int> (sharedKeys.size() + updateCheckKeys.size() + 2));
}

INSTANTIATE_TEST_SUITE_P (
    Texts, TranslationTextTest,
    testing::Values (
        TextCase { 0, "language: 日本語", "Larkspire",
                   "{ProductName} and {AnyProductName} is successfully installed to your computer",
                   "Press Run to open the newly installed {ProductName}." },
        TextCase { 1, "language: 简体中文", "larkspire",
                   "{ProductName} and {AnyProductName} is successfully installed to your computer.",
                   "Press Launch to open the newly installed {ProductName}." }));

TEST (EmbeddedTranslations, HoldsJapaneseThenSimplifiedChinese)
{
    EXPECT_STREQ (embeddedTranslations[0].languageCode, "ja");
    EXPECT_STREQ (embeddedTranslations[0].countryCode, "jp");
    EXPECT_STREQ (embeddedTranslations[1].languageCode, "zh");
    EXPECT_STREQ (embeddedTranslations[1].countryCode, "cn");

    for (const auto& entry : embeddedTranslations)
    {
        EXPECT_TRUE (entry.present);
        EXPECT_TRUE (juce::CharPointer_UTF8::isValidString (entry.text, 1 << 20));
    }
}

/** Installs a copy of one table for juce::translate, and removes it afterwards. */
class ScopedMappings final
{
public:
    explicit ScopedMappings (const LanguageEntry& entry)
    {
        juce::LocalisedStrings::setCurrentMappings (
            entry.translations ? new juce::LocalisedStrings (*entry.translations) : nullptr);
    }

    ~ScopedMappings() { juce::LocalisedStrings::setCurrentMappings (nullptr); }
};

struct LookupCase
{
    int languageIndex;
    const char* source;
    const char* expected;
};

class TranslateLookupTest : public testing::TestWithParam<LookupCase>
{
};

TEST_P (TranslateLookupTest, GoesThroughJuceTranslate)
{
    const auto& c = GetParam();
    const auto languages = buildLanguageList();
    const ScopedMappings mappings (languages[static_cast<size_t> (c.languageIndex)]);

    EXPECT_EQ (juce::translate (juce::String::fromUTF8 (c.source)),
               juce::String::fromUTF8 (c.expected));
}

// Keys compare byte for byte: "larkspire" in the Chinese text leaves "Larkspire" as it is.
INSTANTIATE_TEST_SUITE_P (
    Lookups, TranslateLookupTest,
    testing::Values (
        LookupCase { 0, "Larkspire", "Larkspire" }, LookupCase { 0, "Next", "Next" },
        LookupCase { 1, "Larkspire", "LARKSPIRE" }, LookupCase { 1, "larkspire", "larkspire" },
        LookupCase { 1, "Next", "次へ" }, LookupCase { 1, "next", "next" },
        LookupCase { 1, "Error details: {ErrorMessage}", "エラーの詳細: {ErrorMessage}" },
        LookupCase { 1, "Not a key", "Not a key" }, LookupCase { 2, "Larkspire", "Larkspire" },
        LookupCase { 2, "larkspire", "Larkspire" }, LookupCase { 2, "Back", "上一步" },
        LookupCase { 2, "Unknown error", "未知错误" }));
} // namespace
