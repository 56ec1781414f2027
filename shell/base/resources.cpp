// resources.cpp: see resources.h.
#include "shell/base/resources.h"

#include "platform/paths/paths.h"
#include "shell/datapass.h"

DATAFILE *dataFile = nullptr;
int dataFileEntries = 0;
BITMAP *backBuffer = nullptr;
BITMAP *backdropBitmap = nullptr;
BITMAP *editorLayers[3] = {nullptr, nullptr, nullptr};
ALFONT_FONT *mainFont = nullptr;

void *DataEntry(int entry, int type)
{
    if (!dataFile || entry < 0 || entry >= dataFileEntries || dataFile[entry].type != type)
        return nullptr;
    return dataFile[entry].dat;
}

DATAFILE *LoadGameData(const char *path)
{
    char password[18];
    UnscrambleDataPassword(password);
    packfile_password(password);
    DATAFILE *data = load_datafile(NativePath(path).c_str());
    // Maps and high scores are plain files: the password must not outlive this.
    packfile_password(nullptr);
    WipeDataPassword(password);

    dataFile = data;
    dataFileEntries = 0;
    if (data)
        while (data[dataFileEntries].type != DAT_END)
            dataFileEntries++;
    return data;
}
