#include "RecoveryWriter.h"

#include "RecoveryCopy.h"
#include "common/TessellaPlugin.h"

bool TRecoveryWriter::Start(TRecoverySnapshot Snapshot, const std::string &PluginLibrary,
                            const std::string &CopyPath, const std::string &RecordPath,
                            bool WriteRecord)
{
    if (FBusy.load())
        return false;
    if (FThread.joinable())
        FThread.join();
    FCancel = false;
    FBusy = true;
    FThread = std::thread([this, snapshot = std::move(Snapshot), PluginLibrary, CopyPath,
                           RecordPath, WriteRecord]() mutable {
        TRecoveryWriteResult result;
        // The record first: a copy is never there without the names it belongs to.
        if (WriteRecord)
            result.RecordWritten = WriteRecoveryRecord(RecordPath, snapshot.Record);
        result.Code = result.RecordWritten
                          ? WriteRecoveryCopy(snapshot, PluginLibrary, CopyPath, &FCancel)
                          : prFileError;
        for (TRecoveryLayer &layer : snapshot.Layers)
            layer.Cells.reset();
        result.Snapshot = std::move(snapshot);
        {
            std::lock_guard<std::mutex> lock(FMutex);
            FResult = std::move(result);
        }
        FBusy = false;
    });
    return true;
}

std::optional<TRecoveryWriteResult> TRecoveryWriter::TakeResult()
{
    std::lock_guard<std::mutex> lock(FMutex);
    std::optional<TRecoveryWriteResult> result = std::move(FResult);
    FResult.reset();
    return result;
}

void TRecoveryWriter::Stop()
{
    FCancel = true;
    Wait();
}

void TRecoveryWriter::Wait()
{
    if (FThread.joinable())
        FThread.join();
}
