// paths.h: the one place where the game's Windows-style file names
// ("Maps\Zub1.map", "Config//Delvorn.ini") become names this platform opens,
// and where they lie: beside the executable (portable), or split between the
// installed, read-only data and the player's own folders (installed).
#ifndef DELVORN_PATHS_H
#define DELVORN_PATHS_H

#include <string>
#include <vector>

struct GamePlaces {
    bool installed = false;
    std::string shipped;   // the files the game ships; read-only when installed
    std::string writable;  // everything the game writes; read before `shipped`
    std::string config;    // the player's own settings folder (installed only)
};

// Where the files lie for an executable in exeDir. Installed when the data
// sits in exeDir/../share/games/delvorn and not beside the program; the
// player's folders follow the XDG rules (relative XDG values are ignored).
GamePlaces FindGamePlaces(const std::string &exeDir, const char *xdgDataHome, const char *xdgConfigHome,
                          const char *home);

// Makes the game use `places`. Until a call, names stay relative to the
// working folder (the tests that run game code in-process rely on it).
void UseGamePlaces(const GamePlaces &places);
// The same for this process: its executable's folder and its environment.
// Windows keeps the working folder, as its zip has always been run.
void UseOwnGamePlaces();
// One line per place, for the log ("Running installed", where each lies).
std::vector<std::string> DescribeGamePlaces();

// A file to read: the player's copy first (the settings in their config
// folder), then the shipped one. Backslashes become the platform separator.
std::string NativePath(const char *gamePath);
// A file to write, always under the writable folder. When installed, the
// folders on the way are created.
std::string WritablePath(const char *gamePath);

// Puts the finished file `from` in the place of `to`, replacing it if it
// exists (a plain rename cannot replace a file on Windows). False on failure.
bool ReplaceFileWith(const std::string &from, const std::string &to);

// True when the path names a regular file. A folder or device standing where
// a game file should be counts as a file that does not open: reading one
// gives nothing sensible (or never ends).
bool IsRegularFile(const std::string &path);

#endif
