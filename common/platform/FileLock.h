// An exclusive lock on a file that lasts as long as the process holds it: the system lets
// it go when the process ends in any way (exit, crash, kill), so a lock nobody holds tells
// that its owner is gone. Locks are advisory: they keep out only those who ask for them.
#pragma once

#include <string>

class TFileLock
{
public:
    TFileLock() = default;
    ~TFileLock() { Release(); }
    TFileLock(const TFileLock &) = delete;
    TFileLock &operator=(const TFileLock &) = delete;

    // Takes the lock on path without waiting, creating the file (mode 0600) when it is
    // missing; false when another holder has it or the file cannot be made.
    bool TryAcquire(const std::string &path);
    // Lets the lock go; the file stays.
    void Release();
    bool IsHeld() const { return FFile >= 0; }
    const std::string &Path() const { return FPath; }

private:
    int FFile = -1;
    std::string FPath;
};

// Whether another holder (in this process or any other) has the lock on path now; false
// when the file is missing.
bool IsFileLocked(const std::string &path);
