#include "app/LarkspireDownloaderApplication.h"

#include <juce_gui_basics/juce_gui_basics.h>

#if JUCE_LINUX || JUCE_BSD
    #include <cstdio>
    #include <cstdlib>
    #include <dlfcn.h>
    #include <string>

namespace
{
/** JUCE's X11 layer crashes when it cannot reach a display, so ask Xlib ourselves first.
    libX11 is loaded at run time, as JUCE does, so the program links no X library. Returns
    an empty text when a display can be opened, else why not. */
std::string displayProblem()
{
    const char* name = std::getenv ("DISPLAY");

    if (name == nullptr || *name == 0)
        return "no display (DISPLAY is not set)";

    auto* library = dlopen ("libX11.so.6", RTLD_LAZY | RTLD_LOCAL);

    if (library == nullptr)
        return "cannot load libX11.so.6";

    using OpenDisplay = void* (*) (const char*);
    using CloseDisplay = int (*) (void*);
    auto openDisplay = reinterpret_cast<OpenDisplay> (dlsym (library, "XOpenDisplay"));
    auto closeDisplay = reinterpret_cast<CloseDisplay> (dlsym (library, "XCloseDisplay"));
    std::string problem = "cannot open the display \"" + std::string (name) + "\"";

    if (openDisplay != nullptr && closeDisplay != nullptr)
    {
        if (auto* display = openDisplay (nullptr))
        {
            problem.clear();
            closeDisplay (display);
        }
    }

    dlclose (library);
    return problem;
}
} // namespace
#endif

juce::JUCEApplicationBase* juce_CreateApplication();
juce::JUCEApplicationBase* juce_CreateApplication()
{
    return new larkspiredownloaderApplication();
}

int main (int argc, char* argv[])
{
#if JUCE_LINUX || JUCE_BSD
    if (const auto problem = displayProblem(); ! problem.empty())
    {
        std::fprintf (stderr, "larkspire-downloader: %s; it needs a graphical session\n",
                      problem.c_str());
        return 1;
    }
#endif

    juce::JUCEApplicationBase::createInstance = &juce_CreateApplication;
    return juce::JUCEApplicationBase::main (argc, const_cast<const char**> (argv));
}
