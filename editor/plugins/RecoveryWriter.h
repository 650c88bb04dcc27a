// The thread that writes recovery copies: one write at a time, started with a snapshot the
// window's thread took, its outcome collected by that thread when it looks next. Nothing
// here shows anything or touches the user's own file.
#pragma once

#include "RecoverySnapshot.h"

#include <atomic>
#include <cstdint>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

struct TRecoveryWriteResult {
    int32_t Code = 0; // the plug-in's result; 0 success
    bool RecordWritten = true;
    TRecoverySnapshot Snapshot; // what was written (its cells already let go)
};

class TRecoveryWriter
{
public:
    TRecoveryWriter() = default;
    // A write that still runs is stopped (its copy stays as it was) and waited for.
    ~TRecoveryWriter() { Stop(); }
    TRecoveryWriter(const TRecoveryWriter &) = delete;
    TRecoveryWriter &operator=(const TRecoveryWriter &) = delete;

    // Starts writing the snapshot's side record to RecordPath (when WriteRecord) and the
    // copy to CopyPath through the plug-in library; false while a write runs.
    bool Start(TRecoverySnapshot Snapshot, const std::string &PluginLibrary,
               const std::string &CopyPath, const std::string &RecordPath, bool WriteRecord);
    bool Busy() const { return FBusy.load(); }
    // The outcome of the write that ended since the last call, once.
    std::optional<TRecoveryWriteResult> TakeResult();
    // Asks a running write to stop and waits for it.
    void Stop();
    // Waits for a running write to end (tests and benchmarks).
    void Wait();

private:
    std::thread FThread;
    std::atomic<bool> FBusy{false};
    std::atomic<bool> FCancel{false};
    std::mutex FMutex;
    std::optional<TRecoveryWriteResult> FResult;
};
