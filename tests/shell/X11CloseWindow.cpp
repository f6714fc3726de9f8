// Sends a window the close request a window manager's close button sends: a WM_PROTOCOLS
// client message carrying WM_DELETE_WINDOW. xdotool's windowclose destroys the window instead,
// and wmctrl needs a running window manager.
#include <X11/Xlib.h>

#include <cstdio>
#include <cstdlib>

int main (int argc, char** argv)
{
    if (argc != 2)
    {
        std::fprintf (stderr, "usage: x11-close-window WINDOW_ID\n");
        return 2;
    }

    const auto window = static_cast<Window> (std::strtoul (argv[1], nullptr, 0));
    auto* display = XOpenDisplay (nullptr);

    if (display == nullptr)
    {
        std::fprintf (stderr, "x11-close-window: cannot open the display\n");
        return 1;
    }

    XEvent event {};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom (display, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long> (XInternAtom (display, "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;

    const auto sent = XSendEvent (display, window, False, NoEventMask, &event);
    XSync (display, False);
    XCloseDisplay (display);
    return sent != 0 ? 0 : 1;
}
