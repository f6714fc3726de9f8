#include "pages/LangSelect.h"

#include "app/MainComponent.h"
#include "model/InstallerModel.h"

LangSelect::LangSelect()
{
    languageLabel.setJustificationType (juce::Justification::centredLeft);

    if (auto* model = InstallerModel::getInstance())
    {
        for (const auto& language : model->languages)
            languageBox.addItem (juce::String::fromUTF8 (language.displayName.c_str()),
                                 language.id);

        if (model->currentLanguage != nullptr)
            languageBox.setSelectedId (model->currentLanguage->id, juce::dontSendNotification);
    }

    languageBox.onChange = [this] { languageChosen(); };

    addAndMakeVisible (languageLabel);
    addAndMakeVisible (languageBox);
}

LangSelect::~LangSelect() = default;

void LangSelect::setLabelText (const juce::String& text)
{
    languageLabel.setText (text, juce::dontSendNotification);
}

void LangSelect::languageChosen()
{
    auto* model = InstallerModel::getInstance();

    if (model == nullptr)
        return;

    const int id = languageBox.getSelectedId();

    for (const auto& language : model->languages)
    {
        if (language.id == id)
        {
            model->setLanguage (&language);
            break;
        }
    }

    // The visible page follows the new language at once, not at its next refresh.
    if (auto* mainComponent = MainComponent::getInstance())
    {
        if (auto* page = mainComponent->getCurrentPage())
            page->updateUI();

        mainComponent->repaint();
    }
}

void LangSelect::paint (juce::Graphics& g)
{
    if (auto* model = InstallerModel::getInstance(); model != nullptr && model->languageIcon)
        model->languageIcon->drawWithin (g, iconBounds, juce::RectanglePlacement::fillDestination,
                                         1.0f);
}

void LangSelect::resized()
{
    const int w = getWidth();
    const int h = getHeight();
    const int rowWidth = std::min (w, 140);
    const int rowHeight = std::min (h, 22);
    const int iconWidth = std::min (rowWidth, 12);

    iconBounds = { 0.0f, 10.0f, static_cast<float> (iconWidth),
                   static_cast<float> (std::max (rowHeight - 20, 0)) };

    const int gap = std::min (rowWidth - iconWidth, 2);
    languageLabel.setBounds (iconWidth + gap, -1, rowWidth - iconWidth - gap, rowHeight);

    const int g = std::min (h - rowHeight, 4);
    languageBox.setBounds (0, rowHeight + g, rowWidth, h - rowHeight - g);
}
