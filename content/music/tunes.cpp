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
    {201, "gameover.tune"}, {213, "hiscores.tune"}, {220, "menu.tune"},
    {223, "level01.tune"},  {224, "level02.tune"},  {225, "level03.tune"},
    {226, "level04.tune"},  {227, "level05.tune"},  {228, "level06.tune"},
    {229, "level07.tune"},  {230, "level08.tune"},  {231, "level09.tune"},
    {232, "level10.tune"},  {296, "closing.tune"},  {306, "credits.tune"},
    {308, "gamewon.tune"},
};

} // namespace

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
