// The floor under every start-up figure: a bare Xlib window of the main menu's size that
// draws four button outlines and their captions on each Expose.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <cstring>

int main() {
    Display *display = XOpenDisplay(nullptr);
    if (display == nullptr) {
        return 1;
    }
    const int screen = DefaultScreen(display);
    XSetWindowAttributes attributes{};
    // Like a toolkit window: the server paints no background, so the first drawing seen
    // on the window is the program's own.
    attributes.background_pixmap = None;
    attributes.event_mask = ExposureMask;
    const Window window =
        XCreateWindow(display, RootWindow(display, screen), 0, 0, 500, 333, 0, CopyFromParent,
                      InputOutput, CopyFromParent, CWBackPixmap | CWEventMask, &attributes);
    const char *title = "Main Menu";
    XStoreName(display, window, title);
    XChangeProperty(display, window, XInternAtom(display, "_NET_WM_NAME", False),
                    XInternAtom(display, "UTF8_STRING", False), 8, PropModeReplace,
                    reinterpret_cast<const unsigned char *>(title),
                    static_cast<int>(std::strlen(title)));
    XMapWindow(display, window);

    const GC gc = XCreateGC(display, window, 0, nullptr);
    const char *captions[] = {"Basic Model", "Intermediate Model", "Advanced Model", "Exit"};
    for (;;) {
        XEvent event;
        XNextEvent(display, &event);
        if (event.type != Expose || event.xexpose.count != 0) {
            continue;
        }
        XSetForeground(display, gc, WhitePixel(display, screen));
        XFillRectangle(display, window, gc, 0, 0, 500, 333);
        XSetForeground(display, gc, BlackPixel(display, screen));
        XDrawString(display, window, gc, 200, 40, "COCOMO Model", 12);
        int top = 120;
        for (const char *caption : captions) {
            XDrawRectangle(display, window, gc, 152, top, 200, 32);
            XDrawString(display, window, gc, 200, top + 20, caption,
                        static_cast<int>(std::strlen(caption)));
            top += 48;
        }
        XFlush(display);
    }
}
