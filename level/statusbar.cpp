// statusbar.cpp: the row of five labelled numbers on the status panel.
#include "level/statusbar.h"

#include <allegro.h>
#include <string>

#include "base/resources.h"
#include "gameplay/figures.h"
#include "map/levelmap.h"

void DrawStatusBar()
{
    if (!mainFont || !backBuffer)
        return;
    alfont_text_mode(-1);
    alfont_set_font_size(mainFont, 14);
    const struct {
        const char *label;
        int value;
        int x;
    } fields[] = {
        {"LIVES: ", lives, 14},         {"LEVEL: ", currentLevel, 139}, {"ITEMS: ", itemsLeft, 261},
        {"BOMBS: ", bombCapacity, 384}, {"SCORE: ", score, 582},
    };
    int black = makecol(0, 0, 0);
    for (const auto &field : fields) {
        std::string text = field.label + std::to_string(field.value);
        alfont_textout_aa(backBuffer, mainFont, text.c_str(), field.x, 572, black);
    }
}
