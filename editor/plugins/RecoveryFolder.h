// The folder of recovery copies and the files that make up one copy:
//   <id>.tzp       the project as it was, written through the project plug-in
//   <id>.recovery  the side record (RecoveryRecord.h)
//   <id>.lock      locked for as long as the editor that writes the copy runs
// The id is the process number and the time the editor made it, so two editors (or one
// editor and a dead one's leftovers with a reused process number) never share a name. A
// copy that cannot be read is renamed to "<id>.tzp.broken" (its record follows) and never
// listed again.
#pragma once

#include "RecoveryRecord.h"
#include "common/platform/FileLock.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// $XDG_STATE_HOME/Tessella/recovery (~/.local/state/Tessella/recovery); empty when the
// home folder is not known.
std::string DefaultRecoveryFolder();

struct TRecoveryFiles {
    std::string Folder;
    std::string Id;

    std::string CopyPath() const { return Folder + "/" + Id + ".tzp"; }
    std::string RecordPath() const { return Folder + "/" + Id + ".recovery"; }
    std::string LockPath() const { return Folder + "/" + Id + ".lock"; }
    // Removes the copy, its record, its lock file and what a write cut short left behind.
    void Remove() const;
};

struct TRecoveryCopy {
    TRecoveryFiles Files;
    std::optional<TRecoveryRecord> Record; // nothing when missing or unreadable
    int64_t WrittenTime = 0;               // seconds since 1970
    uint64_t Size = 0;                     // of the project copy, in bytes
    bool InUse = false;                    // its editor still runs
};

// Every copy in the folder, oldest first (the order "--recover" numbers them in). Lock
// and record files whose copy is gone and whose editor no longer runs are removed.
std::vector<TRecoveryCopy> ListRecoveryCopies(const std::string &Folder);

// Keeps a copy that cannot be read under "<id>.tzp.broken" (and its record as
// "<id>.recovery.broken"), so it is not offered again; the new name of the copy.
std::string SetAsideBrokenCopy(const TRecoveryFiles &Files);

// Moves the copy and its record of From to To's names (the editor that takes over a
// recovered copy keeps it as its own until the work is saved). False when the copy could
// not be moved.
bool AdoptRecoveryCopy(const TRecoveryFiles &From, const TRecoveryFiles &To);

// This editor's own recovery files: a fresh id, the folder made (0700) and the lock taken
// when the first copy is written, everything removed on a clean exit.
class TOwnRecoveryFiles
{
public:
    explicit TOwnRecoveryFiles(std::string Folder);
    ~TOwnRecoveryFiles() { Remove(); }
    TOwnRecoveryFiles(const TOwnRecoveryFiles &) = delete;
    TOwnRecoveryFiles &operator=(const TOwnRecoveryFiles &) = delete;

    const TRecoveryFiles &Files() const { return FFiles; }
    // Makes the folder and takes the lock; false when either cannot be had.
    bool Prepare();
    // The copy and record go; the lock stays while this editor runs.
    void RemoveCopy();
    // Everything goes, the lock too.
    void Remove();
    bool HasCopy() const;

private:
    TRecoveryFiles FFiles;
    TFileLock FLock;
};
