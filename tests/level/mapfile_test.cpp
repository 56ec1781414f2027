// Level files: the game's load, the editor's load and save, the guarded
// cell access and the release of the live map.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstring>
#include <fstream>
#include <sys/stat.h>

#include "base/log.h"
#include "base/resources.h"
#include "gameplay/figures.h"
#include "level/levelsetup.h"
#include "level/mapfile.h"
#include "map/levelmap.h"
#include "tests/support/level_support.h"

namespace {

class MapFiles : public ::testing::Test {
protected:
    void SetUp() override
    {
        InstallFakeData();
        folder = EnterScratchFolder();
        OpenTestLog();
        ASSERT_EQ(1, InitCharacters());
        ResetLevel(1);
        ClearEditorMap();
    }
    void TearDown() override
    {
        ReleaseMap();
        DeleteCharacters();
        CloseTestLog();
        RemoveFakeData();
    }
    int LoadCodes(const std::vector<int32_t> &codes, int level = 1)
    {
        WriteCodes(folder + "/Maps/Zub" + std::to_string(level) + ".map", codes);
        return LoadMap(level);
    }
    std::string folder;
};

int FrameColour(const GameObject *cell, int frame)
{
    return getpixel(cell->frames[frame], 16, 16);
}

}  // namespace

TEST(MapFileName, NamesLevelsWithoutPadding)
{
    EXPECT_EQ("Maps\\Zub7.map", MapFileName(7));
    EXPECT_EQ("Maps\\Zub12.map", MapFileName(12));
}

TEST_F(MapFiles, EditorSaveThenGameLoadGivesTheSameCodes)
{
    editorLevel = 5;
    editorMap[0][3][4] = {0, 17};
    editorMap[0][0][0] = {1, 12};  // an object on layer 0 comes back as block 12
    editorMap[1][16][24] = {0, 9};
    editorMap[2][8][8] = {0, 5};  // a block on layer 2 comes back as object 5
    editorMap[2][1][1] = {1, 0};
    ASSERT_EQ(1, SaveEditorMap());

    std::vector<unsigned char> bytes = ReadBytes(folder + "/Maps/Zub5.map");
    ASSERT_EQ(5100u, bytes.size());
    int i = CellIndex(0, 3, 4) * 4;
    EXPECT_EQ((std::vector<unsigned char>{17, 0, 0, 0}),
              std::vector<unsigned char>(bytes.begin() + i, bytes.begin() + i + 4));
    EXPECT_EQ(0xff, bytes[4 * 1]);  // an empty cell is -1
    struct stat st;
    EXPECT_NE(0, stat((folder + "/Maps/Zub5.map.tmp").c_str(), &st));

    ASSERT_EQ(1, LoadMap(5));
    EXPECT_STREQ("Maps\\Zub5.map", levelMap->mapPath);
    for (int l = 0; l < 3; l++)
        for (int r = 0; r < 17; r++)
            for (int c = 0; c < 25; c++) {
                const EditorCell &e = editorMap[l][r][c];
                const MapCell &m = levelMap->cells[l][r][c];
                EXPECT_EQ(e.kind == CELL_EMPTY ? CELL_EMPTY : e.code, m.code);
                EXPECT_EQ(l, m.layer);
                EXPECT_EQ(r, m.row);
                EXPECT_EQ(c, m.column);
            }

    ClearEditorMap();
    editorLevel = 5;
    ASSERT_EQ(1, LoadEditorMap());
    EXPECT_EQ(0, editorMap[0][0][0].kind);
    EXPECT_EQ(12, editorMap[0][0][0].code);
    EXPECT_EQ(1, editorMap[2][8][8].kind);
    EXPECT_EQ(CELL_EMPTY, editorMap[2][0][0].kind);
    EXPECT_EQ(-1, editorMap[2][0][0].code);
}

