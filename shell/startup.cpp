// STUB: replaced by the owning subsystem.
#include "shell/startup.h"
DATAFILE *dataFile = nullptr;
BITMAP *backBuffer = nullptr, *backdropBitmap = nullptr, *editorLayers[3];
ALFONT_FONT *mainFont = nullptr;
int dataFileEntries = 0;
void *DataEntry(int entry, int type) { return (dataFile && entry >= 0 && entry < dataFileEntries && dataFile[entry].type == type) ? dataFile[entry].dat : nullptr; }
int Initall() { return 0; }
void DeleteAll() {}
DATAFILE *LoadGameData(const char *) { return nullptr; }
