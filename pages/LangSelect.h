#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

/** The language choice: the globe icon, a label and a combo box of the model's languages,
    whose item ids are the languages' ids. */
class LangSelect final : public juce::Component
{
public:
    LangSelect();
    ~LangSelect() override;

    void setLabelText (const juce::String& text);

    juce::Label& getLanguageLabel() noexcept { return languageLabel; }
    juce::ComboBox& getLanguageBox() noexcept { return languageBox; }

    void paint (juce::Graphics& g) override;
    void resized() override;

private:
    void languageChosen();

    juce::Label languageLabel;
    juce::ComboBox languageBox;
    juce::Rectangle<float> iconBounds;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (LangSelect)
};
