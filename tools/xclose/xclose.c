/* xclose: asks the top-level window whose title contains TEXT to close, the
 * way a window manager's close button does (WM_DELETE_WINDOW). Exits 0 when a
 * window got the request, 1 when none matched. Usage: xclose TEXT
 * The soak script, the Windows checks and the test support all press the
 * close button through this one file (the tests build it without main). */
#include "tools/xclose/xclose.h"

#include <X11/Xutil.h>
#include <stdio.h>
#include <string.h>

static int Matches(Display *d, Window w, const char *text)
{
    XTextProperty prop;
    int found = 0;
    if (XGetWMName(d, w, &prop) && prop.value) {
        found = strstr((const char *)prop.value, text) != NULL;
        XFree(prop.value);
    }
    return found;
}

static int CloseIn(Display *d, Window parent, const char *text, Atom protocols, Atom del)
{
    Window root, up, *children = NULL;
    unsigned int n = 0, i;
    int closed = 0;
    if (!XQueryTree(d, parent, &root, &up, &children, &n))
        return 0;
    for (i = 0; i < n; i++) {
        if (Matches(d, children[i], text)) {
            XEvent ev;
            memset(&ev, 0, sizeof ev);
            ev.xclient.type = ClientMessage;
            ev.xclient.window = children[i];
            ev.xclient.message_type = protocols;
            ev.xclient.format = 32;
            ev.xclient.data.l[0] = (long)del;
            ev.xclient.data.l[1] = CurrentTime;
            XSendEvent(d, children[i], False, NoEventMask, &ev);
            closed = 1;
        } else if (CloseIn(d, children[i], text, protocols, del)) {
            closed = 1;
        }
    }
    if (children)
        XFree(children);
    return closed;
}

int CloseWindowsNamed(Display *d, const char *text)
{
    int closed = CloseIn(d, DefaultRootWindow(d), text, XInternAtom(d, "WM_PROTOCOLS", False),
                         XInternAtom(d, "WM_DELETE_WINDOW", False));
    XFlush(d);
    return closed;
}

#ifndef XCLOSE_NO_MAIN
int main(int argc, char **argv)
{
    Display *d;
    int closed;
    if (argc != 2) {
        fprintf(stderr, "usage: xclose TEXT\n");
        return 2;
    }
    d = XOpenDisplay(NULL);
    if (!d) {
        fprintf(stderr, "xclose: no display\n");
        return 2;
    }
    closed = CloseWindowsNamed(d, argv[1]);
    XCloseDisplay(d);
    return closed ? 0 : 1;
}
#endif
