// datafile_fuzz.cpp: the two checks that stand before Allegro's data file
// loader, against any bytes. The seal: whatever it accepts is exactly a
// body with its own trailer, and a sealed body loses it with any one byte
// changed. The structure: the input is taken as a data file's unpacked
// stream, packed with the game's password and sealed, so that only the
// structure check stands between it and Allegro; the game's own load must
// then refuse it or load it without a fault, and load every stream the
// check finds sound.
#include <allegro.h>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "base/datacheck.h"
#include "base/datapass.h"
#include "base/datasum.h"
#include "base/resources.h"
#include "fuzz/scratch.h"
#include "tools/datbuild/datwriter.h"

namespace {

void CheckSeal(const uint8_t *data, size_t size)
{
    if (DataFileIsWhole(data, size)) {
        std::vector<uint8_t> resealed(data, data + size - DATA_SUM_SIZE);
        std::vector<uint8_t> trailer = DataSumTrailer(resealed.data(), resealed.size());
        resealed.insert(resealed.end(), trailer.begin(), trailer.end());
        if (resealed != std::vector<uint8_t>(data, data + size))
            std::abort();
    }

    std::vector<uint8_t> sealed(data, data + size);
    std::vector<uint8_t> trailer = DataSumTrailer(sealed.data(), sealed.size());
    sealed.insert(sealed.end(), trailer.begin(), trailer.end());
    if (!DataFileIsWhole(sealed.data(), sealed.size()))
        std::abort();
    if (!sealed.empty()) {
        sealed[size > 0 ? data[0] % sealed.size() : 0] ^= 0x40;
        if (DataFileIsWhole(sealed.data(), sealed.size()))
            std::abort();
        sealed.pop_back();  // one byte short
        if (DataFileIsWhole(sealed.data(), sealed.size()))
            std::abort();
    }
}

std::string Prepare()
{
    install_allegro(SYSTEM_NONE, &errno, atexit);
    set_color_depth(16);
    set_color_conversion(COLORCONV_TOTAL | COLORCONV_KEEP_TRANS);
    return FuzzScratchFolder("datafile") + "/Data.dat";
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    CheckSeal(data, size);

    static const std::string path = Prepare();
    const bool sound = DataStreamProblem(data, size).empty();
    char password[18];
    UnscrambleDataPassword(password);
    std::string error;
    const bool written = WritePackedStream(path, password, std::vector<uint8_t>(data, data + size), &error);
    WipeDataPassword(password);
    if (!written)
        std::abort();
    // Allegro unpacks the seal after the stream too, as bytes past the
    // objects: an input the check finds sound stays so, and must load.
    DATAFILE *loaded = LoadGameData(path.c_str());
    if (sound && !loaded)
        std::abort();
    if (loaded)
        unload_datafile(loaded);
    dataFile = nullptr;
    dataFileEntries = 0;
    return 0;
}
