// display.cpp: see display.h.
#include "platform/display/display.h"

#if defined(ALLEGRO_UNIX) && !defined(ALLEGRO_MACOSX)
#define DELVORN_X11
#include "delvorn_icon.xpm"

// Allegro's X11 driver, not in its installed headers: the icon it gives the
// windows it creates, the window's class, the flag that holds back its
// row-by-row updates while a drawing call runs, and the update itself.
extern "C" {
extern void *allegro_icon;
extern int _xwin_in_gfx_call;
void xwin_set_window_name(const char *name, const char *group);
void _xwin_update_screen(int x, int y, int w, int h);
}

static bool ScreenIsXWindow()
{
    return screen && gfx_driver &&
           (gfx_driver->id == GFX_XWINDOWS || gfx_driver->id == GFX_XWINDOWS_FULLSCREEN);
}
#endif

void NameGameWindow(const char *windowClass)
{
#ifdef DELVORN_X11
    allegro_icon = (void *)delvornIcon;
    xwin_set_window_name(windowClass, windowClass);
#else
    (void)windowClass;
#endif
}

void BeginScreenRows()
{
    acquire_screen();
#ifdef DELVORN_X11
    if (ScreenIsXWindow())
        _xwin_in_gfx_call = 1;
#endif
}

void EndScreenRows(int x, int y, int w, int h)
{
#ifdef DELVORN_X11
    if (ScreenIsXWindow()) {
        _xwin_in_gfx_call = 0;
        bmp_unwrite_line(screen);
        _xwin_update_screen(x, y, w, h);
        release_screen();
        return;
    }
#endif
    (void)x, (void)y, (void)w, (void)h;
    bmp_unwrite_line(screen);
    release_screen();
}