TEST_F(MapFiles, FailedEditorSaveKeepsTheOldLevel)
{
    editorLevel = 3;
    editorMap[0][0][0] = {0, 44};
    ASSERT_EQ(1, SaveEditorMap());
    std::vector<unsigned char> before = ReadBytes(folder + "/Maps/Zub3.map");
    // The temporary file cannot be made: a folder sits in its place.
    mkdir((folder + "/Maps/Zub3.map.tmp").c_str(), 0755);
    editorMap[0][0][0] = {0, 45};
    EXPECT_EQ(0, SaveEditorMap());
    EXPECT_EQ(before, ReadBytes(folder + "/Maps/Zub3.map"));

    editorLevel = 4;
    EXPECT_EQ(0, LoadEditorMap());  // no such level: nothing changes
    EXPECT_EQ(45, editorMap[0][0][0].code);
}

TEST_F(MapFiles, ShortFileFillsTheRestWithEmptyInGameAndKeepsOldCodesInEditor)
{
    std::vector<int32_t> codes = {3, 4, -1, 5};
    ASSERT_EQ(1, LoadCodes(codes, 2));
    EXPECT_EQ(3, CellCode(0, 0, 0));
    EXPECT_EQ(CELL_EMPTY, CellCode(0, 2, 0));
    EXPECT_EQ(5, CellCode(0, 3, 0));
    EXPECT_EQ(CELL_EMPTY, CellCode(0, 4, 0));
    EXPECT_EQ(CELL_EMPTY, CellCode(2, 24, 16));
    EXPECT_EQ(0, itemsLeft);

    editorLevel = 2;
    editorMap[0][0][5] = {0, 60};
    editorMap[2][16][24] = {1, 7};
    ASSERT_EQ(1, LoadEditorMap());
    EXPECT_EQ(3, editorMap[0][0][0].code);
    EXPECT_EQ(CELL_EMPTY, editorMap[0][0][2].kind);
    EXPECT_EQ(60, editorMap[0][0][5].code);
    EXPECT_EQ(7, editorMap[2][16][24].code);
    EXPECT_EQ(1, editorMap[2][16][24].kind);
}

TEST_F(MapFiles, AllEmptyFileIsAnEmptyLevel)
{
    ASSERT_EQ(1, LoadCodes(std::vector<int32_t>(MAP_CELLS, -1)));
    for (int l = 0; l < 3; l++)
        for (int r = 0; r < 17; r++)
            for (int c = 0; c < 25; c++)
                EXPECT_EQ(CELL_EMPTY, CellCode(l, c, r));
    EXPECT_EQ(0, itemsLeft);
    EXPECT_EQ(0, heart->state);
    EXPECT_EQ(0, potion->state);
    for (GameObject *bag : moneyBags)
        EXPECT_EQ(0, bag->state);
    // Every cell object exists, showing the gold preset, on frame 0.
    for (GameObject *cell : cellSprites) {
        ASSERT_NE(nullptr, cell);
        EXPECT_EQ(0, cell->currentFrame);
        EXPECT_EQ(EntryColour(91), FrameColour(cell, 0));
        EXPECT_EQ(EntryColour(91), FrameColour(cell, 1));
    }
}

TEST_F(MapFiles, CellPicturesFollowTheLayer)
{
    ASSERT_EQ(1, LoadCodes(MapCodes({{0, 0, 0, 3}, {1, 0, 1, 3}, {2, 0, 2, 3}})));
    EXPECT_EQ(EntryColour(5), FrameColour(CellSprite(0, 0, 0), 0));
    EXPECT_EQ(EntryColour(5), FrameColour(CellSprite(1, 1, 0), 0));
    EXPECT_EQ(EntryColour(81), FrameColour(CellSprite(2, 2, 0), 0));
    EXPECT_TRUE(CellSprite(0, 0, 0)->flags & GO_VISIBLE);
    EXPECT_TRUE(CellSprite(0, 0, 0)->flags & GO_LOOP);
}

TEST_F(MapFiles, MoneyBagsArePlacedInOrderUpToFifty)
{
    std::vector<CellValue> cells;
    for (int i = 0; i < 51; i++)
        cells.push_back({2, 1 + i / 25, i % 25, 12});
    ASSERT_EQ(1, LoadCodes(MapCodes(cells)));
    for (int i = 0; i < 50; i++) {
        EXPECT_EQ(1, moneyBags[i]->state);
        EXPECT_EQ((i % 25) * 32, moneyBags[i]->x);
        EXPECT_EQ((1 + i / 25) * 32, moneyBags[i]->y);
    }
    // The 51st cell (row 3, column 0) got no bag: none lies there.
    for (GameObject *bag : moneyBags)
        EXPECT_FALSE(bag->x == 0 && bag->y == 96);
    EXPECT_EQ(12, CellCode(2, 0, 3));
    EXPECT_EQ(0, itemsLeft);
}

