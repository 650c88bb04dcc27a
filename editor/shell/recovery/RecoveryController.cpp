#include "RecoveryController.h"

#include "editor/map/DialogSeam.h"
#include "editor/plugins/FileCommands.h"
#include "editor/plugins/FileNameText.h"
#include "editor/plugins/RecoveryCopy.h"
#include "editor/shell/MainForm.h"
#include "editor/shell/progress/ProgressDisplay.h"

#include <QApplication>
#include <QGuiApplication>
#include <QStatusBar>
#include <QTimer>

namespace
{

using Clock = std::chrono::steady_clock;

// How often the controller looks whether a copy is due.
constexpr int PollMilliseconds = 1000;
// How much of the map one turn of the event loop copies for a snapshot: about 20 ms of
// memory traffic, so painting never waits longer for a copy.
constexpr size_t CopyStepBytes = 32u << 20;
// How long the status bar shows that a copy could not be written.
constexpr int NoteMilliseconds = 20000;

} // namespace

TRecoveryController::TRecoveryController(TMainForm &Form, const std::string &Folder,
                                         int32_t IntervalSeconds)
    : QObject(&Form), FForm(Form), FFolder(Folder),
      FInterval(std::chrono::seconds(std::max(IntervalSeconds, 0))), FOwn(Folder)
{
    FTimer = new QTimer(this);
    FTimer->setInterval(PollMilliseconds);
    connect(FTimer, &QTimer::timeout, this, [this] { Poll(); });
    if (FInterval.count() > 0)
        FTimer->start();
    // Losing focus is when the user turns to something that may take the editor down.
    // Queued: the look happens between events, never inside the window's own teardown.
    connect(
        qApp, &QGuiApplication::applicationStateChanged, this,
        [this](Qt::ApplicationState state) {
            if (state != Qt::ApplicationActive)
                Poll(true);
        },
        Qt::QueuedConnection);
}

TRecoveryController::~TRecoveryController()
{
    FWriter.Stop();
    FOwn.Remove();
}

std::string TRecoveryController::PluginLibrary() const
{
    const TFilePluginHost *plugins = FForm.Plugins();
    const int32_t index = plugins != nullptr ? plugins->ProjectPluginIndex() : 0;
    if (index <= 0)
        return std::string();
    return plugins->LibraryPath(plugins->PluginList()[static_cast<size_t>(index - 1)]);
}

void TRecoveryController::Poll(bool WriteNow)
{
    if (std::optional<TRecoveryWriteResult> result = FWriter.TakeResult())
        Finished(*result);
    // While a long operation runs the map may be half transformed or half read.
    if (FWriter.Busy() || FInterval.count() == 0 || FForm.Progress().Running())
        return;
    const TMap *map = FForm.Project().Map();
    if (map == nullptr || !map->IsReady())
        return;
    if (!map->IsModified()) {
        Forget();
        return;
    }
    const TRecoverySnapshot state = DescribeProject(FForm.Project());
    if (FWritten && state.SameStateAs(*FWritten)) {
        FPendingSince.reset();
        return;
    }
    const Clock::time_point now = Clock::now();
    if (!FPendingSince)
        FPendingSince = now;
    if (!WriteNow && (now < *FPendingSince + FInterval || now < FRetryAfter)) {
        // While the user rests, the wait brings the kept copies up to date a step at a time.
        if (FLastSeen && state.SameStateAs(*FLastSeen))
            FTaker.CopyAhead(FForm.Project(), CopyStepBytes);
        FLastSeen = state;
        return;
    }
    FLastSeen.reset();
    StartWrite();
}

void TRecoveryController::StartWrite()
{
    const std::string library = PluginLibrary();
    if (library.empty())
        return;
    const Clock::time_point start = Clock::now();
    // A map whose changed layers are more than one step copies over several turns of the
    // event loop, the input handled between them; the write follows the last step.
    if (!FTaker.CopyAhead(FForm.Project(), CopyStepBytes)) {
        FLastPause = std::chrono::duration_cast<std::chrono::microseconds>(Clock::now() - start);
        QTimer::singleShot(0, this, [this] { Poll(true); });
        return;
    }
    if (!FOwn.Prepare()) {
        WriteFailed();
        return;
    }
    TRecoverySnapshot snapshot = FTaker.Take(FForm.Project());
    FLastPause = std::chrono::duration_cast<std::chrono::microseconds>(Clock::now() - start);
    const bool writeRecord = !FWritten || !(FWritten->Record == snapshot.Record);
    const TRecoveryFiles &files = FOwn.Files();
    FWriter.Start(std::move(snapshot), library, files.CopyPath(), files.RecordPath(), writeRecord);
    FPendingSince.reset();
}

