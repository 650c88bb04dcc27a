#include "common/platform/FileLock.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace
{

// flock locks belong to the open file: two opens conflict even within one process.
bool LockOpenFile(int file)
{
    int result = 0;
    do
        result = flock(file, LOCK_EX | LOCK_NB);
    while (result != 0 && errno == EINTR);
    return result == 0;
}

// The file the descriptor locks is still the one at path (nobody removed the lock file
// between opening and locking it, taking it for a dead holder's).
bool StillAtPath(int file, const std::string &path)
{
    struct stat opened {
    };
    struct stat named {
    };
    return fstat(file, &opened) == 0 && stat(path.c_str(), &named) == 0 &&
           opened.st_dev == named.st_dev && opened.st_ino == named.st_ino;
}

} // namespace

bool TFileLock::TryAcquire(const std::string &path)
{
    Release();
    for (int attempt = 0; attempt < 8; ++attempt) {
        const int file = open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
        if (file < 0)
            return false;
        if (!LockOpenFile(file)) {
            close(file);
            return false;
        }
        if (StillAtPath(file, path)) {
            FFile = file;
            FPath = path;
            return true;
        }
        close(file);
    }
    return false;
}

void TFileLock::Release()
{
    if (FFile >= 0)
        close(FFile); // closing the only descriptor lets the lock go
    FFile = -1;
    FPath.clear();
}

bool IsFileLocked(const std::string &path)
{
    const int file = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (file < 0)
        return false;
    const bool free = LockOpenFile(file);
    close(file);
    return !free;
}
