#include "RecoveryFolder.h"

#include "common/platform/UserFolders.h"

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <set>

namespace fs = std::filesystem;

namespace
{

int64_t SecondsSinceEpoch(fs::file_time_type time)
{
    const auto system = std::chrono::file_clock::to_sys(time);
    return std::chrono::duration_cast<std::chrono::seconds>(system.time_since_epoch()).count();
}

void RemoveFile(const std::string &path)
{
    std::error_code error;
    fs::remove(path, error);
}

} // namespace

std::string DefaultRecoveryFolder()
{
    const std::string state = UserStateFolder();
    return state.empty() ? std::string() : state + "/Tessella/recovery";
}

void TRecoveryFiles::Remove() const
{
    RemoveFile(CopyPath());
    RemoveFile(RecordPath());
    // A write cut short leaves its temporary file (".<name>.XXXXXX") beside the target.
    std::error_code error;
    for (const fs::directory_entry &entry : fs::directory_iterator(Folder, error)) {
        const std::string name = entry.path().filename().string();
        if (name.rfind("." + Id + ".", 0) == 0)
            RemoveFile(entry.path().string());
    }
    RemoveFile(LockPath());
}

std::vector<TRecoveryCopy> ListRecoveryCopies(const std::string &Folder)
{
    std::set<std::string> copies;
    std::set<std::string> others; // ids that have only a lock or a record
    std::error_code error;
    for (const fs::directory_entry &entry : fs::directory_iterator(Folder, error)) {
        const std::string name = entry.path().filename().string();
        if (name.empty() || name[0] == '.')
            continue;
        const std::string stem = entry.path().stem().string();
        const std::string extension = entry.path().extension().string();
        if (extension == ".tzp" && entry.is_regular_file(error))
            copies.insert(stem);
        else if (extension == ".lock" || extension == ".recovery")
            others.insert(stem);
    }
    for (const std::string &id : others) {
        const TRecoveryFiles files{Folder, id};
        if (copies.count(id) == 0 && !IsFileLocked(files.LockPath())) {
            RemoveFile(files.RecordPath());
            RemoveFile(files.LockPath());
        }
    }
    std::vector<TRecoveryCopy> list;
    for (const std::string &id : copies) {
        TRecoveryCopy copy;
        copy.Files = TRecoveryFiles{Folder, id};
        const fs::path path = copy.Files.CopyPath();
        const auto time = fs::last_write_time(path, error);
        copy.WrittenTime = error ? 0 : SecondsSinceEpoch(time);
        const uintmax_t size = fs::file_size(path, error);
        copy.Size = error ? 0 : static_cast<uint64_t>(size);
        copy.Record = ReadRecoveryRecord(copy.Files.RecordPath());
        copy.InUse = IsFileLocked(copy.Files.LockPath());
        list.push_back(std::move(copy));
    }
    std::stable_sort(list.begin(), list.end(), [](const TRecoveryCopy &a, const TRecoveryCopy &b) {
        return a.WrittenTime < b.WrittenTime;
    });
    return list;
}

std::string SetAsideBrokenCopy(const TRecoveryFiles &Files)
{
    const std::string broken = Files.CopyPath() + ".broken";
    std::error_code error;
    fs::rename(Files.CopyPath(), broken, error);
    if (fs::exists(Files.RecordPath(), error))
        fs::rename(Files.RecordPath(), Files.RecordPath() + ".broken", error);
    return broken;
}

bool AdoptRecoveryCopy(const TRecoveryFiles &From, const TRecoveryFiles &To)
{
    std::error_code error;
    fs::rename(From.RecordPath(), To.RecordPath(), error);
    error.clear();
    fs::rename(From.CopyPath(), To.CopyPath(), error);
    const bool moved = !error;
    From.Remove();
    return moved;
}

namespace
{

std::string NewId()
{
    const auto now = std::chrono::system_clock::now().time_since_epoch();
    const auto micro = std::chrono::duration_cast<std::chrono::microseconds>(now).count();
    return std::to_string(CurrentProcessId()) + "-" + std::to_string(micro);
}

} // namespace

TOwnRecoveryFiles::TOwnRecoveryFiles(std::string Folder) : FFiles{std::move(Folder), NewId()} {}

bool TOwnRecoveryFiles::Prepare()
{
    if (FLock.IsHeld())
        return true;
    return !FFiles.Folder.empty() && MakePrivateFolder(FFiles.Folder) &&
           FLock.TryAcquire(FFiles.LockPath());
}

void TOwnRecoveryFiles::RemoveCopy()
{
    RemoveFile(FFiles.CopyPath());
    RemoveFile(FFiles.RecordPath());
}

void TOwnRecoveryFiles::Remove()
{
    if (!FLock.IsHeld() && !HasCopy())
        return;
    // The lock file goes while it is still held, so nobody takes it for a dead editor's.
    FFiles.Remove();
    FLock.Release();
}

bool TOwnRecoveryFiles::HasCopy() const
{
    std::error_code error;
    return fs::exists(FFiles.CopyPath(), error);
}
