#pragma once

#include "app/MainComponent.h"
#include "model/InstallerModel.h"
#include "pages/Downloading.h"
#include "pages/Finished.h"
#include "pages/Welcome.h"

#include <gtest/gtest.h>

#include <string>

namespace shell_testing
{
/** Points HOME (with a Documents folder), the applications folder and the update server (a
    closed port) at this process's private temporary tree, and the locale at "C". */
void preparePrivateEnvironment();

/** A fresh, empty folder in that tree. */
juce::File makeEmptyFolder (const juce::String& name);

/** The update server for checks started from now on. */
void useServer (const juce::String& baseUrl);

inline std::string text (const std::unique_ptr<juce::Label>& label)
{
    return label->getText().toStdString();
}

/** A fresh MainWindow over the process's one model (built by the first test, with the
    application's theme installed), reset for each test: no check run, no outcome, English,
    downloadFolder an empty folder of its own. */
class ShellWindowTest : public ::testing::Test
{
protected:
    void SetUp() override;
    void TearDown() override;

    MainComponent& mainComponent() { return *MainComponent::getInstance(); }
    Welcome& welcome() { return dynamic_cast<Welcome&> (*mainComponent().getPages()[0]); }
    Downloading& downloading()
    {
        return dynamic_cast<Downloading&> (*mainComponent().getPages()[1]);
    }
    Finished& finished() { return dynamic_cast<Finished&> (*mainComponent().getPages()[2]); }
    size_t currentPage() { return mainComponent().getCurrentPageIndex(); }

    /** Presses Next on the page on show, as a user click would. */
    void pressNext();
    /** Picks a language in Welcome's box, as the user would. */
    void chooseLanguage (int id);
    /** Points the update server at baseUrl and runs one check to its end; whether it passed. */
    bool runUpdateCheck (const juce::String& baseUrl);

    InstallerModel* model = nullptr;
    juce::File downloadFolder;
};
} // namespace shell_testing
