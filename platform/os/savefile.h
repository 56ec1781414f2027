// savefile.h: how the game replaces a player's file (scores, a level, a
// demo) so that it holds either the old contents or the whole new ones,
// even on a full disk, after a kill, or with two copies of the game
// running; and the advisory locks those copies take turns with.
#ifndef DELVORN_SAVEFILE_H
#define DELVORN_SAVEFILE_H

#include <cstddef>
#include <cstdio>
#include <string>

// An exclusive advisory lock on a file, held from construction to
// destruction. Every save of the player's files holds the one lock file
// SaveLockPath names, so a second copy of the game waits for the first
// one's save to end.
class FileLock {
public:
    // wait: block until the lock is free; otherwise give up at once.
    explicit FileLock(const std::string &lockPath, bool wait = true);
    // Locks an open file of the caller's (the log) instead; the lock ends
    // when that file is closed.
    static bool LockOpenFile(int fd);
    ~FileLock();
    FileLock(const FileLock &) = delete;
    FileLock &operator=(const FileLock &) = delete;
    bool Held() const { return fd_ >= 0; }

private:
    int fd_ = -1;
};

// The saves' lock file, ".delvorn.lock" in the player's folder. Saves are
// few and short, so one lock for all of them costs nothing and leaves one
// file behind instead of one in every folder.
std::string SaveLockPath();

// A file being replaced: written to `path`.tmp (a temporary left by a
// killed earlier save is overwritten), then put in place by Commit. Every
// write, the flush to disk and the close are checked, and the temporary
// must hold every byte written before it may replace the old file. Until
// Commit succeeds the old file stays as it was; a save that is not
// committed removes its temporary.
class SafeSave {
public:
    explicit SafeSave(const std::string &path);
    ~SafeSave();
    SafeSave(const SafeSave &) = delete;
    SafeSave &operator=(const SafeSave &) = delete;

    bool Write(const void *bytes, size_t size);
    // True when `path` now holds everything written.
    bool Commit();
    // What failed, with the file ("cannot write HiScore.sco.tmp: No space
    // left on device"), and the system's reason alone; empty while nothing has.
    const std::string &Error() const { return error_; }
    const std::string &Reason() const { return reason_; }
    // True when the failure was that the folder does not take new files
    // (no permission, read-only, missing or not a folder).
    bool FolderRefused() const { return folderRefused_; }
    const std::string &Temporary() const { return temporary_; }

private:
    void Fail(const char *what, int error);
    std::string path_, temporary_, error_, reason_;
    int fd_ = -1;
    size_t written_ = 0;
    bool folderRefused_ = false;
    bool committed_ = false;
};

// Removes the temporary a killed save of `path` left behind. Only while
// the saves' lock is held: otherwise it may be another copy's save.
void RemoveStaleTemporary(const std::string &path);

// The whole save in one call: `size` bytes put in place of `path`.
bool SaveWholeFile(const std::string &path, const void *bytes, size_t size, std::string *error);

// Opens `path` for writing as this process's own (the log): emptied, and
// locked while open, so that another copy of the game finds it taken
// instead of emptying it under the first. Null when it cannot be opened,
// with *taken set when another process holds it.
std::FILE *OpenUnshared(const std::string &path, bool *taken);

// Whether a new file can be made in `folder` (tried, not guessed from the
// permission bits, which root and read-only mounts do not follow); the
// reason when not.
bool FolderTakesFiles(const std::string &folder, std::string *why);

#endif
