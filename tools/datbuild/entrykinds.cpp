// entrykinds.cpp: whether what the generators made agrees with the table.
#include "tools/datbuild/assets.h"

std::string EntryDisagreement(int entry, const Picture &picture, const Sample &sample, const MidiTune &tune)
{
    // The art answers an entry it has no picture for with one clear pixel.
    const bool hasPicture = picture.width * picture.height > 1;
    const bool hasSample = !sample.frames.empty();
    const bool hasTune = !tune.tracks.empty();
    const std::string at = "entry " + std::to_string(entry) + ": ";
    switch (EntryKindOf(entry)) {
    case ENTRY_BITMAP:
        if (!hasPicture)
            return at + "the table holds a picture here, the art makes none";
        break;
    case ENTRY_SAMPLE:
        if (!hasSample)
            return at + "the table holds a sound here, the sounds make none";
        break;
    case ENTRY_MIDI:
        if (!hasTune)
            return at + "the table holds a tune here, the music makes none";
        break;
    case ENTRY_UNUSED: break;
    }
    const EntryKind kind = EntryKindOf(entry);
    if (hasPicture && kind != ENTRY_BITMAP)
        return at + "the art makes a picture for an entry the table does not hold one in";
    if (hasSample && kind != ENTRY_SAMPLE)
        return at + "the sounds make a sound for an entry the table does not hold one in";
    if (hasTune && kind != ENTRY_MIDI)
        return at + "the music makes a tune for an entry the table does not hold one in";
    return "";
}
