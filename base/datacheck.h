// datacheck.h: the structure of Data.dat, checked before Allegro's loader
// reads it. The seal (datasum.h) tells a file arrived as it was built; it
// cannot tell a file that was damaged and sealed again. Allegro trusts
// every count and size it finds, so each object's header and size must lie
// within the file, and each picture, sample and tune must hold what its
// own header says, or the file counts as one that does not open.
#ifndef DELVORN_DATACHECK_H
#define DELVORN_DATACHECK_H

#include <cstddef>
#include <cstdint>
#include <string>

// The largest unpacked data file taken: far above the game's own (some
// 10 MiB unpacked), far below what would strain a player's memory.
const size_t DATA_MAX_UNPACKED = 256u << 20;

// The unpacked stream of a data file (what follows the pack magic: the
// data file magic, the number of objects, the objects): empty when it is
// sound, otherwise what is wrong and where.
std::string DataStreamProblem(const uint8_t *bytes, size_t size);

// The file unpacked with `password` (null for none) as Allegro's loader
// unpacks it, then checked as above.
std::string DataFileProblem(const std::string &nativePath, const char *password);

#endif
