#include <gtest/gtest.h>
#include <juce_gui_basics/juce_gui_basics.h>

#include "support/RunAllTests.h"

namespace
{
/** JUCE's X11 layer sets itself up for a standalone app only when an application factory is
    registered; the tests need that without running an application. */
class TestApplication final : public juce::JUCEApplication
{
public:
    const juce::String getApplicationName() override { return "larkspire-downloader-tests"; }
    const juce::String getApplicationVersion() override { return "1.0.0"; }
    void initialise (const juce::String&) override {}
    void shutdown() override {}
};

juce::JUCEApplicationBase* createTestApplication()
{
    return new TestApplication();
}
} // namespace

int main (int argc, char** argv)
{
    testing::InitGoogleTest (&argc, argv);

    juce::JUCEApplicationBase::createInstance = &createTestApplication;
    int result = 0;
    {
        const juce::ScopedJuceInitialiser_GUI juceInitialiser;
        result = testing_support::runAllTestsRequiringSome();
        juce::Desktop::getInstance().setDefaultLookAndFeel (nullptr);
    }
    return result;
}