void TRecoveryController::Finished(const TRecoveryWriteResult &Result)
{
    if (Result.Code == prSuccess) {
        FWritten = Result.Snapshot;
        FFailureShown = false;
        return;
    }
    if (Result.Code == prCancelled)
        return;
    // The record may be the new one while the copy is the old one: both are written again.
    FWritten.reset();
    WriteFailed();
}

void TRecoveryController::WriteFailed()
{
    FRetryAfter = Clock::now() + FInterval;
    if (FFailureShown)
        return;
    FFailureShown = true;
    const std::string text = ReplacePlaceholder(
        Dialogs().GetLangMessage(
            54, "Unsaved changes cannot be kept for recovery in %s; it is tried again later."),
        FFolder);
    FForm.statusBar()->showMessage(QString::fromStdString(text), NoteMilliseconds);
}

void TRecoveryController::Forget()
{
    if (FWritten || FOwn.HasCopy())
        FOwn.RemoveCopy();
    FWritten.reset();
    FTaker.Clear();
    FPendingSince.reset();
    FFailureShown = false;
}

void TRecoveryController::OfferRecoveredCopies()
{
    const std::string library = PluginLibrary();
    if (FFolder.empty() || library.empty())
        return;
    if (QApplication::activeModalWidget() != nullptr || FForm.Progress().Running()) {
        QTimer::singleShot(200, this, [this] { OfferRecoveredCopies(); });
        return;
    }
    for (const TRecoveryCopy &copy : ListRecoveryCopies(FFolder)) {
        if (copy.InUse || copy.Files.Id == FOwn.Files().Id)
            continue;
        // Held while the user decides, so that an editor started meanwhile leaves it alone.
        TFileLock claim;
        if (!claim.TryAcquire(copy.Files.LockPath()))
            continue;
        if (CheckRecoveryCopy(library, copy.Files.CopyPath()) != prSuccess) {
            const std::string broken = SetAsideBrokenCopy(copy.Files);
            copy.Files.Remove();
            Dialogs().ShowMessageBox(
                mkCaution,
                ReplacePlaceholder(Dialogs().GetLangMessage(
                                       55, "A recovery copy cannot be read; it is kept as %s."),
                                   broken));
            continue;
        }
        const std::string name =
            copy.Record ? copy.Record->DocumentName : Dialogs().GetLangString(0, "Untitled");
        const TAnswer answer = Dialogs().AskQuestion(
            "Tessella",
            ReplacePlaceholder(
                Dialogs().GetLangMessage(53, "Unsaved changes to %s were recovered. Open them?"),
                name),
            TQuestionButtons::YesNoLater, TQuestionIcon::Question);
        if (answer == TAnswer::No)
            copy.Files.Remove();
        else if (answer == TAnswer::Yes && Restore(copy))
            return;
    }
}

bool TRecoveryController::Restore(const TRecoveryCopy &Copy)
{
    TProjectDocument &project = FForm.Project();
    if (!FForm.Files().SaveMessage())
        return false;
    if (!FForm.Files().OpenFile(Copy.Files.CopyPath())) {
        // Read a moment ago, and not now: kept aside, as any copy that cannot be read.
        SetAsideBrokenCopy(Copy.Files);
        Copy.Files.Remove();
        return false;
    }
    TMap *map = project.Map();
    if (map == nullptr)
        return false;
    if (Copy.Record) {
        project.DocumentName = Copy.Record->DocumentName;
        project.DocumentPath = Copy.Record->DocumentPath;
        project.DocumentPlugin = Copy.Record->DocumentPlugin;
        if (Copy.Record->ProjectPlugin > 0)
            project.ProjectPlugin = Copy.Record->ProjectPlugin;
        project.SetRelativePaths(Copy.Record->PathMode != 0);
    } else {
        project.DocumentName = Dialogs().GetLangString(0, "Untitled");
        project.DocumentPath.clear();
    }
    map->SetModified();
    // The copy becomes this editor's own: the work stays safe until it is saved.
    if (FOwn.Prepare() && AdoptRecoveryCopy(Copy.Files, FOwn.Files()) && Copy.Record)
        FWritten = DescribeProject(project);
    FForm.ToolButtonMediator();
    return true;
}
