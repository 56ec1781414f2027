// paths.h: the one place where the game's Windows-style file names
// ("Maps\Zub1.map", "Config//Delvorn.ini") become names this platform opens.
#ifndef DELVORN_PATHS_H
#define DELVORN_PATHS_H

#include <string>

// Backslashes become the platform separator; everything else is kept.
std::string NativePath(const char *gamePath);

#endif
