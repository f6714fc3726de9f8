#include <gtest/gtest.h>
#include <juce_gui_basics/juce_gui_basics.h>

#include "app/DisplayProblem.h"
#include "support/RunAllTests.h"
#include "tasks/BackgroundThreads.h"

#include <cstdio>

int main (int argc, char** argv)
{
    testing::InitGoogleTest (&argc, argv);

    // JUCE crashes without a display; listing the tests needs none.
    if (! testing::GTEST_FLAG (list_tests) && ! displayProblem().empty())
    {
        std::fputs ("needs an X display: run it through tools/with-xvfb.sh\n", stderr);
        return 1;
    }

    // JUCE's X11 layer sets itself up for a standalone app only when an application factory is
    // registered; nothing here asks it for an application.
    juce::JUCEApplicationBase::createInstance = []() -> juce::JUCEApplicationBase*
    { return nullptr; };
    int result = 0;
    {
        const juce::ScopedJuceInitialiser_GUI juceInitialiser;
        result = testing_support::runAllTestsRequiringSome();
        if (! BackgroundThreads::get().waitForAll (2000))
        {
            std::puts ("a background thread ran on after the tests");
            result = 1;
        }
        juce::Desktop::getInstance().setDefaultLookAndFeel (nullptr);
    }
    return result;
}
