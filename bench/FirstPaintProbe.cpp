// Starts the application several times on the current X display and measures the time from
// starting the process to the first frame of its window on screen (the header band and the
// page area painted). Polls the X server's pixels every millisecond; no window manager needed.
//
//   look_first_paint <application> [runs]
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace
{
using Clock = std::chrono::steady_clock;

constexpr unsigned long headerColour = 0x5f5f66;
constexpr unsigned long pageColour = 0xf5f5f5;

// Every window with that name: JUCE names a hidden helper window the same as the main one.
void findWindows (Display* display, Window parent, const char* name, std::vector<Window>& found)
{
    Window root = 0, parentOut = 0, *children = nullptr;
    unsigned int count = 0;

    if (XQueryTree (display, parent, &root, &parentOut, &children, &count) == 0)
        return;

    for (unsigned int i = 0; i < count; ++i)
    {
        // The name may be stored as UTF8_STRING, which XFetchName does not return.
        XTextProperty property {};

        if (XGetWMName (display, children[i], &property) != 0 && property.value != nullptr)
        {
            if (std::string (reinterpret_cast<const char*> (property.value), property.nitems) ==
                name)
                found.push_back (children[i]);
            XFree (property.value);
        }

        findWindows (display, children[i], name, found);
    }

    if (children != nullptr)
        XFree (children);
}

int ignoreErrors (Display*, XErrorEvent*)
{
    return 0;
}

unsigned long pixelAt (Display* display, Window window, int x, int y)
{
    XImage* image = XGetImage (display, window, x, y, 1, 1, AllPlanes, ZPixmap);

    if (image == nullptr)
        return ~0ul;

    auto pixel = XGetPixel (image, 0, 0) & 0xffffff;
    XDestroyImage (image);
    return pixel;
}

double runOnce (Display* display, const char* application, const std::string& home)
{
    auto start = Clock::now();
    pid_t child = fork();

    if (child == 0)
    {
        setenv ("HOME", home.c_str(), 1);
        // Nothing to hand over to, and an update server that refuses at once: the window is
        // shown as on a first start, without reaching out to the network.
        setenv ("LARKSPIRE_APPLICATIONS_DIR", (home + "/Applications").c_str(), 1);
        setenv ("LARKSPIRE_UPDATE_SERVER", "http://127.0.0.1:9", 1);
        execl (application, application, (char*) nullptr);
        _exit (127);
    }

    double elapsed = -1.0;

    while (elapsed < 0.0 && Clock::now() - start < std::chrono::seconds (20))
    {
        std::vector<Window> windows;
        findWindows (display, DefaultRootWindow (display), "larkspire-downloader", windows);

        for (auto window : windows)
        {
            XWindowAttributes attributes {};

            if (XGetWindowAttributes (display, window, &attributes) != 0 &&
                attributes.map_state == IsViewable &&
                pixelAt (display, window, attributes.width - 8, 6) == headerColour &&
                pixelAt (display, window, attributes.width / 2, attributes.height - 6) ==
                    pageColour)
            {
                elapsed = std::chrono::duration<double, std::milli> (Clock::now() - start).count();
                break;
            }
        }

        if (elapsed < 0.0)
            std::this_thread::sleep_for (std::chrono::milliseconds (1));
    }

    kill (child, SIGTERM);
    int status = 0;

    for (int i = 0; i < 300 && waitpid (child, &status, WNOHANG) == 0; ++i)
        std::this_thread::sleep_for (std::chrono::milliseconds (10));

    if (waitpid (child, &status, WNOHANG) == 0)
    {
        kill (child, SIGKILL);
        waitpid (child, &status, 0);
    }

    return elapsed;
}
} // namespace

int main (int argc, char** argv)
{
    if (argc < 2)
    {
        std::fprintf (stderr, "usage: %s <application> [runs]\n", argv[0]);
        return 2;
    }

    const int runs = argc > 2 ? std::atoi (argv[2]) : 10;
    Display* display = XOpenDisplay (nullptr);

    if (display == nullptr)
    {
        std::fprintf (stderr, "no X display\n");
        return 1;
    }

    XSetErrorHandler (ignoreErrors);

    char folder[] = "/tmp/larkspire-first-paint-XXXXXX";

    if (mkdtemp (folder) == nullptr)
        return 1;

    std::system ((std::string ("mkdir -p ") + folder + "/Applications").c_str());

    std::vector<double> times;

    for (int run = 0; run < runs; ++run)
    {
        auto ms = runOnce (display, argv[1], folder);

        if (ms < 0)
            std::printf ("run %2d: no painted window within 20 s\n", run + 1);
        else
            std::printf ("run %2d: %.1f ms\n", run + 1, ms);

        std::fflush (stdout);

        if (ms >= 0)
            times.push_back (ms);
    }

    std::system ((std::string ("rm -rf ") + folder).c_str());
    XCloseDisplay (display);

    if (times.empty())
        return 1;

    std::sort (times.begin(), times.end());
    std::printf ("process start to first painted window: min %.1f ms, median %.1f ms, max %.1f ms "
                 "over %zu runs\n",
                 times.front(), times[times.size() / 2], times.back(), times.size());
    return 0;
}
