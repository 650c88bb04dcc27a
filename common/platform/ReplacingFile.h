// Saving without ever destroying the previous file: the data goes to a temporary file in
// the target's folder, which replaces the target in one rename once everything is written
// and on the disk. Until then, and after any failure, the old file is untouched; a discarded
// or failed save leaves no temporary file behind.
//
// The waiting is kept off the end of the save: while the data is written a helper thread
// hands what is written so far to the disk, so that making the file durable before the
// rename waits only for the last part; and a large old file is held open across the rename
// and closed on a thread of its own, where the system drops its cached pages and releases
// (and discards) its blocks.
#pragma once

#include <condition_variable>
#include <cstddef>
#include <cstdio>
#include <mutex>
#include <string>
#include <thread>

class TReplacingFile
{
public:
    TReplacingFile() = default;
    ~TReplacingFile() { Discard(); }
    TReplacingFile(const TReplacingFile &) = delete;
    TReplacingFile &operator=(const TReplacingFile &) = delete;

    // Creates the temporary file beside targetPath; false when it cannot be created.
    bool Open(const std::string &targetPath);
    bool IsOpen() const { return Stream != nullptr; }

    // The stream to write to; use it only between Open and Commit or Discard.
    std::FILE *Output() const { return Stream; }
    bool Write(const void *data, size_t count);

    // Writes out, closes and renames the temporary file over the target. Returns false
    // (and discards the temporary file) when any of that fails or a write failed before.
    bool Commit();
    // Closes and removes the temporary file; the target stays as it was.
    void Discard();

    const std::string &TemporaryPath() const { return TempPath; }

private:
    void StartHelper();
    void StopHelper();
    void HelperLoop(int file);
    void ClosePrevious();

    std::FILE *Stream = nullptr;
    std::string TargetPath;
    std::string TempPath;
    bool Failed = false;
    int PreviousFile = -1; // the file being replaced, read-only
    bool PreviousIsLarge = false;
    std::thread Helper;
    std::mutex HelperMutex;
    std::condition_variable HelperWake;
    bool HelperStop = false;
};
