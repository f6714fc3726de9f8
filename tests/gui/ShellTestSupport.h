#pragma once

#include "app/MainComponent.h"
#include "model/InstallerModel.h"
#include "pages/Downloading.h"
#include "pages/Finished.h"
#include "pages/Welcome.h"

#include <gtest/gtest.h>

namespace shell_testing
{
inline std::string text (const std::unique_ptr<juce::Label>& label)
{
    return label->getText().toStdString();
}

/** The application, started once per process as main starts it but in a private home, with a
    fresh window for each test over its model, reset: no check run, no outcome, English,
    downloadFolder an empty folder of its own. */
class ShellWindowTest : public ::testing::Test
{
protected:
    void SetUp() override;

    MainComponent& mainComponent() { return *MainComponent::getInstance(); }
    Welcome& welcome() { return dynamic_cast<Welcome&> (*mainComponent().getPages()[0]); }
    Downloading& downloading()
    {
        return dynamic_cast<Downloading&> (*mainComponent().getPages()[1]);
    }
    Finished& finished() { return dynamic_cast<Finished&> (*mainComponent().getPages()[2]); }
    size_t currentPage() { return mainComponent().getCurrentPageIndex(); }

    void pressNext(); // as a user's click would
    void chooseLanguage (int id);

    InstallerModel* model = nullptr;
    juce::File downloadFolder;
};
} // namespace shell_testing
