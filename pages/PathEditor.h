#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

#include <functional>

/** The download-folder field: a one-line text field and a "Browse" button. Only an absolute
    text (starting with "/" or "~") names a folder; anything else chooses none. */
class PathEditor final : public juce::Component
{
public:
    PathEditor();
    ~PathEditor() override;

    /** Shows file in the field and makes it the chosen folder, notifying when it changed. */
    void setPath (const juce::File& file);

    const juce::File& getCurrentPath() const noexcept { return currentPath; }
    juce::TextEditor& getPathField() noexcept { return pathField; }
    juce::TextButton& getBrowseButton() noexcept { return browseButton; }

    void resized() override;

    /** Called with the new folder whenever the chosen folder changes. */
    std::function<void (juce::File)> onPathChanged;

private:
    void textChanged();
    void browse();
    void choose (const juce::File& file);

    juce::TextEditor pathField;
    juce::TextButton browseButton;
    juce::File currentPath;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (PathEditor)
};
