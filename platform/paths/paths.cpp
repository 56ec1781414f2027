// paths.cpp: Windows-style game paths to native ones, in the folders the
// game runs from.
#include "platform/paths/paths.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <sys/stat.h>
#include <system_error>

#ifdef _WIN32
#include <windows.h>
#else
#include <pwd.h>
#include <unistd.h>
#endif

namespace fs = std::filesystem;

// Owned here; empty places keep every name relative to the working folder.
static GamePlaces places;

static std::string Folder(const fs::path &path)
{
    std::string text = path.lexically_normal().string();
    if (!text.empty() && text.back() != '/')
        text += '/';
    return text;
}

static bool Exists(const std::string &path)
{
    std::error_code error;
    return fs::exists(path, error);
}

// An XDG folder, or `fallback` below home when the variable is unset, empty
// or relative (the XDG rules say to ignore relative ones).
static fs::path XdgFolder(const char *value, const char *home, const char *fallback)
{
    if (value && value[0] == '/')
        return value;
    return fs::path(home && home[0] ? home : "/") / fallback;
}

GamePlaces FindGamePlaces(const std::string &exeDir, const char *xdgDataHome, const char *xdgConfigHome,
                          const char *home)
{
    GamePlaces found;
    const fs::path exe = fs::path(exeDir);
    const fs::path installedData = exe / ".." / "share" / "games" / "delvorn";
    found.shipped = Folder(exe);
    found.writable = found.shipped;
    if (Exists((exe / "Data.dat").string()) || !Exists((installedData / "Data.dat").string()))
        return found;
    found.installed = true;
    found.shipped = Folder(installedData);
    found.writable = Folder(XdgFolder(xdgDataHome, home, ".local/share") / "delvorn");
    found.config = Folder(XdgFolder(xdgConfigHome, home, ".config") / "delvorn");
    return found;
}

void UseGamePlaces(const GamePlaces &chosen)
{
    places = chosen;
}

void UseOwnGamePlaces()
{
#ifndef _WIN32
    std::error_code error;
    fs::path exe = fs::read_symlink("/proc/self/exe", error);
    if (error)
        return;
    const char *home = std::getenv("HOME");
    if (!home || !home[0]) {
        const passwd *user = getpwuid(getuid());
        home = user ? user->pw_dir : nullptr;
    }
    UseGamePlaces(FindGamePlaces(exe.parent_path().string(), std::getenv("XDG_DATA_HOME"),
                                 std::getenv("XDG_CONFIG_HOME"), home));
#endif
}

std::vector<std::string> DescribeGamePlaces()
{
    if (!places.installed)
        return {"Running portable from " + (places.shipped.empty() ? std::string("./") : places.shipped)};
    return {"Running installed from " + places.shipped, "Player files in " + places.writable,
            "Player settings in " + places.config};
}

static std::string Separators(const char *gamePath)
{
    std::string path = gamePath ? gamePath : "";
#ifndef _WIN32
    for (char &c : path)
        if (c == '\\')
            c = '/';
#endif
    return path;
}

// "Config//Delvorn.ini" names "Delvorn.ini" in the settings folder.
static bool InConfigFolder(const std::string &path, std::string *rest)
{
    if (path.compare(0, 7, "Config/") != 0)
        return false;
    const size_t start = path.find_first_not_of('/', 6);
    *rest = start == std::string::npos ? "" : path.substr(start);
    return true;
}

std::string NativePath(const char *gamePath)
{
    std::string path = Separators(gamePath);
    if (!places.installed)
        return places.shipped + path;
    std::string rest;
    std::string own = InConfigFolder(path, &rest) ? places.config + rest : places.writable + path;
    return Exists(own) ? own : places.shipped + path;
}

std::string WritablePath(const char *gamePath)
{
    std::string path = places.writable + Separators(gamePath);
    if (places.installed) {
        std::error_code error;
        fs::create_directories(fs::path(path).parent_path(), error);
    }
    return path;
}

bool ReplaceFileWith(const std::string &from, const std::string &to)
{
#ifdef _WIN32
    return MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
#else
    return std::rename(from.c_str(), to.c_str()) == 0;
#endif
}

bool IsRegularFile(const std::string &path)
{
    struct stat st;
    return stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}
