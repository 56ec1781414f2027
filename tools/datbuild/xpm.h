// xpm.h: a picture written as XPM source, for the window icon.
#ifndef DELVORN_XPM_H
#define DELVORN_XPM_H

#include <string>
#include "tools/datbuild/assets.h"

// Magenta becomes the transparent colour "None". `name` is the array's name.
bool SaveIconXpm(const std::string &path, const Picture &pic, const std::string &name);

#endif
