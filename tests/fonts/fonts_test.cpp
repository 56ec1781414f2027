// The shipped faces can draw everything the game writes with them: every
// character has a glyph, and every visible character leaves ink.
#include <gtest/gtest.h>

#include <ft2build.h>
#include FT_FREETYPE_H

#include <string>
#include <vector>

namespace {

// Texts drawn with "Fonts\DigitalDream.ttf": notices, status bar, progress
// map, pause, help, editor prompt, options, high scores, initials, game over.
// clang-format off
const char *const plainTexts[] = {
    "LOADING DELVORN", "L O A D I N G", "LOADING LEVEL ", "MAP LOAD ERROR - Check Log File Please",
    "CONGRATULATIONS. LEVEL ", " COMPLETE", "G E T    R E A D Y!", "LIVES: ", "LEVEL: ", "ITEMS: ",
    "BOMBS: ", "SCORE: ", "DELVORN Progress MAP", "Game Options",
    "Up/Down to move, Left/Right Change, SPACE - Done", "Sound Volume", "Music Volume", "Sound State",
    "Sound On Music On", "Sound On Music Off", "Sound Off Music On", "Sound Off Music Off", "Screen Mode",
    "Use INI File", "JoyStick", "JoyStick ENABLED", "JoyStick DISABLED", "-", "|", "DELVORN HALL OF FAME",
    "Press <SPACE> to EXIT.", "ZUB", "CONGRATULATIONS", "You made it into the hall of fame",
    "Press <ENTER> to SAVE.", "Press <up> for letter up, <down> for letter down.",
    "Press <Left> for previous field, <right> for next.", "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789",
    "DELVORN PAUSED", "STATUS", "Current Lives", "Bombs", "Current Level", "Items Left", "Score",
    "...Press SPACE to resume game...", "EDITOR MODE", "ENTER EDITOR MODE? (Y/N)", "HELP",
    "Collect all items then head for the exit.", "The exit door won't open until all items are collected.",
    "Use Keys: Left, Right, Up, Down to move.", "Use: Space to drop bombs if you have any.",
    "Dig under $$ bags to drop them.", "Eat potions so you can eat the enemies.",
    "Use: F1/Help, P/Pause, S/SaveScreen ESC/Exit.", "TIP: Press UP under a $$ bag to hold it in place.",
    "TIP: Push $$ bags left and right when clear on both sides.",
    "TIP: Drop $$ bags on enemies to squash them.", "TIP: If an enemy dies 5 times, it won't come back.",
    "Hearts give you an extra life.", "Bomb items give you an extra bomb.",
    "+ / - Change Layers, 1 / 2 Change Level Number", "PgUP/PgDn - Change Tiles/Objects",
    "ENTER/SPACE - Drop Tile", "F2 - Exit Editor", "F3 - Clear Current Layer.", "F4 - Fill Current Layer.",
    "F5 Toggle Blocks/Objects.", "F6 - Save Map / F7 - Load Map / F8 - Show Level.", "TOPS ",
    "Special Objects (Bomb, Heart, Potion, Money) on layer 2.", "All Collectibles on layer 2.",
    "Exit tile (0) on layer 0", "Shield tiles on layer 1.", "Transparent tiles and enemy home on layer 1.",
    "...Press SPACE to resume Editing...", "G A M E  O V E R", "GAME DESIGN", "GAME PROGRAMMING",
    "ARTIFICIAL INTELLIGENCE", "SOUND AND MUSIC", "GAME ART", "SPECIAL THANKS", "PUBLISHED BY",
    "LEAVE THIS GAME? Y/N", "SCORE ", "PRESS A KEY",
    "0123456789-", // numbers, negative ones too
};
// clang-format on

// Texts drawn with "Fonts\DigitalDreamFat.ttf": menu, game won, the scroller.
// clang-format off
const char *const fatTexts[] = {
    "START NEW GAME",  "SET GAME OPTIONS",        "VIEW HIGH SCORES",    "VIEW CREDITS", "EXIT GAME",
    "!! GREAT JOB !!", "SCORE ", "L   E   V   E   L  .   ", "   .               ", "0123456789",
};
// clang-format on

// Names, addresses and mottos of the credits are free text: the whole
// printable ASCII range keeps them safe.
std::string PrintableAscii()
{
    std::string s;
    for (char c = ' '; c <= '~'; c++)
        s += c;
    return s;
}

// The characters of texts that have no glyph, or that draw nothing although
// they are not blank. Empty when the face can draw them all.
std::string Missing(const std::string &path, const std::vector<std::string> &texts)
{
    FT_Library lib;
    FT_Face face;
    if (FT_Init_FreeType(&lib) != 0)
        return "(no FreeType)";
    if (FT_New_Face(lib, path.c_str(), 0, &face) != 0) {
        FT_Done_FreeType(lib);
        return "(cannot open " + path + ")";
    }
    FT_Set_Pixel_Sizes(face, 0, 14);
    std::string missing;
    for (const std::string &text : texts)
        for (unsigned char c : text) {
            if (missing.find((char)c) != std::string::npos)
                continue;
            FT_UInt index = FT_Get_Char_Index(face, c);
            bool ok = index != 0 && FT_Load_Glyph(face, index, FT_LOAD_RENDER) == 0;
            if (ok && c != ' ')
                ok = face->glyph->bitmap.width > 0 && face->glyph->bitmap.rows > 0;
            if (ok && c == ' ')
                ok = face->glyph->advance.x > 0;
            if (!ok)
                missing += (char)c;
        }
    FT_Done_Face(face);
    FT_Done_FreeType(lib);
    return missing;
}

TEST(Fonts, TheMainFaceDrawsEveryCharacterOfItsTexts)
{
    std::vector<std::string> texts(std::begin(plainTexts), std::end(plainTexts));
    texts.push_back(PrintableAscii());
    EXPECT_EQ(Missing(DELVORN_GAME_DIR "/Fonts/DigitalDream.ttf", texts), "");
}

TEST(Fonts, TheFatFaceDrawsEveryCharacterOfItsTexts)
{
    std::vector<std::string> texts(std::begin(fatTexts), std::end(fatTexts));
    texts.push_back(PrintableAscii());
    EXPECT_EQ(Missing(DELVORN_GAME_DIR "/Fonts/DigitalDreamFat.ttf", texts), "");
}

}  // namespace
