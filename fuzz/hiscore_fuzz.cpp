// hiscore_fuzz.cpp: the high score file reader against any bytes. A table
// that reads back must encode to bytes that read back to the same table.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "screens/highscores.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    HighScoreTable table;
    std::memset(&table, 0x5A, sizeof table);
    HighScoreTable untouched = table;
    if (!ParseHighScores(data, size, table)) {
        if (std::memcmp(&table, &untouched, sizeof table) != 0)
            std::abort();  // a failed read must leave the table alone
        return 0;
    }
    for (const HighScoreEntry &e : table.entries)
        if (e.initials[3] != '\0' || std::strlen(e.initials) > 3)
            std::abort();

    unsigned char encoded[HIGH_SCORE_FILE_SIZE];
    EncodeHighScores(table, encoded);
    HighScoreTable again;
    if (!ParseHighScores(encoded, sizeof encoded, again) || std::memcmp(&again, &table, sizeof table) != 0)
        std::abort();
    return 0;
}
