#include "ExportPicture.h"

#include "DialogRunner.h"
#include "MainForm.h"
#include "MapDocument.h"
#include "editor/cli/ImageRowWriter.h"
#include "editor/cli/MapImageComposer.h"
#include "editor/edit/EditController.h"
#include "editor/edit/SelectionRules.h"
#include "editor/map/DialogSeam.h"
#include "editor/parts/ChipForm.h"
#include "editor/plugins/FileCommands.h"
#include "editor/plugins/FileNameText.h"
#include "editor/shell/dialogs/ExportPictureDialog.h"
#include "editor/shell/language/DialogTexts.h"
#include "editor/shell/language/LangTexts.h"
#include "editor/shell/language/Language.h"
#include "editor/shell/progress/ProgressDisplay.h"
#include "editor/shell/progress/ProgressForm.h"

#include <algorithm>
#include <filesystem>
#include <limits>

namespace
{
// The zooms offered, in 256ths: from 6.25 % to the view's largest, 300 %.
constexpr uint16_t kPictureZooms[] = {16, 32, 64, 128, 256, 512, 768};

int32_t CellAtZoom(int32_t PartsSize, uint16_t Zoom)
{
    return static_cast<int32_t>(static_cast<int64_t>(PartsSize) * Zoom / 256);
}

void ShowWriteError(const std::string &Path, const std::string &Detail)
{
    ShowMessageBox(mkError,
                   ReplacePlaceholder(GetLangMessage(LangMessage::WriteError), FileNameOnly(Path)) +
                       "(" + Detail + ")");
}

// The chosen name, with ".png" added when it names neither kind of picture.
std::string PictureName(std::string Path)
{
    if (!MakeImageRowWriter(Path))
        Path += ".png";
    return Path;
}
} // namespace

void ExportPictureMenuItemClick(TMainForm &Form)
{
    TMap *map = MapDocument();
    if (map == nullptr || !map->IsReady() || Form.ChipForm() == nullptr)
        return;
    // A floating block is put down first, so the picture shows what the view shows.
    Form.Edit().EndGesture();

    // Only zooms at which a part is still at least a pixel.
    std::vector<uint16_t> zooms;
    for (const uint16_t zoom : kPictureZooms)
        if (CellAtZoom(map->PartsWidth(), zoom) >= 1 && CellAtZoom(map->PartsHeight(), zoom) >= 1)
            zooms.push_back(zoom);
    const TMapViewState &view = Form.ViewState();
    const uint16_t viewZoom = static_cast<uint16_t>(
        std::min<int64_t>(int64_t{view.ViewCellWidth} * 256 / std::max(1, map->PartsWidth()),
                          std::numeric_limits<uint16_t>::max()));
    TSelection selection = view.Selection;
    FixSelection(selection, map->Width());
    ClipSelection(selection, map->Width(), map->Height());
    // The view's zoom when the list has it, else the parts' own size.
    const bool listed = std::find(zooms.begin(), zooms.end(), viewZoom) != zooms.end();
    TExportPictureDialog options(&Form, zooms, listed ? viewZoom : 256, view.Selection.Active != 0);
    if (RunModal(options) != QDialog::Accepted)
        return;

    TFileDialogRequest request;
    request.Title = GetLangText(ExportPictureDialogText::Caption);
    request.Filter = "PNG|*.png|BMP|*.bmp";
    request.DefaultExt = "png";
    request.InitialDir = Form.Files().DialogFolder();
    request.FileName = std::filesystem::path(Form.Project().DocumentName).stem().string();
    const std::optional<TFileDialogResult> chosen = Dialogs().AskSaveFile(request);
    if (!chosen || chosen->FileName.empty())
        return;
    const std::string path = PictureName(chosen->FileName);

    const uint16_t zoom = options.Zoom();
    TMapImageComposer composer(*map, *Form.ChipForm(), Form.Project().Settings(),
                               CellAtZoom(map->PartsWidth(), zoom),
                               CellAtZoom(map->PartsHeight(), zoom));
    if (options.SelectionOnly())
        composer.SetArea(selection.X, selection.Y, selection.DX + 1, selection.DY + 1);
    std::unique_ptr<TImageRowWriter> writer = MakeImageRowWriter(path);
    std::string error;
    if (!composer.CanCompose(error) || composer.ImageHeight() >= INT32_MAX) {
        ShowWriteError(path, GetLangMessage(LangMessage::PictureTooLarge));
        return;
    }
    if (!writer->Begin(path, composer.ImageWidth(), composer.ImageHeight(), error)) {
        ShowWriteError(path, GetLangMessage(LangMessage::ResultFileError));
        return;
    }
    // The progress window shows itself once the picture takes a while; its abort button
    // stops at the next band and leaves no file.
    TProgressDisplay &progress = Form.Progress();
    const int32_t rows = static_cast<int32_t>(composer.ImageHeight());
    progress.Report(0, rows, "");
    composer.SetBandProgress([&progress, rows](int64_t done) {
        return done <= 0 || progress.Report(static_cast<int32_t>(done), rows, "");
    });
    bool aborted = false;
    const bool composed = composer.Compose(
        [&writer](int32_t y, const uint32_t *pixels) { return writer->WriteRow(y, pixels); });
    if (!composed && progress.Form() != nullptr && progress.Form()->Cancelled())
        aborted = true;
    progress.End();
    const bool written = composed && writer->Finish();
    if (!written && !aborted)
        ShowWriteError(path, GetLangMessage(LangMessage::ResultFileError));
}
