// statusbar.cpp: the row of five labelled numbers on the status panel.
#include "level/statusbar.h"

#include <string>

#include "base/resources.h"
#include "gameplay/figures.h"
#include "map/levelmap.h"

StatusBarValues CurrentStatusBarValues()
{
    return {lives, currentLevel, itemsLeft, bombCapacity, score, mainFont};
}

void DrawStatusBar()
{
    DrawStatusBarOn(backBuffer);
}

void DrawStatusBarOn(BITMAP *target)
{
    if (!mainFont || !target)
        return;
    alfont_text_mode(-1);
    alfont_set_font_size(mainFont, 14);
    const StatusBarValues v = CurrentStatusBarValues();
    const struct {
        const char *label;
        int value;
        int x;
    } fields[] = {
        {"LIVES: ", v.lives, 14},  {"LEVEL: ", v.level, 139}, {"ITEMS: ", v.items, 261},
        {"BOMBS: ", v.bombs, 384}, {"SCORE: ", v.score, 582},
    };
    int black = makecol(0, 0, 0);
    for (const auto &field : fields) {
        std::string text = field.label + std::to_string(field.value);
        alfont_textout_aa(target, mainFont, text.c_str(), field.x, STATUS_BAR_Y, black);
    }
}
