// main.cpp: datbuild, the data file builder. Generates every picture, sample
// and tune of the game and writes them as Data.dat entries 0..308.
//   datbuild <Data.dat> [<contact sheet.png>]
//   datbuild --picture <entry> <out.png>      (one picture, full size)
//   datbuild --mock <out.png>                 (a made-up level, for review)
//   datbuild --map <ZubN.map> <out.png>       (a level file as play draws it)
//   datbuild --levels <out.png> <ZubN.map>... (levels side by side)
//   datbuild --icon <size> <out.png>          (the desktop icon)
//   datbuild --xpm <size> <out.xpm>           (the window icon, as source)
#include <allegro.h>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "base/datapass.h"
#include "content/art/art.h"
#include "tools/datbuild/assets.h"
#include "tools/datbuild/contactsheet.h"
#include "tools/datbuild/datwriter.h"
#include "tools/datbuild/xpm.h"

static int Fail(const std::string &why)
{
    std::fprintf(stderr, "datbuild: %s\n", why.c_str());
    return 1;
}

int main(int argc, char **argv)
{
    if (argc < 2)
        return Fail("usage: datbuild <Data.dat> [<sheet.png>] | --picture <entry> <out.png>");
    if (install_allegro(SYSTEM_NONE, &errno, atexit) != 0)
        return Fail("cannot start Allegro");

    if (std::string(argv[1]) == "--mock" && argc == 3)
        return WriteMockLevel(argv[2]) ? 0 : Fail("cannot write " + std::string(argv[2]));
    if (std::string(argv[1]) == "--map" && argc == 4)
        return WriteMapPreview(argv[2], argv[3]) ? 0 : Fail("cannot preview " + std::string(argv[2]));
    if (std::string(argv[1]) == "--levels" && argc >= 4) {
        std::vector<std::string> maps(argv + 3, argv + argc);
        return WriteLevelSheet(argv[2], maps) ? 0
                                              : Fail("cannot draw the levels into " + std::string(argv[2]));
    }
    if (std::string(argv[1]) == "--icon" && argc == 4) {
        const int size = std::atoi(argv[2]);
        if (size < 16 || size > 512)
            return Fail("icon size " + std::string(argv[2]) + " is not 16..512");
        return SaveIconPng(argv[3], IconPicture(size)) ? 0 : Fail("cannot write " + std::string(argv[3]));
    }
    if (std::string(argv[1]) == "--xpm" && argc == 4) {
        const int size = std::atoi(argv[2]);
        if (size < 16 || size > 512)
            return Fail("icon size " + std::string(argv[2]) + " is not 16..512");
        return SaveIconXpm(argv[3], IconPicture(size), "delvornIcon")
                   ? 0
                   : Fail("cannot write " + std::string(argv[3]));
    }
    if (std::string(argv[1]) == "--picture") {
        if (argc != 4)
            return Fail("usage: datbuild --picture <entry> <out.png>");
        int entry = std::atoi(argv[2]);
        if (EntryKindOf(entry) != ENTRY_BITMAP)
            return Fail("entry " + std::to_string(entry) + " is not a picture");
        return SavePicturePng(argv[3], MakePicture(entry)) ? 0 : Fail("cannot write " + std::string(argv[3]));
    }

    std::vector<DatObject> objects;
    std::vector<std::pair<int, Picture>> pictures;
    for (int entry = 0; entry < DATA_ENTRY_COUNT; entry++) {
        Picture picture = MakePicture(entry);
        Sample sample = MakeSample(entry);
        MidiTune tune = MakeTune(entry);
        std::string error = EntryDisagreement(entry, picture, sample, tune);
        if (!error.empty())
            return Fail(error);
        DatObject o;
        bool ok = true;
        switch (EntryKindOf(entry)) {
        case ENTRY_BITMAP:
            ok = EncodeBitmap(picture, &o, &error);
            if (ok && argc > 2)
                pictures.emplace_back(entry, std::move(picture));
            break;
        case ENTRY_SAMPLE: ok = EncodeSample(sample, &o, &error); break;
        case ENTRY_MIDI: ok = EncodeMidi(tune, &o, &error); break;
        case ENTRY_UNUSED: o = EncodePlaceholder(); break;
        }
        if (!ok)
            return Fail("entry " + std::to_string(entry) + ": " + error);
        objects.push_back(std::move(o));
    }

    char password[18];
    UnscrambleDataPassword(password);
    std::string error;
    bool written = WriteDataFile(argv[1], password, objects, &error);
    WipeDataPassword(password);
    if (!written)
        return Fail(error);
    if (argc > 2 && !WriteContactSheet(argv[2], pictures))
        return Fail("cannot write contact sheet " + std::string(argv[2]));
    return 0;
}
