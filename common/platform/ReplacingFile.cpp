#include "common/platform/ReplacingFile.h"

#include <cerrno>
#include <chrono>
#include <climits>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace
{

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
    if (stat(TargetPath.c_str(), &existing) == 0 && S_ISREG(existing.st_mode))
        (void)fchmod(fd, existing.st_mode & 07777);

    Stream = fdopen(fd, "wb");
    if (Stream == nullptr) {
        close(fd);
        unlink(TempPath.c_str());
        TempPath.clear();
        return false;
    }
    Failed = false;
    return true;
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
    ok = std::fclose(Stream) == 0 && ok;
    Stream = nullptr;
    ok = ok && std::rename(TempPath.c_str(), TargetPath.c_str()) == 0;
    if (!ok)
        unlink(TempPath.c_str());
    TempPath.clear();
    return ok;
}

void TReplacingFile::Discard()
{
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
