// paths.h: the one place where the game's Windows-style file names
// ("Maps\Zub1.map", "Config//Delvorn.ini") become names this platform opens.
#ifndef DELVORN_PATHS_H
#define DELVORN_PATHS_H

#include <string>

// Backslashes become the platform separator; everything else is kept.
std::string NativePath(const char *gamePath);

// Puts the finished file `from` in the place of `to`, replacing it if it
// exists (a plain rename cannot replace a file on Windows). False on failure.
bool ReplaceFileWith(const std::string &from, const std::string &to);

// True when the path names a regular file. A folder or device standing where
// a game file should be counts as a file that does not open: reading one
// gives nothing sensible (or never ends).
bool IsRegularFile(const std::string &path);

#endif
