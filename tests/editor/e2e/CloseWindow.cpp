// Asks an X11 window to close the way a window manager's close button does (WM_DELETE_WINDOW),
// so that the application runs its own closing code. The end-to-end script needs this on a
// virtual display without a window manager.
//   brisca_close_window --prepare     before the application starts
//   brisca_close_window <window id>
// The framework only offers WM_DELETE_WINDOW on its windows when that atom already exists on
// the display as it starts, which a bare X server without a window manager never has; --prepare
// creates the atoms (they live as long as the server does).
#include <X11/Xlib.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

int main (int argc, char** argv)
{
    if (argc != 2)
    {
        std::fprintf (stderr, "usage: %s --prepare | <window id>\n", argv[0]);
        return 2;
    }
    Display* display = XOpenDisplay (nullptr);
    if (display == nullptr)
    {
        std::fprintf (stderr, "close-window: no display\n");
        return 1;
    }
    const Atom protocols = XInternAtom (display, "WM_PROTOCOLS", False);
    const Atom deleteWindow = XInternAtom (display, "WM_DELETE_WINDOW", False);
    XInternAtom (display, "WM_TAKE_FOCUS", False);
    XInternAtom (display, "_NET_WM_PING", False);

    Status sent = 1;
    if (std::strcmp (argv[1], "--prepare") != 0)
    {
        const Window window = (Window) std::strtoul (argv[1], nullptr, 0);
        XEvent event {};
        event.xclient.type = ClientMessage;
        event.xclient.window = window;
        event.xclient.message_type = protocols;
        event.xclient.format = 32;
        event.xclient.data.l[0] = (long) deleteWindow;
        event.xclient.data.l[1] = CurrentTime;
        sent = XSendEvent (display, window, False, NoEventMask, &event);
    }
    XCloseDisplay (display); // flushes the requests
    return sent != 0 ? 0 : 1;
}
