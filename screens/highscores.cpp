// highscores.cpp: the table of the ten best scores, its order, the place a
// new score takes, and the 84-byte file "HiScore\HiScore.sco".
#include "screens/highscores.h"

#include <allegro.h>
#include <cstdio>
#include <cstring>
#include <string>

#include "gameplay/figures.h"
#include "platform/os/os.h"
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

bool SaveHighScores()
{
    unsigned char data[HIGH_SCORE_FILE_SIZE];
    EncodeHighScores(highScores, data);

    std::string path = WritablePath(highScorePath);
    std::string temp = path + ".tmp";
    PACKFILE *f = pack_fopen(temp.c_str(), F_WRITE);
    if (!f)
        return false;
    bool ok = true;
    for (int piece = 0; piece <= 10 && ok; piece++) {
        if (highScoreWriteHook && !highScoreWriteHook(piece)) {
            ok = false;
            break;
        }
        int length = piece < 10 ? 8 : 4;
        ok = pack_fwrite(data + 8 * piece, length, f) == length;
    }
    // Closing flushes the last bytes; a full disk may show only here.
    if (pack_fclose(f) != 0)
        ok = false;
    if (ok) {
        FlushToDisk(temp.c_str());
        ok = ReplaceFileWith(temp, path);
    }
    if (!ok)
        std::remove(temp.c_str());
    return ok;
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
