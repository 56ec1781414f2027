// tunes.cpp: every tune of the data file (first cut: a short scale each).
#include "tools/datbuild/assets.h"

MidiTune MakeTune(int entry)
{
    static const int tunes[] = {201, 213, 220, 223, 224, 225, 226, 227, 228, 229, 230, 231,
                                232, 296, 306, 308};
    bool known = false;
    for (int t : tunes)
        known = known || t == entry;
    MidiTune m;
    if (!known)
        return m;
    std::vector<uint8_t> tr = {0x00, 0xC0, uint8_t(entry % 80)};
    for (int i = 0; i < 8; i++) {
        uint8_t key = uint8_t(60 + (entry + i * 2) % 24);
        tr.insert(tr.end(), {0x00, 0x90, key, 0x60, 0x60, 0x80, key, 0x00});
    }
    tr.insert(tr.end(), {0x00, 0xFF, 0x2F, 0x00});
    m.tracks.push_back(tr);
    return m;
}
