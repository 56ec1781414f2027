/* xclose.h: pressing a window's close button from outside, for tests and
 * scripts. */
#ifndef DELVORN_XCLOSE_H
#define DELVORN_XCLOSE_H

#include <X11/Xlib.h>

#ifdef __cplusplus
extern "C" {
#endif

/* Sends WM_DELETE_WINDOW to every window whose title contains text;
 * non-zero when one got it. */
int CloseWindowsNamed(Display *d, const char *text);

#ifdef __cplusplus
}
#endif

#endif
