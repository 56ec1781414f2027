// highscores.cpp: the table of the ten best scores, its order, the place a
// new score takes, and the 84-byte file "HiScore\HiScore.sco".
#include "screens/highscores.h"

#include <allegro.h>
#include <cctype>
#include <cstdio>
#include <cstring>
#include <string>

#include "base/log.h"
#include "base/message.h"
#include "base/scale.h"
#include "base/screenfont.h"
#include "gameplay/figures.h"
#include "platform/os/savefile.h"
#include "platform/paths/paths.h"

HighScoreTable highScores;
char currentInitials[4];
bool (*highScoreWriteHook)(int piece) = nullptr;

static const char *const highScorePath = "HiScore\\HiScore.sco";

// Up to three characters, then zeros: whatever followed a terminator (or a
// fourth character) is dropped so it can never be read as part of the name.
static void CopyInitials(char out[4], const char *in)
{
    int n = 0;
    while (n < 3 && in[n] != '\0') {
        out[n] = in[n];
        n++;
    }
    while (n < 4)
        out[n++] = '\0';
}

static int32_t ReadLe32(const unsigned char *p)
{
    uint32_t v = (uint32_t)p[0] | ((uint32_t)p[1] << 8) | ((uint32_t)p[2] << 16) | ((uint32_t)p[3] << 24);
    return (int32_t)v;
}

static void WriteLe32(unsigned char *p, int32_t value)
{
    uint32_t v = (uint32_t)value;
    p[0] = (unsigned char)v;
    p[1] = (unsigned char)(v >> 8);
    p[2] = (unsigned char)(v >> 16);
    p[3] = (unsigned char)(v >> 24);
}

static int32_t ScoreSum(const HighScoreTable &table)
{
    uint32_t sum = 0;  // unsigned, so the wrap is defined
    for (const HighScoreEntry &e : table.entries)
        sum += (uint32_t)e.score;
    return (int32_t)sum;
}

bool ParseHighScores(const unsigned char *data, size_t size, HighScoreTable &out)
{
    if (!data || size < HIGH_SCORE_FILE_SIZE)
        return false;
    HighScoreTable read;
    for (int i = 0; i < 10; i++) {
        char raw[4];
        std::memcpy(raw, data + 8 * i, 4);
        char bounded[5] = {raw[0], raw[1], raw[2], raw[3], '\0'};
        CopyInitials(read.entries[i].initials, bounded);
        read.entries[i].score = ReadLe32(data + 8 * i + 4);
    }
    if (ReadLe32(data + 80) != ScoreSum(read))
        return false;
    out = read;
    return true;
}

void EncodeHighScores(const HighScoreTable &table, unsigned char out[HIGH_SCORE_FILE_SIZE])
{
    for (int i = 0; i < 10; i++) {
        char initials[4];
        char bounded[5] = {0};
        std::memcpy(bounded, table.entries[i].initials, 4);
        CopyInitials(initials, bounded);
        std::memcpy(out + 8 * i, initials, 4);
        WriteLe32(out + 8 * i + 4, table.entries[i].score);
    }
    WriteLe32(out + 80, ScoreSum(table));
}

bool LoadHighScores()
{
    std::string path = NativePath(highScorePath);
    PACKFILE *f = IsRegularFile(path) ? pack_fopen(path.c_str(), F_READ) : nullptr;
    if (!f)
        return false;
    unsigned char data[HIGH_SCORE_FILE_SIZE];
    long got = pack_fread(data, HIGH_SCORE_FILE_SIZE, f);
    pack_fclose(f);
    if (got < 0)
        return false;
    return ParseHighScores(data, (size_t)got, highScores);
}

// A failed save is said aloud: logged, and shown on the screen when there
// is one. A folder that takes no files is shown once; the player cannot
// mend it in play, and every later save would fail the same way.
static void SayNotSaved(const SafeSave &save, const std::string &path)
{
    const std::string why = save.Error().empty() ? "the save was stopped" : save.Error();
    if (gameLog)
        gameLog->Printf("High scores not saved: %s\n", why.c_str());
    static bool folderShown = false;
    std::string text;
    if (save.FolderRefused()) {
        if (folderShown)
            return;
        folderShown = true;
        std::string folder = path.substr(0, path.find_last_of("/\\"));
        text = "SCORES CANNOT BE SAVED: " + folder + " IS NOT WRITABLE";
    } else {
        text = "SCORES NOT SAVED: " + (save.Reason().empty() ? why : save.Reason());
        for (char &c : text)
            c = (char)std::toupper((unsigned char)c);
    }
    if (!screen)
        return;
    ClearScreen();
    // The message line's own size, or the largest below it at which it fits.
    int size = 14;
    {
        ScreenFont line("Fonts\\DigitalDream.ttf");
        for (; line.font && size > 8; size--) {
            alfont_set_font_size(line.font, size);
            if (alfont_text_length(line.font, text.c_str()) <= GAME_W - 20)
                break;
        }
    }
    ShowMessage(text.c_str(), 3000, size, makecol(84, 85, 146), screen);
}

// The table in memory through a save that replaces the file whole; the
// caller holds the saves' lock.
static bool WriteTable(const std::string &path)
{
    unsigned char data[HIGH_SCORE_FILE_SIZE];
    EncodeHighScores(highScores, data);
    SafeSave save(path);
    bool ok = true;
    for (int piece = 0; piece <= 10 && ok; piece++) {
        if (highScoreWriteHook && !highScoreWriteHook(piece))
            ok = false;
        else
            ok = save.Write(data + 8 * piece, piece < 10 ? 8 : 4);
    }
    ok = ok && save.Commit();
    if (!ok)
        SayNotSaved(save, path);
    return ok;
}

bool SaveHighScores()
{
    std::string path = WritablePath(highScorePath);
    FileLock lock(SaveLockPath());
    return WriteTable(path);
}

bool RecordHighScore()
{
    std::string path = WritablePath(highScorePath);
    FileLock lock(SaveLockPath());
    // Another copy of the game may have saved since this one read the
    // table: what it saved is read again, under the lock, before the insert.
    LoadHighScores();
    InsertHighScore();
    return WriteTable(path);
}

void ResetHighScores()
{
    std::memset(currentInitials, 0, sizeof currentInitials);
    for (HighScoreEntry &e : highScores.entries) {
        CopyInitials(e.initials, "ZUB");
        e.score = 10000;
    }
}

void SortHighScores()
{
    HighScoreEntry *e = highScores.entries;
    for (int pass = 9; pass >= 1; pass--)
        for (int i = 0; i < pass; i++)
            if (e[i + 1].score > e[i].score) {
                HighScoreEntry t = e[i];
                e[i] = e[i + 1];
                e[i + 1] = t;
            }
}

int FindHighScoreSlot()
{
    int lowest = 999999999;
    int slot = NO_HIGH_SCORE_SLOT;
    for (int i = 0; i < 10; i++)
        if (highScores.entries[i].score < lowest) {
            lowest = highScores.entries[i].score;
            slot = i;
        }
    if (slot == NO_HIGH_SCORE_SLOT || score <= lowest)
        return NO_HIGH_SCORE_SLOT;
    return slot;
}

void InsertHighScore()
{
    SortHighScores();
    int slot = FindHighScoreSlot();
    if (slot == NO_HIGH_SCORE_SLOT)
        return;
    for (int i = 8; i >= slot; i--)
        highScores.entries[i + 1] = highScores.entries[i];
    char bounded[5] = {0};
    std::memcpy(bounded, currentInitials, 4);
    CopyInitials(highScores.entries[slot].initials, bounded);
    highScores.entries[slot].score = score;
    SortHighScores();
}
