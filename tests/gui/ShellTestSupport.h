#pragma once

#include "app/MainComponent.h"
#include "model/InstallerModel.h"
#include "pages/Downloading.h"
#include "pages/Finished.h"
#include "pages/Welcome.h"

#include <gtest/gtest.h>

namespace shell_testing
{
/** Points HOME, the applications folder and the update server (a closed port) at this
    process's private temporary tree, and the locale at "C". */
void preparePrivateEnvironment();
/** A fresh, empty folder in that tree. */
juce::File makeEmptyFolder (const juce::String& name);
void useServer (const juce::String& baseUrl);

inline std::string text (const std::unique_ptr<juce::Label>& label)
{
    return label->getText().toStdString();
}

/** A fresh MainWindow over the process's one model, reset for each test: no check run, no
    outcome, English, downloadFolder an empty folder of its own. */
class ShellWindowTest : public ::testing::Test
{
protected:
    void SetUp() override;
    void TearDown() override;

    MainComponent& mainComponent() { return *MainComponent::getInstance(); }
    InstallerPage& page (size_t index) { return *mainComponent().getPages()[index]; }
    Welcome& welcome() { return dynamic_cast<Welcome&> (page (0)); }
    Downloading& downloading() { return dynamic_cast<Downloading&> (page (1)); }
    Finished& finished() { return dynamic_cast<Finished&> (page (2)); }
    size_t currentPage() { return mainComponent().getCurrentPageIndex(); }

    void pressNext(); // as a user's click would
    void chooseLanguage (int id);
    /** Runs one update check against baseUrl to its end; whether it passed. */
    bool runUpdateCheck (const juce::String& baseUrl);

    InstallerModel* model = nullptr;
    juce::File downloadFolder;
};
} // namespace shell_testing
