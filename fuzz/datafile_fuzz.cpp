// datafile_fuzz.cpp: the seal check that stands before Allegro's data file
// loader, against any bytes. Whatever it accepts must be exactly a body with
// its own trailer; a sealed body is accepted and loses that with any one
// byte changed.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "base/datasum.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
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
    return 0;
}
