// screenfont.cpp: see screenfont.h.
#include "base/screenfont.h"

#include <string>

#include "base/log.h"
#include "platform/paths/paths.h"

const char *const plainFontPath = "Fonts\\DigitalDream.ttf";
const char *const boldFontPath = "Fonts\\DigitalDreamFat.ttf";

ALFONT_FONT *LoadGameFont(const char *gamePath)
{
    const std::string path = NativePath(gamePath);
    ALFONT_FONT *font = alfont_load_font(path.c_str());
    if (!font && gameLog)
        gameLog->Printf("Unable to load the font %s\n", path.c_str());
    return font;
}

bool ScreenFont::Load(const char *gamePath)
{
    Free();
    font = LoadGameFont(gamePath);
    alfont_text_mode(-1);
    return font != nullptr;
}

void ScreenFont::Free()
{
    if (font)
        alfont_destroy_font(font);
    font = nullptr;
}
