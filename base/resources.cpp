// resources.cpp: see resources.h.
#include "base/resources.h"

#include <cstdint>
#include <fstream>
#include <vector>

#include "base/datacheck.h"
#include "base/datapass.h"
#include "base/datasum.h"
#include "base/log.h"
#include "base/picture_reader.h"
#include "platform/paths/paths.h"

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

bool DataFileReadsWhole(const std::string &nativePath)
{
    if (!IsRegularFile(nativePath))
        return false;
    std::ifstream in(nativePath, std::ios::binary | std::ios::ate);
    const std::streamoff size = in.tellg();
    if (size < 0)
        return false;
    // Read in one go: a byte at a time took as long as the check itself.
    std::vector<uint8_t> bytes((size_t)size);
    in.seekg(0);
    in.read((char *)bytes.data(), size);
    return in.gcount() == size && DataFileIsWhole(bytes.data(), bytes.size());
}

DATAFILE *LoadGameData(const char *path)
{
    dataFile = nullptr;
    dataFileEntries = 0;
    // Allegro's loader trusts every length in the file, so a cut or damaged
    // copy would crash it: such a file counts as one that does not open.
    if (!DataFileReadsWhole(NativePath(path)))
        return nullptr;
    UseRowPictureReader();
    char password[18];
    UnscrambleDataPassword(password);
    // A file damaged and sealed again passes the seal: its structure is
    // checked before Allegro reads it.
    const std::string problem = DataFileProblem(NativePath(path), password);
    DATAFILE *data = nullptr;
    if (!problem.empty()) {
        if (gameLog)
            gameLog->Printf("Data file %s is damaged: %s\n", NativePath(path).c_str(), problem.c_str());
    } else {
        packfile_password(password);
        data = load_datafile(NativePath(path).c_str());
    }
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
