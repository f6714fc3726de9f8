// Sends a window the close request a window manager's close button sends: a WM_PROTOCOLS client
// message carrying WM_DELETE_WINDOW. xdotool's windowclose destroys the window instead, and
// wmctrl needs a running window manager. Usage: x11-close-window WINDOW_ID
#include <X11/Xlib.h>

#include <cstdlib>

int main (int argc, char** argv)
{
    auto* display = XOpenDisplay (nullptr);
    if (argc != 2 || display == nullptr)
        return 2;

    XEvent event {};
    event.xclient.type = ClientMessage;
    event.xclient.window = static_cast<Window> (std::strtoul (argv[1], nullptr, 0));
    event.xclient.message_type = XInternAtom (display, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long> (XInternAtom (display, "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;

    const auto sent = XSendEvent (display, event.xclient.window, False, NoEventMask, &event);
    XSync (display, False);
    XCloseDisplay (display);
    return sent != 0 ? 0 : 1;
}
