#include <gtest/gtest.h>
#include <juce_gui_basics/juce_gui_basics.h>

#include "support/RunAllTests.h"

#include <X11/Xlib.h>

#include <cstdio>

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
} // namespace

int main (int argc, char** argv)
{
    testing::InitGoogleTest (&argc, argv);

    // JUCE crashes without a display, so ask Xlib first; listing the tests needs none.
    const bool listing = testing::GTEST_FLAG (list_tests);
    if (auto* display = listing ? nullptr : XOpenDisplay (nullptr))
        XCloseDisplay (display);
    else if (! listing)
    {
        std::fputs ("needs an X display: run it through tools/with-xvfb.sh\n", stderr);
        return 1;
    }

    juce::JUCEApplicationBase::createInstance = []() -> juce::JUCEApplicationBase*
    { return new TestApplication(); };
    int result = 0;
    {
        const juce::ScopedJuceInitialiser_GUI juceInitialiser;
        result = testing_support::runAllTestsRequiringSome();
        juce::Desktop::getInstance().setDefaultLookAndFeel (nullptr);
    }
    return result;
}
