// content_support.h: small helpers shared by the content audio tests.
#ifndef DELVORN_CONTENT_SUPPORT_H
#define DELVORN_CONTENT_SUPPORT_H

#include <cstdint>
#include <vector>

#include "tools/datbuild/assets.h"

// The data file entries of one kind, in order.
inline std::vector<int> EntriesOf(EntryKind kind)
{
    std::vector<int> entries;
    for (int e = 0; e < DATA_ENTRY_COUNT; e++)
        if (EntryKindOf(e) == kind)
            entries.push_back(e);
    return entries;
}

// A MIDI variable-length number at d[i]; moves i past it.
inline uint32_t VarLen(const std::vector<uint8_t> &d, size_t &i)
{
    uint32_t v = 0;
    while (i < d.size()) {
        uint8_t b = d[i++];
        v = (v << 7) | (b & 0x7F);
        if (!(b & 0x80))
            break;
    }
    return v;
}

#endif
