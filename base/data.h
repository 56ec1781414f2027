// data.h: the entries of Data.dat by name, and the kind of object each one
// holds. The game, the data file builder and the art all number the data
// file from here; the builder refuses a file that disagrees with it.
#ifndef DELVORN_DATA_H
#define DELVORN_DATA_H

enum DataEntry : int {
    PIC_BLOCK = 2,  // block code c shows PIC_BLOCK + c, codes 0..73
    PIC_BLOCK_LAST = 75,
    SFX_BOMB_DROPPED = 76,
    PIC_POTION_SIGN = 77,  // the potion's power, drawn turning
    PIC_OBJECT = 78,       // object code c shows PIC_OBJECT + c, codes 0..26
    PIC_BAG = 90,          // the bag start's tile is the bag itself
    PIC_GOLD = 91,         // what a burst bag leaves
    PIC_BOMB = 94,         // three burning frames: the bomb tiles 16..18
    PIC_OBJECT_LAST = 104,
    SFX_LAUNCH = 105,
    SFX_EXIT = 106,
    SFX_SHIELDS_OPEN = 107,
    PIC_BLAST = 111,  // a bomb going off; 124 on belongs to the first enemy
    PIC_BLAST_LAST = 123,
    PIC_ENEMY = 124,  // each enemy's frames follow the one before's
    PIC_ENEMY_LAST = 199,
    SFX_BOMB_BLAST = 200,
    MUS_GAME_OVER = 201,
    SFX_INITIALS = 202,
    SFX_BOMB_PICKUP = 203,
    SFX_HEART = 204,
    SFX_POTION = 205,
    SFX_GOLD = 206,  // gold taken, by the hero or an enemy
    SFX_ITEM = 207,
    PIC_HEART = 208,
    MUS_HIGH_SCORES = 213,
    SFX_TITLE = 215,
    PIC_MARKER = 216,  // the menu's pointer, three frames
    PIC_MENU = 219,
    MUS_MENU = 220,
    SFX_CLICK_DOWN = 221,
    SFX_CLICK_UP = 222,
    MUS_LEVEL = 223,  // ten level tunes
    MUS_LEVEL_LAST = 232,
    SFX_BAG_FALLS = 233,
    SFX_BAG_BURSTS = 234,  // also "LOADING LEVEL", level done, the credits
    SFX_BAG_WOBBLES = 235,
    SFX_ENEMY_KILLED = 236,
    PIC_HERO = 237,
    PIC_BACKDROP = 292,
    SFX_HERO_CAUGHT = 293,
    SFX_HERO_KILLED = 294,
    PIC_PROGRESS_MAP = 295,
    MUS_CLOSING = 296,
    SFX_GAME_OVER = 297,
    PIC_STATUS_PANEL = 298,
    PIC_POTION = 299,
    PIC_TROPHY = 301,
    PIC_SPARK = 302,
    MUS_CREDITS = 306,
    PIC_TITLE = 307,
    MUS_GAME_WON = 308,
    DATA_ENTRY_COUNT = 309
};

// Frames per figure; each runs from its first entry above.
enum {
    HERO_FRAMES = 55,
    HEART_FRAMES = 5,
    POTION_FRAMES = 2,
    MARKER_FRAMES = 3,
    BLAST_FRAMES = PIC_BLAST_LAST - PIC_BLAST + 1,
    ENEMY_KINDS = 5,
};
inline constexpr int enemyFrames[ENEMY_KINDS] = {14, 16, 12, 16, 18};

// First picture of enemy kind 0..4.
constexpr int EnemyFirstPicture(int enemy)
{
    int entry = PIC_ENEMY;
    for (int e = 0; e < enemy; e++)
        entry += enemyFrames[e];
    return entry;
}
static_assert(EnemyFirstPicture(ENEMY_KINDS) == PIC_ENEMY_LAST + 1,
              "the enemies' frames fill their entries exactly");

enum EntryKind { ENTRY_UNUSED, ENTRY_BITMAP, ENTRY_SAMPLE, ENTRY_MIDI };

// The kind of every entry, in runs; entries the game never touches are
// left out and read as ENTRY_UNUSED.
struct EntryRun {
    int first, last;
    EntryKind kind;
};
inline constexpr EntryRun entryRuns[] = {
    {PIC_BLOCK, PIC_BLOCK_LAST, ENTRY_BITMAP},
    {SFX_BOMB_DROPPED, SFX_BOMB_DROPPED, ENTRY_SAMPLE},
    {PIC_POTION_SIGN, PIC_POTION_SIGN, ENTRY_BITMAP},
    {PIC_OBJECT, PIC_OBJECT_LAST, ENTRY_BITMAP},
    {SFX_LAUNCH, SFX_SHIELDS_OPEN, ENTRY_SAMPLE},
    {PIC_BLAST, PIC_ENEMY_LAST, ENTRY_BITMAP},
    {SFX_BOMB_BLAST, SFX_BOMB_BLAST, ENTRY_SAMPLE},
    {MUS_GAME_OVER, MUS_GAME_OVER, ENTRY_MIDI},
    {SFX_INITIALS, SFX_ITEM, ENTRY_SAMPLE},
    {PIC_HEART, PIC_HEART + HEART_FRAMES - 1, ENTRY_BITMAP},
    {MUS_HIGH_SCORES, MUS_HIGH_SCORES, ENTRY_MIDI},
    {SFX_TITLE, SFX_TITLE, ENTRY_SAMPLE},
    {PIC_MARKER, PIC_MENU, ENTRY_BITMAP},
    {MUS_MENU, MUS_MENU, ENTRY_MIDI},
    {SFX_CLICK_DOWN, SFX_CLICK_UP, ENTRY_SAMPLE},
    {MUS_LEVEL, MUS_LEVEL_LAST, ENTRY_MIDI},
    {SFX_BAG_FALLS, SFX_ENEMY_KILLED, ENTRY_SAMPLE},
    {PIC_HERO, PIC_BACKDROP, ENTRY_BITMAP},
    {SFX_HERO_CAUGHT, SFX_HERO_KILLED, ENTRY_SAMPLE},
    {PIC_PROGRESS_MAP, PIC_PROGRESS_MAP, ENTRY_BITMAP},
    {MUS_CLOSING, MUS_CLOSING, ENTRY_MIDI},
    {SFX_GAME_OVER, SFX_GAME_OVER, ENTRY_SAMPLE},
    {PIC_STATUS_PANEL, PIC_SPARK, ENTRY_BITMAP},
    {MUS_CREDITS, MUS_CREDITS, ENTRY_MIDI},
    {PIC_TITLE, PIC_TITLE, ENTRY_BITMAP},
    {MUS_GAME_WON, MUS_GAME_WON, ENTRY_MIDI},
};

constexpr EntryKind EntryKindOf(int entry)
{
    for (const EntryRun &r : entryRuns)
        if (entry >= r.first && entry <= r.last)
            return r.kind;
    return ENTRY_UNUSED;
}
static_assert(PIC_HERO + HERO_FRAMES == PIC_BACKDROP, "the hero's frames end at the backdrop");
static_assert(PIC_MARKER + MARKER_FRAMES == PIC_MENU, "the marker's frames end at the menu");

#endif
