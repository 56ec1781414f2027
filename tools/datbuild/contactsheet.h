// contactsheet.h: PNG output for reviewing the art: one sheet with every
// picture and its entry number, or a single picture at full size.
#ifndef DELVORN_CONTACTSHEET_H
#define DELVORN_CONTACTSHEET_H

#include <string>
#include <utility>
#include <vector>
#include "tools/datbuild/assets.h"

// Writes pixels (0xRRGGBB; magenta shown as a checkerboard) as a PNG.
bool SavePicturePng(const std::string &path, const Picture &pic);

// Writes pixels as an RGBA PNG, magenta fully transparent: the desktop icons.
bool SaveIconPng(const std::string &path, const Picture &pic);

// Small pictures enlarged, full pictures reduced, each labelled with its entry.
// Needs Allegro installed (it uses the built-in font).
bool WriteContactSheet(const std::string &path, const std::vector<std::pair<int, Picture>> &pictures);

// A made-up level scene built from the tiles and figures, to judge how they
// look together on the play field.
bool WriteMockLevel(const std::string &path);

// A level file (1275 little-endian codes) drawn the way play draws its cells,
// without figures other than the bags, heart and potion where they start.
bool WriteMapPreview(const std::string &mapPath, const std::string &path);

// The levels side by side, labelled with their file names: the levels'
// contact sheet.
bool WriteLevelSheet(const std::string &path, const std::vector<std::string> &mapPaths);

#endif
