// resources.h: the long-lived resources every part of the game draws
// with. The shell's start-up makes them (Initall) and frees them (DeleteAll).
#ifndef DELVORN_RESOURCES_H
#define DELVORN_RESOURCES_H

#include <allegro.h>
#include <string>
#include "base/data.h"
#include "platform/alfont/alfont.h"

extern DATAFILE *dataFile;       // Data.dat, addressed by entry number
extern BITMAP *backBuffer;       // every frame is composed here
extern BITMAP *backdropBitmap;   // the pause-type screens compose here
extern BITMAP *editorLayers[3];  // the level editor's layer views
extern ALFONT_FONT *mainFont;    // "Fonts\DigitalDream.ttf": status bar, progress map

// The object of a data file entry when it exists and has that type
// (DAT_BITMAP, DAT_SAMPLE, DAT_MIDI), else null.
void *DataEntry(int entry, int type);
inline BITMAP *DataBitmap(int entry)
{
    return (BITMAP *)DataEntry(entry, DAT_BITMAP);
}
// Number of entries of the loaded data file (0 when none).
extern int dataFileEntries;

// Loads Data.dat with the game's password, clearing the password again.
// Null when the file is missing or not whole (its seal does not match).
DATAFILE *LoadGameData(const char *path);
// Whether the file at that (native) path carries a matching seal.
bool DataFileReadsWhole(const std::string &nativePath);

#endif
