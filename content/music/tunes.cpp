// tunes.cpp: every tune of the data file, compiled from the tune files
// under content/music/tunes.
#include <cstdio>
#include <fstream>
#include <sstream>

#include "content/music/notation.h"

namespace {

// Tunes that loop under a screen or a level, and the short jingles; both
// kinds loop when played, but a jingle's screen is soon left.
const TuneRules kLooping = {60.0, 4};
const TuneRules kJingle = {0.0, 4};

struct TuneFile {
    int entry;
    const char *file;
    const TuneRules &rules;
};

const TuneFile kTunes[] = {
    {MUS_GAME_OVER, "gameover.tune", kJingle}, {MUS_HIGH_SCORES, "hiscores.tune", kLooping},
    {MUS_PROGRESS_MAP, "map.tune", kLooping},  {MUS_MENU, "menu.tune", kLooping},
    {MUS_LEVEL + 0, "level01.tune", kLooping}, {MUS_LEVEL + 1, "level02.tune", kLooping},
    {MUS_LEVEL + 2, "level03.tune", kLooping}, {MUS_LEVEL + 3, "level04.tune", kLooping},
    {MUS_LEVEL + 4, "level05.tune", kLooping}, {MUS_LEVEL + 5, "level06.tune", kLooping},
    {MUS_LEVEL + 6, "level07.tune", kLooping}, {MUS_LEVEL + 7, "level08.tune", kLooping},
    {MUS_LEVEL + 8, "level09.tune", kLooping}, {MUS_LEVEL + 9, "level10.tune", kLooping},
    {MUS_CLOSING, "closing.tune", kJingle},    {MUS_CREDITS, "credits.tune", kLooping},
    {MUS_GAME_WON, "gamewon.tune", kJingle},
};

const TuneFile *FindTune(int entry)
{
    for (const TuneFile &t : kTunes)
        if (t.entry == entry)
            return &t;
    return nullptr;
}

}  // namespace

std::string TuneFileName(int entry)
{
    const TuneFile *t = FindTune(entry);
    return t ? t->file : "";
}

std::string TuneDirectory()
{
    // The tunes sit next to this source file; the builder runs in the tree.
    std::string here = __FILE__;
    size_t slash = here.find_last_of("/\\");
    return (slash == std::string::npos ? std::string(".") : here.substr(0, slash)) + "/tunes";
}

MidiTune MakeTune(int entry)
{
    MidiTune tune;
    std::string name = TuneFileName(entry);
    if (name.empty())
        return tune;
    std::string path = TuneDirectory() + "/" + name;
    std::ifstream in(path);
    if (!in) {
        std::fprintf(stderr, "MakeTune: cannot read %s\n", path.c_str());
        return tune;
    }
    std::stringstream text;
    text << in.rdbuf();
    std::string error;
    if (!CompileTune(text.str(), tune, error, FindTune(entry)->rules)) {
        std::fprintf(stderr, "MakeTune: %s: %s\n", path.c_str(), error.c_str());
        return MidiTune{};
    }
    return tune;
}
