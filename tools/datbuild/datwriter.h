// datwriter.h: turns content into Allegro data file objects and writes them
// as one compressed, password-protected data file.
#ifndef DELVORN_DATWRITER_H
#define DELVORN_DATWRITER_H

#include <cstdint>
#include <string>
#include <vector>
#include "tools/datbuild/assets.h"

struct DatObject {
    uint32_t type = 0;          // Allegro object type, e.g. DAT_BITMAP
    std::vector<uint8_t> data;  // the object's contents as stored
};

// 0xRRGGBB to the game's 5.6.5 pixel. Only exact magenta becomes the mask
// colour 0xF81F; a near-magenta that would round onto it is nudged off it.
uint16_t PackRgb565(uint32_t rgb);

// Each returns false and says why in *error when the content is malformed.
bool EncodeBitmap(const Picture &pic, DatObject *out, std::string *error);
bool EncodeSample(const Sample &snd, DatObject *out, std::string *error);
bool EncodeMidi(const MidiTune &tune, DatObject *out, std::string *error);
DatObject EncodePlaceholder();

// The unpacked stream of a data file of these objects: the magic, the
// count, and each object's type, sizes and contents.
std::vector<uint8_t> DataFileStream(const std::vector<DatObject> &objects);
// Writes an unpacked stream packed (with the password, which may be null)
// and sealed, through a temporary file.
bool WritePackedStream(const std::string &path, const char *password, const std::vector<uint8_t> &stream,
                       std::string *error);

// Writes the objects in order to path (through a temporary file, so a failed
// run never leaves a half-written data file behind), sealed with the
// trailer of base/datasum.h. password may be null.
bool WriteDataFile(const std::string &path, const char *password, const std::vector<DatObject> &objects,
                   std::string *error);

#endif