TEST_F(MapFiles, OnlyCollectiblesCountAsItemsAndTheLastPotionAndHeartWin)
{
    ASSERT_EQ(1, LoadCodes(MapCodes({{2, 0, 0, 12},
                                     {2, 0, 1, 16},
                                     {2, 0, 2, 19},
                                     {2, 0, 3, 22},
                                     {2, 5, 5, 19},
                                     {2, 6, 7, 22},
                                     {2, 2, 2, 0},
                                     {2, 2, 3, 7},
                                     {2, 2, 4, 26},
                                     {0, 9, 9, 19},  // only layer 2 places figures
                                     {1, 9, 10, 22}})));
    EXPECT_EQ(3, itemsLeft);
    EXPECT_EQ(1, potion->state);
    EXPECT_EQ(160, potion->x);
    EXPECT_EQ(160, potion->y);
    EXPECT_EQ(1, heart->state);
    EXPECT_EQ(224, heart->x);
    EXPECT_EQ(192, heart->y);

    // A map of nothing but those four codes starts with no items.
    ReleaseMap();
    ResetLevel(1);
    ASSERT_EQ(1, LoadCodes(MapCodes({{2, 0, 0, 12}, {2, 0, 1, 16}, {2, 0, 2, 19}, {2, 0, 3, 22}})));
    EXPECT_EQ(0, itemsLeft);
}

TEST_F(MapFiles, CodesWithoutPicturesKeepTheirMeaningAndThePresetPicture)
{
    // 310 entries: block 308 would be entry 310, object 232 entry 310.
    ASSERT_EQ(1, LoadCodes(MapCodes({{0, 0, 3, INT_MIN},
                                     {0, 0, 4, 308},
                                     {0, 0, 5, 307},
                                     {1, 4, 4, -5},
                                     {2, 0, 0, 232},
                                     {2, 0, 1, INT_MAX},
                                     {2, 0, 2, 231}})));
    EXPECT_EQ(INT_MIN, CellCode(0, 3, 0));
    EXPECT_EQ(308, CellCode(0, 4, 0));
    EXPECT_EQ(-5, CellCode(1, 4, 4));
    EXPECT_EQ(INT_MAX, CellCode(2, 1, 0));
    EXPECT_EQ(3, itemsLeft);  // they still count as items
    EXPECT_EQ(EntryColour(91), FrameColour(CellSprite(0, 3, 0), 0));
    EXPECT_EQ(EntryColour(91), FrameColour(CellSprite(0, 4, 0), 0));
    EXPECT_EQ(EntryColour(309), FrameColour(CellSprite(0, 5, 0), 0));
    EXPECT_EQ(EntryColour(91), FrameColour(CellSprite(1, 4, 4), 0));
    EXPECT_EQ(EntryColour(91), FrameColour(CellSprite(2, 0, 0), 0));
    EXPECT_EQ(EntryColour(309), FrameColour(CellSprite(2, 2, 0), 0));

    std::string log = LogText();
    EXPECT_NE(std::string::npos, log.find("Map code -2147483648 at layer 0 row 0 column 3 has no picture\n"));
    EXPECT_EQ(1u, [&] {
        size_t n = 0;
        for (size_t p = log.find("has no picture"); p != std::string::npos;
             p = log.find("has no picture", p + 1))
            n++;
        return n;
    }());

    EXPECT_EQ(-1, CellPictureEntry(0, 308));
    EXPECT_EQ(309, CellPictureEntry(0, 307));
    EXPECT_EQ(-1, CellPictureEntry(2, INT_MAX));
    EXPECT_EQ(-1, CellPictureEntry(0, -1));
    EXPECT_EQ(-1, CellPictureEntry(1, CELL_EMPTY));
    EXPECT_EQ(-1, CellPictureEntry(3, 1));
}

