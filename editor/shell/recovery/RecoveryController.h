// Keeps unsaved work safe from a crash, a kill or a power cut: while the map has unsaved
// changes, a recovery copy of the whole project is written to the recovery folder at most
// every RecoveryInterval seconds after a change and whenever the editor loses focus, and
// removed again once the work is saved, replaced by another map, or the editor ends
// cleanly. At start the copies that dead editors left are offered back.
//
// The snapshot is taken on the window's thread between two events (never while a long
// operation runs), the file is written by TRecoveryWriter's thread; a failed write is said
// once in the status bar and tried again an interval later.
#pragma once

#include "editor/plugins/RecoveryFolder.h"
#include "editor/plugins/RecoverySnapshot.h"
#include "editor/plugins/RecoveryWriter.h"

#include <QObject>
#include <chrono>
#include <cstdint>
#include <optional>
#include <string>

class QTimer;
class TMainForm;

class TRecoveryController : public QObject
{
    Q_OBJECT
public:
    // Folder: where the copies go; IntervalSeconds: 0 writes none. The controller becomes
    // the window's child and goes with it.
    TRecoveryController(TMainForm &Form, const std::string &Folder, int32_t IntervalSeconds);
    // A clean exit: a running write stops and this editor's copy goes.
    ~TRecoveryController() override;

    // For each copy whose editor no longer runs: "Unsaved changes to %s were recovered.
    // Open them?" Yes opens it as unsaved work under its own name and path (and ends the
    // offers), No deletes it, Later keeps it. A copy that cannot be read is set aside as
    // ".broken" and reported. Waits while a box or a long operation is open.
    void OfferRecoveredCopies();
    // One look: takes a finished write's outcome, removes the copy of a document with
    // nothing unsaved, starts a write when one is due (at once with WriteNow).
    void Poll(bool WriteNow = false);

    const TRecoveryFiles &OwnFiles() const { return FOwn.Files(); }
    TRecoveryWriter &Writer() { return FWriter; }
    // How long the last snapshot held the window's thread, and how many layers it copied.
    std::chrono::microseconds LastSnapshotPause() const { return FLastPause; }
    size_t LastSnapshotCopies() const { return FTaker.CopiedLayers(); }

private:
    std::string PluginLibrary() const;
    void StartWrite();
    void Finished(const TRecoveryWriteResult &Result);
    void WriteFailed();
    void Forget();
    bool Restore(const TRecoveryCopy &Copy);

    TMainForm &FForm;
    std::string FFolder;
    std::chrono::seconds FInterval;
    TOwnRecoveryFiles FOwn;
    TRecoveryWriter FWriter;
    TRecoverySnapshotTaker FTaker;
    QTimer *FTimer = nullptr;
    // The state the copy on disk holds; nothing while there is none.
    std::optional<TRecoverySnapshot> FWritten;
    // The state the last look found, to tell when the user rests.
    std::optional<TRecoverySnapshot> FLastSeen;
    std::optional<std::chrono::steady_clock::time_point> FPendingSince;
    std::chrono::steady_clock::time_point FRetryAfter{};
    bool FFailureShown = false;
    std::chrono::microseconds FLastPause{0};
};
