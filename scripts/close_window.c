/* close_window.c: presses the close button of the window named "Delvorn"
 * (sends it the window manager's delete message), as a player would.
 * Used by soak.sh; exits 1 when there is no such window. */
#include <X11/Xlib.h>
#include <string.h>

int main(void)
{
    Display *d = XOpenDisplay(NULL);
    if (!d)
        return 2;
    Window root = DefaultRootWindow(d), parent, *children = NULL;
    unsigned count = 0;
    int sent = 0;
    if (XQueryTree(d, root, &root, &parent, &children, &count)) {
        for (unsigned i = 0; i < count && !sent; i++) {
            char *name = NULL;
            if (XFetchName(d, children[i], &name) && name) {
                if (strcmp(name, "Delvorn") == 0) {
                    XEvent ev;
                    memset(&ev, 0, sizeof ev);
                    ev.xclient.type = ClientMessage;
                    ev.xclient.window = children[i];
                    ev.xclient.message_type = XInternAtom(d, "WM_PROTOCOLS", False);
                    ev.xclient.format = 32;
                    ev.xclient.data.l[0] = XInternAtom(d, "WM_DELETE_WINDOW", False);
                    ev.xclient.data.l[1] = CurrentTime;
                    XSendEvent(d, children[i], False, NoEventMask, &ev);
                    sent = 1;
                }
                XFree(name);
            }
        }
        if (children)
            XFree(children);
    }
    XCloseDisplay(d);
    return sent ? 0 : 1;
}
