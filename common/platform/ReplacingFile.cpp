#include "common/platform/ReplacingFile.h"

#include "common/platform/BackgroundClose.h"

#include <cerrno>
#include <chrono>
#include <climits>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

namespace
{

// From this size on, releasing a replaced file's blocks takes long enough to be left to a
// thread of its own (some milliseconds per hundred megabytes where blocks are discarded).
constexpr off_t kLargeFile = off_t{32} << 20;

// Saving through a symbolic link replaces the file it points to, not the link.
std::string ResolveTarget(const std::string &path)
{
    struct stat info {
    };
    if (lstat(path.c_str(), &info) == 0 && S_ISLNK(info.st_mode)) {
        char resolved[PATH_MAX];
        if (realpath(path.c_str(), resolved) != nullptr)
            return resolved;
    }
    return path;
}

std::string FolderOf(const std::string &path)
{
    const size_t slash = path.find_last_of('/');
    if (slash == std::string::npos)
        return ".";
    if (slash == 0)
        return "/";
    return path.substr(0, slash);
}

std::string NameOf(const std::string &path)
{
    const size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

} // namespace

bool TReplacingFile::Open(const std::string &targetPath)
{
    Discard();
    if (targetPath.empty())
        return false;
    TargetPath = ResolveTarget(targetPath);
    const std::string prefix = FolderOf(TargetPath) + "/." + NameOf(TargetPath) + ".";

    // The kernel applies the umask to a new file's mode 0666, as for any new document.
    unsigned long long seed = static_cast<unsigned long long>(
                                  std::chrono::steady_clock::now().time_since_epoch().count()) ^
                              (static_cast<unsigned long long>(getpid()) << 32);
    int fd = -1;
    for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
        seed = seed * 6364136223846793005ull + 1442695040888963407ull;
        TempPath = prefix + std::to_string((seed >> 24) % 1000000000ull) + ".tmp";
        fd = open(TempPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST)
            break;
    }
    if (fd < 0) {
        TempPath.clear();
        return false;
    }

    // A replaced file keeps its permissions.
    struct stat existing {
    };
    if (stat(TargetPath.c_str(), &existing) == 0 && S_ISREG(existing.st_mode)) {
        (void)fchmod(fd, existing.st_mode & 07777);
        // Held open, the old file outlives the rename until it is closed; a large one is
        // closed in the background.
        PreviousFile = open(TargetPath.c_str(), O_RDONLY | O_CLOEXEC);
        PreviousIsLarge = existing.st_size >= kLargeFile;
    }

    Stream = fdopen(fd, "wb");
    if (Stream == nullptr) {
        close(fd);
        unlink(TempPath.c_str());
        TempPath.clear();
        ClosePrevious();
        return false;
    }
    Failed = false;
    StartHelper();
    return true;
}

void TReplacingFile::ClosePrevious()
{
    if (PreviousFile >= 0) {
        close(PreviousFile);
        PreviousFile = -1;
    }
    PreviousIsLarge = false;
}

void TReplacingFile::StartHelper()
{
    HelperStop = false;
    try {
        Helper = std::thread(&TReplacingFile::HelperLoop, this, fileno(Stream));
    } catch (const std::system_error &) {
        // No thread: the writing just does without its help.
    }
}

void TReplacingFile::HelperLoop(int file)
{
    std::unique_lock<std::mutex> lock(HelperMutex);
    while (!HelperStop) {
        lock.unlock();
        // Starts writing out what has reached the file so far, without waiting for it.
        (void)sync_file_range(file, 0, 0, SYNC_FILE_RANGE_WRITE);
        lock.lock();
        HelperWake.wait_for(lock, std::chrono::milliseconds(2), [this] { return HelperStop; });
    }
}

void TReplacingFile::StopHelper()
{
    if (!Helper.joinable())
        return;
    {
        const std::lock_guard<std::mutex> lock(HelperMutex);
        HelperStop = true;
    }
    HelperWake.notify_all();
    Helper.join();
}

bool TReplacingFile::Write(const void *data, size_t count)
{
    if (Stream == nullptr || Failed)
        return false;
    if (count != 0 && std::fwrite(data, 1, count, Stream) != count)
        Failed = true;
    return !Failed;
}

bool TReplacingFile::Commit()
{
    if (Stream == nullptr)
        return false;
    bool ok = !Failed && std::fflush(Stream) == 0 && std::ferror(Stream) == 0;
    StopHelper();
    // The new file is on the disk before its name can replace the old one.
    ok = ok && fdatasync(fileno(Stream)) == 0;
    ok = std::fclose(Stream) == 0 && ok;
    Stream = nullptr;
    ok = ok && std::rename(TempPath.c_str(), TargetPath.c_str()) == 0;
    if (!ok)
        unlink(TempPath.c_str());
    TempPath.clear();
    if (ok) {
        // The rename itself reaches the disk with the folder's entry; the new file is in
        // place either way, so a failure here does not fail the save.
        const int folder = open(FolderOf(TargetPath).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (folder >= 0) {
            (void)fsync(folder);
            close(folder);
        }
        // The replaced file's last reference: releasing its blocks is nobody's wait.
        if (PreviousIsLarge) {
            CloseInBackground(PreviousFile);
            PreviousFile = -1;
        }
    }
    ClosePrevious();
    return ok;
}

void TReplacingFile::Discard()
{
    StopHelper();
    ClosePrevious();
    if (Stream != nullptr) {
        std::fclose(Stream);
        Stream = nullptr;
    }
    if (!TempPath.empty()) {
        unlink(TempPath.c_str());
        TempPath.clear();
    }
    Failed = false;
}
