// screenfont.cpp: see screenfont.h.
#include "base/screenfont.h"

#include "platform/paths/paths.h"

bool ScreenFont::Load(const char *gamePath)
{
    Free();
    font = alfont_load_font(NativePath(gamePath).c_str());
    alfont_text_mode(-1);
    return font != nullptr;
}

void ScreenFont::Free()
{
    if (font)
        alfont_destroy_font(font);
    font = nullptr;
}
