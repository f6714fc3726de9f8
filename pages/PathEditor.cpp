#include "pages/PathEditor.h"

PathEditor::PathEditor()
{
    pathField.setMultiLine (false, false);
    pathField.setJustification (juce::Justification::centredLeft);
    pathField.onTextChange = [this] { textChanged(); };
    pathField.setFont (juce::Font (16.0f));
    pathField.setIndents (8, 0);

    browseButton.onClick = [this] { browse(); };

    addAndMakeVisible (pathField);
    addAndMakeVisible (browseButton);

    // Translated once: the button keeps the language current when the page was built.
    browseButton.setButtonText (juce::translate ("Browse"));
}

PathEditor::~PathEditor() = default;

void PathEditor::setPath (const juce::File& file)
{
    if (pathField.getText() == file.getFullPathName())
        return;

    pathField.setText (file.getFullPathName(), juce::dontSendNotification);
    choose (file);
}

void PathEditor::choose (const juce::File& file)
{
    if (file == currentPath)
        return;

    currentPath = file;

    if (onPathChanged)
        onPathChanged (currentPath);
}

void PathEditor::textChanged()
{
    const auto text = pathField.getText();
    const bool absolute = text.startsWithChar ('/') || text.startsWithChar ('~');
    const auto candidate = absolute ? juce::File (text) : juce::File();

    // The field keeps what the user typed, even when it names no folder. JUCE leaves "~name" of
    // an unknown user as a relative path, which names no folder either.
    choose (candidate.getFullPathName().startsWithChar ('/') ? candidate : juce::File());
}

void PathEditor::browse()
{
    const auto start = currentPath.isDirectory()
                           ? currentPath
                           : juce::File::getSpecialLocation (juce::File::userDocumentsDirectory);

    juce::FileChooser chooser (juce::translate ("Choose save location"), start, {}, true, false,
                               nullptr);

    if (chooser.browseForDirectory())
        setPath (chooser.getResult());
}

void PathEditor::resized()
{
    const int w = getWidth();
    const int h = getHeight();
    const int b = std::min (w, 72);

    browseButton.setBounds (w - b, 0, b, h);
    pathField.setBounds (0, 0, std::max (0, w - b - 10), h);
}
