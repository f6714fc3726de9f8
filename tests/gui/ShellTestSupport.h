#pragma once

#include "model/InstallerModel.h"

#include <juce_gui_basics/juce_gui_basics.h>

#include <gtest/gtest.h>

#include <string>

class MainComponent;
class Welcome;
class Downloading;
class Finished;

namespace shell_testing
{
/** Points HOME (with a Documents folder), the applications folder and the update server (a
    closed port) at this process's private temporary tree, and the locale at "C". */
void preparePrivateEnvironment();

/** The one InstallerModel of this test process. The first call points HOME, the applications
    folder and the update server at a private temporary tree (the update server at a closed
    port) and installs the application's theme before the model is built; later calls return
    the same model. Null when another test of this process has already deleted it. */
InstallerModel* sharedModel();

/** Puts the shared model back into a known state: no check running or finished, no update
    information, no outcome, English, and downloadFolder set to folder. */
void resetModel (InstallerModel& model, const juce::String& folder);

/** A fresh, empty folder under the process's private temporary tree. */
juce::File makeEmptyFolder (const juce::String& name);

/** Sets the update server for checks started from now on and runs one check to its end.
    Returns whether it finished (succeeded). */
bool runUpdateCheck (InstallerModel& model, const juce::String& serverBaseUrl);

/** Label text as std::string, for readable comparisons. */
std::string text (const juce::Label& label);
std::string text (const std::unique_ptr<juce::Label>& label);

/** Base fixture for tests that drive the real window: a fresh MainWindow (and with it a fresh
    MainComponent and pages) over the shared model, torn down after each test. */
class ShellWindowTest : public ::testing::Test
{
protected:
    void SetUp() override;
    void TearDown() override;

    MainComponent& mainComponent();
    Welcome& welcome();
    Downloading& downloading();
    Finished& finished();
    size_t currentPage();

    /** Presses Next on the page on show, as a user click would. */
    void pressNext();

    InstallerModel* model = nullptr;
    juce::File downloadFolder;
};
} // namespace shell_testing
