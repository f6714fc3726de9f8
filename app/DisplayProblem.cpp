#include "app/DisplayProblem.h"

#include <juce_core/juce_core.h>

#if JUCE_LINUX || JUCE_BSD
    #include <cstdlib>
    #include <dlfcn.h>
#endif

std::string displayProblem()
{
#if JUCE_LINUX || JUCE_BSD
    const char* name = std::getenv ("DISPLAY");

    if (name == nullptr || *name == 0)
        return "no display (DISPLAY is not set)";

    // libX11 is loaded at run time, as JUCE does, so the program links no X library.
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
#else
    return {};
#endif
}
