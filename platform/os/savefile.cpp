// savefile.cpp: see savefile.h.
#include "platform/os/savefile.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>

#include "platform/paths/paths.h"

#ifdef _WIN32
#include <io.h>
#include <process.h>
#include <windows.h>
#else
#include <sys/file.h>
#include <unistd.h>
#endif

namespace {

#ifdef _WIN32
int OpenFile(const std::string &path, int flags)
{
    return _open(path.c_str(), flags | _O_BINARY, _S_IREAD | _S_IWRITE);
}
int CloseFile(int fd)
{
    return _close(fd);
}
long WriteSome(int fd, const void *bytes, size_t size)
{
    return _write(fd, bytes, (unsigned)size);
}
int FlushFile(int fd)
{
    return _commit(fd);
}
int RemoveFile(const std::string &path)
{
    return _unlink(path.c_str());
}
int EmptyFile(int fd)
{
    return _chsize(fd, 0);
}
std::FILE *StreamOf(int fd)
{
    _setmode(fd, _O_TEXT);  // as the log has always been written
    return _fdopen(fd, "w");
}
int ProcessId()
{
    return _getpid();
}
// A byte far past any end of file: Windows locks keep other handles from
// the bytes they cover, and the lock must not keep anyone from the data.
bool LockHandle(int fd, bool wait)
{
    HANDLE h = (HANDLE)_get_osfhandle(fd);
    OVERLAPPED at = {};
    at.OffsetHigh = 0x40000000;
    DWORD flags = LOCKFILE_EXCLUSIVE_LOCK | (wait ? 0 : LOCKFILE_FAIL_IMMEDIATELY);
    return h != INVALID_HANDLE_VALUE && LockFileEx(h, flags, 0, 1, 0, &at);
}
#else
int OpenFile(const std::string &path, int flags)
{
    return open(path.c_str(), flags | O_CLOEXEC, 0644);
}
int CloseFile(int fd)
{
    return close(fd);
}
long WriteSome(int fd, const void *bytes, size_t size)
{
    return (long)write(fd, bytes, size);
}
int FlushFile(int fd)
{
    return fsync(fd);
}
int RemoveFile(const std::string &path)
{
    return unlink(path.c_str());  // never a folder standing in the way
}
int EmptyFile(int fd)
{
    return ftruncate(fd, 0);
}
std::FILE *StreamOf(int fd)
{
    return fdopen(fd, "w");
}
int ProcessId()
{
    return (int)getpid();
}
bool LockHandle(int fd, bool wait)
{
    int result;
    do
        result = flock(fd, LOCK_EX | (wait ? 0 : LOCK_NB));
    while (result != 0 && errno == EINTR);
    return result == 0;
}
#endif

bool IsFolderRefusal(int error)
{
    return error == EACCES || error == EPERM || error == EROFS || error == ENOENT || error == ENOTDIR;
}

}  // namespace

FileLock::FileLock(const std::string &lockPath, bool wait)
{
    fd_ = OpenFile(lockPath, O_RDWR | O_CREAT);
    if (fd_ >= 0 && !LockHandle(fd_, wait)) {
        CloseFile(fd_);
        fd_ = -1;
    }
}

bool FileLock::LockOpenFile(int fd)
{
    return fd >= 0 && LockHandle(fd, false);
}

FileLock::~FileLock()
{
    if (fd_ >= 0)
        CloseFile(fd_);  // closing the file ends the lock
}

std::string SaveLockPath()
{
    return WritablePath(".delvorn.lock");
}

SafeSave::SafeSave(const std::string &path) : path_(path), temporary_(path + ".tmp")
{
    fd_ = OpenFile(temporary_, O_WRONLY | O_CREAT | O_TRUNC);
    if (fd_ < 0) {
        int error = errno;
        folderRefused_ = IsFolderRefusal(error);
        Fail("cannot create", error);
    }
}

SafeSave::~SafeSave()
{
    if (fd_ >= 0)
        CloseFile(fd_);
    if (!committed_)
        RemoveFile(temporary_);
}

void SafeSave::Fail(const char *what, int error)
{
    if (error_.empty()) {
        reason_ = std::strerror(error);
        error_ = std::string(what) + " " + temporary_ + ": " + reason_;
    }
    if (fd_ >= 0) {
        CloseFile(fd_);
        fd_ = -1;
    }
}

bool SafeSave::Write(const void *bytes, size_t size)
{
    if (fd_ < 0)
        return false;
    const char *at = static_cast<const char *>(bytes);
    while (size > 0) {
        long n = WriteSome(fd_, at, size);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            // A write that takes nothing without an error is a full disk too.
            Fail("cannot write", n < 0 ? errno : ENOSPC);
            return false;
        }
        at += n;
        size -= (size_t)n;
        written_ += (size_t)n;
    }
    return true;
}

bool SafeSave::Commit()
{
    if (fd_ < 0)
        return false;
    // On disk before it replaces anything, so a power cut cannot swap a good
    // file for an empty one; some file systems report a full disk only here.
    if (FlushFile(fd_) != 0) {
        Fail("cannot flush", errno);
        return false;
    }
    struct stat st;
    if (fstat(fd_, &st) != 0 || (size_t)st.st_size != written_) {
        Fail("cannot write all of", ENOSPC);
        return false;
    }
    int fd = fd_;
    fd_ = -1;
    if (CloseFile(fd) != 0) {
        Fail("cannot close", errno);
        return false;
    }
    if (!ReplaceFileWith(temporary_, path_)) {
        Fail("cannot put in place", errno);
        return false;
    }
    committed_ = true;
    return true;
}

void RemoveStaleTemporary(const std::string &path)
{
    RemoveFile(path + ".tmp");
}

bool SaveWholeFile(const std::string &path, const void *bytes, size_t size, std::string *error)
{
    SafeSave save(path);
    if (save.Write(bytes, size) && save.Commit())
        return true;
    if (error)
        *error = save.Error();
    return false;
}

std::FILE *OpenUnshared(const std::string &path, bool *taken)
{
    *taken = false;
    int fd = OpenFile(path, O_WRONLY | O_CREAT);  // not emptied before it is ours
    if (fd < 0)
        return nullptr;
    if (!LockHandle(fd, false)) {
        *taken = true;
        CloseFile(fd);
        return nullptr;
    }
    std::FILE *file = EmptyFile(fd) == 0 ? StreamOf(fd) : nullptr;
    if (!file)
        CloseFile(fd);
    return file;
}

bool FolderTakesFiles(const std::string &folder, std::string *why)
{
    std::string probe = folder;
    if (!probe.empty() && probe.back() != '/' && probe.back() != '\\')
        probe += '/';
    probe += ".delvorn-probe-" + std::to_string(ProcessId());
    int fd = OpenFile(probe, O_WRONLY | O_CREAT | O_EXCL);
    if (fd < 0) {
        if (why)
            *why = std::strerror(errno);
        return false;
    }
    CloseFile(fd);
    RemoveFile(probe);
    return true;
}
