// The built Data.dat, loaded the way the game loads it.
#include <allegro.h>
#include <gtest/gtest.h>

#include "base/datapass.h"
#include "base/picture_reader.h"
#include "tools/datbuild/assets.h"

namespace {

const char *kPath = DELVORN_GAME_DIR "/Data.dat";

class BuiltDataFile : public ::testing::Test {
protected:
    static DATAFILE *data;
    static void SetUpTestSuite()
    {
        install_allegro(SYSTEM_NONE, &errno, atexit);
        set_color_depth(16);
        set_color_conversion(COLORCONV_TOTAL | COLORCONV_KEEP_TRANS);
        char password[18];
        UnscrambleDataPassword(password);
        packfile_password(password);
        WipeDataPassword(password);
        data = load_datafile(kPath);
        packfile_password(nullptr);
    }
    static void TearDownTestSuite()
    {
        if (data)
            unload_datafile(data);
        data = nullptr;
    }
    BITMAP *Bitmap(int entry) { return (BITMAP *)data[entry].dat; }
};
DATAFILE *BuiltDataFile::data = nullptr;

TEST_F(BuiltDataFile, OpensOnlyWithThePassword)
{
    ASSERT_NE(data, nullptr);
    packfile_password(nullptr);
    EXPECT_EQ(load_datafile(kPath), nullptr);
}

TEST_F(BuiltDataFile, EveryEntryHasItsKind)
{
    ASSERT_NE(data, nullptr);
    for (int e = 0; e < DATA_ENTRY_COUNT; e++) {
        ASSERT_NE(data[e].type, DAT_END) << "file ends before entry " << e;
        ASSERT_NE(data[e].dat, nullptr) << e;
        switch (EntryKindOf(e)) {
        case ENTRY_BITMAP:
            EXPECT_EQ(data[e].type, DAT_BITMAP) << e;
            EXPECT_EQ(bitmap_color_depth(Bitmap(e)), 16) << e;
            break;
        case ENTRY_SAMPLE: EXPECT_EQ(data[e].type, DAT_SAMPLE) << e; break;
        case ENTRY_MIDI: EXPECT_EQ(data[e].type, DAT_MIDI) << e; break;
        case ENTRY_UNUSED: break;
        }
    }
    EXPECT_EQ(data[DATA_ENTRY_COUNT].type, DAT_END);
}

// The game reads pictures a row at a time: it must make Allegro's bitmaps,
// in the layout a headless Allegro packs colours in and in the 5-6-5 of a
// 16-bit screen.
TEST_F(BuiltDataFile, RowReaderMakesWhatAllegrosReaderMakes)
{
    ASSERT_NE(data, nullptr);
    const int shifts[3] = {_rgb_r_shift_16, _rgb_g_shift_16, _rgb_b_shift_16};
    auto Load = [](bool screenLayout, const int *headless) {
        _rgb_r_shift_16 = screenLayout ? 11 : headless[0];
        _rgb_g_shift_16 = screenLayout ? 5 : headless[1];
        _rgb_b_shift_16 = screenLayout ? 0 : headless[2];
        char password[18];
        UnscrambleDataPassword(password);
        packfile_password(password);
        WipeDataPassword(password);
        DATAFILE *d = load_datafile(kPath);
        packfile_password(nullptr);
        return d;
    };
    DATAFILE *allegros[2] = {data, Load(true, shifts)};
    UseRowPictureReader();
    for (int screenLayout = 0; screenLayout < 2; screenLayout++) {
        DATAFILE *rows = Load(screenLayout, shifts);
        ASSERT_NE(rows, nullptr);
        for (int e = 0; e < DATA_ENTRY_COUNT; e++) {
            if (EntryKindOf(e) != ENTRY_BITMAP)
                continue;
            BITMAP *a = (BITMAP *)allegros[screenLayout][e].dat, *b = (BITMAP *)rows[e].dat;
            ASSERT_EQ(bitmap_color_depth(b), 16) << e;
            ASSERT_EQ(a->w, b->w) << e;
            ASSERT_EQ(a->h, b->h) << e;
            for (int y = 0; y < a->h; y++)
                ASSERT_EQ(0, memcmp(a->line[y], b->line[y], a->w * 2)) << "entry " << e << " row " << y;
        }
        unload_datafile(rows);
    }
    unload_datafile(allegros[1]);
    _rgb_r_shift_16 = shifts[0];
    _rgb_g_shift_16 = shifts[1];
    _rgb_b_shift_16 = shifts[2];
}

TEST_F(BuiltDataFile, KindTableFollowsTheEntryList)
{
    // Spot checks where neighbouring entries change kind.
    EXPECT_EQ(EntryKindOf(1), ENTRY_UNUSED);
    EXPECT_EQ(EntryKindOf(2), ENTRY_BITMAP);
    EXPECT_EQ(EntryKindOf(76), ENTRY_SAMPLE);
    EXPECT_EQ(EntryKindOf(77), ENTRY_BITMAP);
    EXPECT_EQ(EntryKindOf(110), ENTRY_UNUSED);
    EXPECT_EQ(EntryKindOf(126), ENTRY_BITMAP);
    EXPECT_EQ(EntryKindOf(199), ENTRY_BITMAP);
    EXPECT_EQ(EntryKindOf(200), ENTRY_SAMPLE);
    EXPECT_EQ(EntryKindOf(201), ENTRY_MIDI);
    EXPECT_EQ(EntryKindOf(214), ENTRY_MIDI);  // the progress map's tune
    EXPECT_EQ(EntryKindOf(215), ENTRY_SAMPLE);
    EXPECT_EQ(EntryKindOf(292), ENTRY_BITMAP);
    EXPECT_EQ(EntryKindOf(294), ENTRY_SAMPLE);
    EXPECT_EQ(EntryKindOf(296), ENTRY_MIDI);
    EXPECT_EQ(EntryKindOf(305), ENTRY_UNUSED);
    EXPECT_EQ(EntryKindOf(308), ENTRY_MIDI);
}

// The builder's refusal: what the generators made must be what the table
// holds, in both directions.
TEST(EntryTable, BuilderRefusesContentThatDisagreesWithTheTable)
{
    Picture picture;
    picture.width = picture.height = 32;
    picture.pixels.assign(32 * 32, 0);
    Picture none;
    none.width = none.height = 1;
    none.pixels.assign(1, 0xFF00FF);
    Sample sample;
    sample.frames.assign(100, 0);
    MidiTune tune;
    tune.tracks.push_back({0x00, 0xFF, 0x2F, 0x00});
    struct Case {
        int entry;
        const Picture &picture;
        Sample sample;
        MidiTune tune;
        bool agrees;
    } cases[] = {
        {PIC_HERO, picture, {}, {}, true},
        {SFX_EXIT, none, sample, {}, true},
        {MUS_MENU, none, {}, tune, true},
        {1, none, {}, {}, true},
        {PIC_HERO, none, {}, {}, false},             // a picture entry without a picture
        {SFX_EXIT, none, {}, {}, false},             // a sound entry without a sound
        {MUS_MENU, none, {}, {}, false},             // a tune entry without a tune
        {1, picture, {}, {}, false},                 // a picture where the table holds none
        {PIC_BACKDROP, picture, sample, {}, false},  // a sound beside a picture
        {SFX_EXIT, none, sample, tune, false},       // a tune beside a sound
    };
    for (const Case &c : cases)
        EXPECT_EQ(EntryDisagreement(c.entry, c.picture, c.sample, c.tune).empty(), c.agrees) << c.entry;
}

TEST_F(BuiltDataFile, PicturesHaveTheSizesTheScreensDrawThem)
{
    ASSERT_NE(data, nullptr);
    for (int e = 0; e < DATA_ENTRY_COUNT; e++) {
        if (EntryKindOf(e) != ENTRY_BITMAP || e == 77 || e == 302)
            continue;
        BITMAP *b = Bitmap(e);
        if (e == 219 || e == 292 || e == 307) {
            EXPECT_EQ(b->w, 800) << e;
            EXPECT_EQ(b->h, 600) << e;
        } else if (e == 298) {
            EXPECT_EQ(b->w, 800);
            EXPECT_EQ(b->h, 55);
        } else if (e == 295) {
            // Drawn at (100, 100) inside the frame (99, 99)-(700, 507).
            EXPECT_LE(b->w, 600);
            EXPECT_LE(b->h, 407);
            EXPECT_GE(b->w, 512);  // reaches past the last marker cell
            EXPECT_GE(b->h, 290);
        } else {
            EXPECT_EQ(b->w, 32) << e;
            EXPECT_EQ(b->h, 32) << e;
        }
    }
    // Turned about its corner and drawn where the particles fly.
    EXPECT_GE(Bitmap(77)->w, 32);
    EXPECT_LE(Bitmap(77)->w, 64);
    EXPECT_LE(Bitmap(302)->w, 32);
}

TEST_F(BuiltDataFile, SpritesAreSeeThroughAroundTheirFigure)
{
    ASSERT_NE(data, nullptr);
    const int sprites[] = {90, 91, 94, 97, 100, 124, 138, 154, 166, 182, 208, 237, 299, 301, 302};
    for (int e : sprites) {
        BITMAP *b = Bitmap(e);
        const int mask = bitmap_mask_color(b);
        EXPECT_EQ(getpixel(b, 0, 0), mask) << e;
        EXPECT_NE(getpixel(b, b->w / 2, b->h / 2), mask) << e;
    }
    // The tunnel and earth fill their cell: no backdrop shows through them.
    for (int e : {3, 73}) {
        BITMAP *b = Bitmap(e);
        for (int y = 0; y < b->h; y++)
            for (int x = 0; x < b->w; x++)
                ASSERT_NE(getpixel(b, x, y), bitmap_mask_color(b)) << e;
    }
}

TEST_F(BuiltDataFile, SequencesShowDistinctPoses)
{
    ASSERT_NE(data, nullptr);
    auto same = [&](int a, int b) {
        BITMAP *x = Bitmap(a), *y = Bitmap(b);
        for (int j = 0; j < 32; j++)
            for (int i = 0; i < 32; i++)
                if (getpixel(x, i, j) != getpixel(y, i, j))
                    return false;
        return true;
    };
    // Walking frames move; left and right are different pictures.
    EXPECT_FALSE(same(237 + 13, 237 + 14));
    EXPECT_FALSE(same(237 + 13, 237 + 33));
    EXPECT_FALSE(same(237 + 7, 237 + 9));  // squashed further
    EXPECT_FALSE(same(94, 95));            // the fuse burns
    EXPECT_FALSE(same(124, 128));          // enemy 1 left and right
    EXPECT_FALSE(same(73, 11));            // a progress marker blinks
}

}  // namespace
