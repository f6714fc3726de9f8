#include "model/EmbeddedTranslations.h"

#include <gtest/gtest.h>
#include <juce_core/juce_core.h>

#include <map>
#include <set>

namespace
{
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

TEST (TranslationText, BothTranslateTheSameKeysAndKeepEveryPlaceholder)
{
    // Keys only one file has: the two spell the product word, a full stop and a hint differently.
    const std::set<juce::String> ownKeys[] = {
        { "Larkspire",
          "{ProductName} and {AnyProductName} is successfully installed to your computer",
          "Press Run to open the newly installed {ProductName}." },
        { "larkspire",
          "{ProductName} and {AnyProductName} is successfully installed to your computer.",
          "Press Launch to open the newly installed {ProductName}." },
    };
    // Word for word where a swap or a reordering would keep the checks below happy.
    const std::map<juce::String, const char*> exact[] = {
        { { "Next", "次へ" },
          { "Cancel", "キャンセル" },
          { "Retrying ({Count}/{Max})...", "再試行しています（{Count}/{Max}）…" } },
        { { "Next", "下一步" },
          { "Cancel", "取消" },
          { "Retrying ({Count}/{Max})...", "正在重试（{Count}/{Max}）……" } },
    };
    std::set<juce::String> sharedKeys[2];

    for (size_t i = 0; i < embeddedTranslations.size(); ++i)
    {
        const juce::LocalisedStrings strings (juce::String::fromUTF8 (embeddedTranslations[i].text),
                                              false);
        EXPECT_TRUE (strings.getLanguageName().isNotEmpty());
        const auto mappings = strings.getMappings();

        for (const auto& [key, translation] : exact[i])
            EXPECT_EQ (mappings[key], juce::String::fromUTF8 (translation)) << key;

        for (const auto& key : mappings.getAllKeys())
        {
            EXPECT_TRUE (mappings[key].isNotEmpty()) << key;
            EXPECT_EQ (placeholders (mappings[key]), placeholders (key)) << key;
            // Full-width punctuation: "…" or "……" and "：", not "..." and ": ".
            EXPECT_FALSE (mappings[key].contains ("...") || mappings[key].contains (": ")) << key;

            if (ownKeys[i].count (key) == 0)
                sharedKeys[i].insert (key);
        }
    }

    EXPECT_EQ (sharedKeys[0], sharedKeys[1]);
}
} // namespace
