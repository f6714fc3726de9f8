#include "model/EmbeddedTranslations.h"
#include "model/LanguageList.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <tuple>
#include <vector>

namespace
{
// The English source texts both translations cover besides the product word, the "installed"
// line and the last hint, which the two spell differently.
const auto sharedKeys = juce::StringArray::fromTokens (
    "Back|Next|Cancel|Launch|Open Folder|Downloading Success|Downloading Failed|"
    "Installation Success|Installation Failed|Downloading|Installing|Language|"
    "Welcome to {ProductName}|This will download and install {ProductName} to your computer|"
    "Please select a location to save downloaded files|"
    "Please install {ProductName} in the new window|Installing {AnyProduct}|Browse|"
    "Choose save location|A folder will be created if it does not exist|"
    "Downloading {AnyProductName} installer to your computer...|"
    "{ProductName} installer has been downloaded to: {Path}|"
    "{ProductName} is successfully installed to your computer.|"
    "{ProductName} installer is successfully downloaded to your computer.|Error|"
    "Cannot write file to: {Path}|Other error|Error details: {ErrorMessage}|"
    "This folder seems not to be writable|"
    "But it was failed to install {AnyProductName} automatically|"
    "Failed to download {ProductName}|Please check the path and permissions.|"
    "Please check your Internet connection and try again.|Please choose another folder.|"
    "Please report this incident to customer support.|Please run the installer manually.|"
    "Please install the {AnyProductName} by using the newly installed {ProductName} manually.|"
    "Press Open Folder to open the installer file location.|"
    "Checking the latest version of {ProductName}...|"
    "Could not check the latest version of {ProductName}.|Press Next to try again.|"
    "Unknown error",
    "|", {});

std::set<juce::String> placeholders (juce::String text)
{
    std::set<juce::String> found;

    while (text.contains ("{"))
    {
        text = text.fromFirstOccurrenceOf ("{", false, false);
        found.insert (text.upToFirstOccurrenceOf ("}", false, false));
    }

    return found;
}

TEST (TranslationText, EachTranslatesExactlyItsKeysAndKeepsThePlaceholders)
{
    const struct
    {
        const char* firstLine;
        std::vector<const char*> ownKeys;
    } texts[] = {
        { "language: 日本語",
          { "Larkspire",
            "{ProductName} and {AnyProductName} is successfully installed to your computer",
            "Press Run to open the newly installed {ProductName}." } },
        { "language: 简体中文",
          { "larkspire",
            "{ProductName} and {AnyProductName} is successfully installed to your computer.",
            "Press Launch to open the newly installed {ProductName}." } },
    };

    for (size_t i = 0; i < embeddedTranslations.size(); ++i)
    {
        const auto text = juce::String::fromUTF8 (embeddedTranslations[i].text);
        EXPECT_EQ (text.upToFirstOccurrenceOf ("\n", false, false),
                   juce::String::fromUTF8 (texts[i].firstLine));

        const auto mappings = juce::LocalisedStrings (text, false).getMappings();
        auto keys = sharedKeys;
        for (const auto& key : texts[i].ownKeys)
            keys.add (key);
        EXPECT_EQ (mappings.size(), keys.size()) << texts[i].firstLine;

        for (const auto& key : keys)
        {
            ASSERT_TRUE (mappings.containsKey (key)) << key;
            EXPECT_NE (mappings[key], juce::String()) << key;
            EXPECT_EQ (placeholders (mappings[key]), placeholders (key)) << key;
        }
    }
}

TEST (TranslationText, KeysCompareByteForByteThroughJuceTranslate)
{
    const std::tuple<size_t, const char*, const char*> cases[] = {
        { 1, "Larkspire", "LARKSPIRE" }, { 1, "larkspire", "larkspire" },
        { 1, "Next", "次へ" },           { 1, "next", "next" },
        { 2, "Larkspire", "Larkspire" }, { 2, "larkspire", "Larkspire" },
        { 2, "Back", "上一步" },
    };
    const auto languages = buildLanguageList();

    for (const auto& [index, source, expected] : cases)
    {
        const auto& entry = languages[index];
        juce::LocalisedStrings::setCurrentMappings (
            new juce::LocalisedStrings (*entry.translations));
        EXPECT_EQ (juce::translate (juce::String::fromUTF8 (source)),
                   juce::String::fromUTF8 (expected))
            << entry.languageCode << ": " << source;
    }

    juce::LocalisedStrings::setCurrentMappings (nullptr);
}
} // namespace
