// tunes.cpp: every tune of the data file, compiled from the tune files
// under content/music/tunes.
#include <cstdio>
#include <fstream>
#include <sstream>

#include "content/music/notation.h"

namespace {

struct TuneFile {
    int entry;
    const char *file;
};

const TuneFile kTunes[] = {
    {MUS_GAME_OVER, "gameover.tune"}, {MUS_HIGH_SCORES, "hiscores.tune"}, {MUS_MENU, "menu.tune"},
    {MUS_LEVEL + 0, "level01.tune"},  {MUS_LEVEL + 1, "level02.tune"},    {MUS_LEVEL + 2, "level03.tune"},
    {MUS_LEVEL + 3, "level04.tune"},  {MUS_LEVEL + 4, "level05.tune"},    {MUS_LEVEL + 5, "level06.tune"},
    {MUS_LEVEL + 6, "level07.tune"},  {MUS_LEVEL + 7, "level08.tune"},    {MUS_LEVEL + 8, "level09.tune"},
    {MUS_LEVEL + 9, "level10.tune"},  {MUS_CLOSING, "closing.tune"},      {MUS_CREDITS, "credits.tune"},
    {MUS_GAME_WON, "gamewon.tune"},
};

}  // namespace

std::string TuneFileName(int entry)
{
    for (const TuneFile &t : kTunes)
        if (t.entry == entry)
            return t.file;
    return "";
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
    if (!CompileTune(text.str(), tune, error)) {
        std::fprintf(stderr, "MakeTune: %s: %s\n", path.c_str(), error.c_str());
        return MidiTune{};
    }
    return tune;
}
