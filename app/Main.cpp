#include "app/DisplayProblem.h"
#include "app/LarkspireDownloaderApplication.h"

#include <juce_gui_basics/juce_gui_basics.h>

#include <cstdio>

juce::JUCEApplicationBase* juce_CreateApplication();
juce::JUCEApplicationBase* juce_CreateApplication()
{
    return new larkspiredownloaderApplication();
}

int main (int argc, char* argv[])
{
    if (const auto problem = displayProblem(); ! problem.empty())
    {
        std::fprintf (stderr, "larkspire-downloader: %s; it needs a graphical session\n",
                      problem.c_str());
        return 1;
    }

    juce::JUCEApplicationBase::createInstance = &juce_CreateApplication;
    return juce::JUCEApplicationBase::main (argc, const_cast<const char**> (argv));
}