TEST_F(MapFiles, MissingFileLeavesNoMapBehind)
{
    EXPECT_EQ(0, LoadMap(42));
    EXPECT_EQ(nullptr, levelMap);
    for (GameObject *cell : cellSprites)
        EXPECT_EQ(nullptr, cell);
    EXPECT_NE(std::string::npos, LogText().find("Creating Map\n"));
    // The screen sends the player to the log, which names the file.
    const std::string log = LogText();
    const size_t said = log.find("Cannot read the level file ");
    ASSERT_NE(std::string::npos, said) << log;
    EXPECT_EQ(log.find('\n', said), log.find("Zub42.map\n", said) + 9) << log;
    EXPECT_EQ(CELL_EMPTY, CellCode(0, 0, 0));
}

TEST_F(MapFiles, DeleteMapFreesAndClearsOnce)
{
    ASSERT_EQ(1, LoadCodes(MapCodes({{0, 0, 0, 1}})));
    DeleteMap();
    EXPECT_EQ(nullptr, levelMap);
    for (GameObject *cell : cellSprites)
        EXPECT_EQ(nullptr, cell);
    DeleteMap();
    std::string log = LogText();
    size_t first = log.find("Deleting Map\n");
    ASSERT_NE(std::string::npos, first);
    EXPECT_EQ(std::string::npos, log.find("Deleting Map\n", first + 1));

    // A second load without a DeleteMap in between does not lose the first.
    ASSERT_EQ(1, LoadCodes(MapCodes({{0, 0, 0, 1}})));
    ASSERT_EQ(1, LoadCodes(MapCodes({{0, 0, 0, 2}})));
    EXPECT_EQ(2, CellCode(0, 0, 0));
}

TEST_F(MapFiles, CellsOutsideTheGridReadAsEarthAndIgnoreWrites)
{
    ASSERT_EQ(1, LoadCodes(MapCodes({{0, 0, 0, 4}, {2, 16, 24, 6}})));
    LevelMap before = *levelMap;
    const int outside[][3] = {{0, -1, 0}, {0, 25, 0}, {0, 0, -1},  {0, 0, 17},
                              {-1, 0, 0}, {3, 0, 0},  {2, 25, 16}, {0, INT_MIN, INT_MAX}};
    for (const auto &o : outside) {
        EXPECT_EQ(CELL_EMPTY, CellCode(o[0], o[1], o[2]));
        EXPECT_EQ(nullptr, CellSprite(o[0], o[1], o[2]));
        SetCellCode(o[0], o[1], o[2], 77);
    }
    EXPECT_EQ(0, std::memcmp(&before, levelMap, sizeof before));
    SetCellCode(2, 24, 16, 91);
    EXPECT_EQ(91, CellCode(2, 24, 16));
    EXPECT_EQ(91, levelMap->cells[2][16][24].code);
}

TEST_F(MapFiles, DumpWritesEveryLayerAsRowsOfFourWideValues)
{
    ASSERT_EQ(1, LoadCodes(MapCodes({{0, 0, 0, 7}, {0, 0, 1, 71}})));
    DumpMap();
    std::string log = LogText();
    std::string firstRow = "   7  71";
    for (int c = 0; c < 23; c++)
        firstRow += " 999";
    EXPECT_NE(std::string::npos, log.find(firstRow + "\n"));
    std::string emptyRow;
    for (int c = 0; c < 25; c++)
        emptyRow += " 999";
    // Each layer: 17 rows, then a blank pair of line ends.
    EXPECT_NE(std::string::npos, log.find(emptyRow + "\n\n\n" + emptyRow + "\n"));
    EXPECT_EQ(3 * (17 + 2), (int)std::count(log.begin() + log.find(firstRow), log.end(), '\n'));
}

TEST(EditorMap, ClearingEmptiesEveryCellAndGoesBackToLevelOne)
{
    editorLevel = 9;
    editorMap[1][2][3] = {0, 8};
    ClearEditorMap();
    EXPECT_EQ(1, editorLevel);
    for (int l = 0; l < 3; l++)
        for (int r = 0; r < 17; r++)
            for (int c = 0; c < 25; c++) {
                EXPECT_EQ(CELL_EMPTY, editorMap[l][r][c].kind);
                EXPECT_EQ(-1, editorMap[l][r][c].code);
            }
}
