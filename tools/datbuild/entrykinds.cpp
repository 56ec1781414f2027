// entrykinds.cpp: which kind of object each data file entry holds.
#include "tools/datbuild/assets.h"

namespace {

struct Range { int first, last; EntryKind kind; };

// Entries the game never touches are left out and come back as ENTRY_UNUSED.
// 111..126 and 124..199 overlap (bomb blast and enemy frames): both bitmaps.
const Range kRanges[] = {
    {2, 75, ENTRY_BITMAP},    {76, 76, ENTRY_SAMPLE},   {77, 77, ENTRY_BITMAP},
    {78, 104, ENTRY_BITMAP},  {105, 107, ENTRY_SAMPLE}, {111, 199, ENTRY_BITMAP},
    {200, 200, ENTRY_SAMPLE}, {201, 201, ENTRY_MIDI},   {202, 207, ENTRY_SAMPLE},
    {208, 212, ENTRY_BITMAP}, {213, 213, ENTRY_MIDI},   {215, 215, ENTRY_SAMPLE},
    {216, 219, ENTRY_BITMAP}, {220, 220, ENTRY_MIDI},   {221, 222, ENTRY_SAMPLE},
    {223, 232, ENTRY_MIDI},   {233, 236, ENTRY_SAMPLE}, {237, 292, ENTRY_BITMAP},
    {293, 294, ENTRY_SAMPLE}, {295, 295, ENTRY_BITMAP}, {296, 296, ENTRY_MIDI},
    {297, 297, ENTRY_SAMPLE}, {298, 302, ENTRY_BITMAP}, {306, 306, ENTRY_MIDI},
    {307, 307, ENTRY_BITMAP}, {308, 308, ENTRY_MIDI},
};

}  // namespace

EntryKind EntryKindOf(int entry)
{
    for (const Range &r : kRanges)
        if (entry >= r.first && entry <= r.last)
            return r.kind;
    return ENTRY_UNUSED;
}
