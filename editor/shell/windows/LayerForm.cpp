#include "LayerForm.h"
#include "editor/plugins/FileNameText.h"

#include "LayerList.h"
#include "PreviewForm.h"
#include "editor/edit/EditController.h"
#include "editor/map/DialogSeam.h"
#include "editor/parts/ChipForm.h"
#include "editor/parts/ChipTable.h"
#include "editor/plugins/FileCommands.h"
#include "editor/shell/DialogRunner.h"
#include "editor/shell/MainForm.h"
#include "editor/shell/MapDocument.h"
#include "editor/shell/ToolBarIcons.h"
#include "editor/shell/dialogs/CopyLayerDialog.h"
#include "editor/shell/dialogs/NewLayerDialog.h"
#include "editor/shell/input/ToolInput.h"
#include "editor/shell/language/DialogTexts.h"
#include "editor/shell/language/Language.h"

#include <QAction>
#include <QCloseEvent>
#include <QFont>
#include <QLabel>
#include <QMenu>
#include <QStatusBar>
#include <QToolBar>
#include <QVBoxLayout>
#include <filesystem>

namespace
{
constexpr int32_t kMaxLayers = 255;
constexpr int32_t kUnrolledMaxHeight = 587;

} // namespace

TLayerForm::TLayerForm(TMainForm *owner)
    : TToolWindow(owner, QString::fromStdString(GetLangString(7, "Layer")), kUnrolledMaxHeight),
      FOwner(owner), FList(new TLayerList(this)), FStatus(new QLabel), FMenu(new QMenu(this))
{
    setObjectName("TLayerForm");
    AddButton("AddLayerToolButton", "list-add", "+", &TLayerForm::AddLayerToolButtonClick);
    AddButton("CopyLayerToolButton", "edit-copy", "C", &TLayerForm::CopyCurrentLayer);
    AddButton("DelLayerToolButton", "list-remove", "-", &TLayerForm::DeleteCurrentLayer)
        ->setEnabled(false);
    AddButton("LayerOptToolButton", "document-properties", "O",
              &TLayerForm::OpenCurrentLayerSetting);
    ToolBar()->addSeparator();
    AddButton("ToolButton4", "go-up", "^", &TLayerForm::ToolButton4Click)->setCheckable(true);

    AddMenuEntry("MenuCopy", GetLangText(LayerPopupMenuText::Duplicate),
                 &TLayerForm::CopyCurrentLayer);
    AddMenuEntry("MenuDelete", GetLangText(LayerPopupMenuText::Erase),
                 &TLayerForm::DeleteCurrentLayer);
    AddMenuEntry("N2", GetLangText(LayerPopupMenuText::Merge), &TLayerForm::MergeCurrentLayer);
    AddMenuEntry("MenuSetting", GetLangText(LayerPopupMenuText::Option),
                 &TLayerForm::OpenCurrentLayerSetting);

    auto *content = new QWidget;
    auto *layout = new QVBoxLayout(content);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    QFont font = FList->font();
    font.setPointSize(12);
    FList->setFont(font);
    FList->setEnabled(false);
    auto *status = new QStatusBar(content);
    status->setSizeGripEnabled(false);
    FStatus->setMinimumWidth(100);
    status->addWidget(FStatus);
    layout->addWidget(FList, 1);
    layout->addWidget(status);
    SetContent(content);
    connect(FList, &QListWidget::itemChanged, this, &TLayerForm::ItemChanged);
    connect(FList, &QListWidget::currentRowChanged, this, [this](int) { CurrentRowChanged(); });
    UpdateStatus();
}

QAction *TLayerForm::AddButton(const char *objectName, const char *themeName, const char *letter,
                               void (TLayerForm::*handler)())
{
    QAction *button = ToolBar()->addAction(ToolBarIcon(themeName, letter), QString());
    button->setObjectName(objectName);
    connect(button, &QAction::triggered, this, handler);
    return button;
}

QAction *TLayerForm::AddMenuEntry(const char *objectName, const std::string &caption,
                                  void (TLayerForm::*handler)())
{
    QAction *entry = FMenu->addAction(QString::fromStdString(caption));
    entry->setObjectName(objectName);
    connect(entry, &QAction::triggered, this, handler);
    return entry;
}

QAction *TLayerForm::Button(const char *objectName) const
{
    return ToolBar()->findChild<QAction *>(objectName);
}

QAction *TLayerForm::MenuEntry(const char *objectName) const
{
    return FMenu->findChild<QAction *>(objectName);
}

void TLayerForm::Init()
{
    FFilling = true;
    FList->clear();
    FFilling = false;
    FAddCount = 0;
    CheckDelLayerButton();
    UpdateStatus();
}

int32_t TLayerForm::ListRowOf(int32_t layerIndex) const
{
    return FList->count() - layerIndex - 1;
}

int32_t TLayerForm::LayerOfRow(int32_t row) const
{
    return FList->count() - row - 1;
}

bool TLayerForm::LayerLimitReached()
{
    const TMap *map = MapDocument();
    if (map == nullptr || map->LayerCount() < kMaxLayers)
        return false;
    ShowMessageBox(mkError, GetLangMessage(18, "The numbers of layers which can be created are "
                                               "255 layers. It is over a maximum."));
    return true;
}

void TLayerForm::InsertTopEntry(const std::string &name, bool visible)
{
    FFilling = true;
    FList->setEnabled(true);
    auto *item = new QListWidgetItem(QString::fromStdString(name));
    item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
    item->setCheckState(visible ? Qt::Checked : Qt::Unchecked);
    FList->insertItem(0, item);
    FList->setCurrentRow(0);
    FFilling = false;
}

bool TLayerForm::AddLayer(const std::string &name, TMapChip *chip)
{
    return AddLayerThrough(name, [&](TMap &map) {
        map.AddLayer(name, chip, FOwner->UseInvisiblePart() ? FOwner->InvisiblePart() : 0);
    });
}

bool TLayerForm::AddLoadedLayer(const std::string &name, std::vector<uint16_t> &&cells)
{
    return AddLayerThrough(name, [&](TMap &map) { map.AddLayer(name, nullptr, std::move(cells)); });
}

bool TLayerForm::AddLayerThrough(const std::string &name, const std::function<void(TMap &)> &add)
{
    TMap *map = MapDocument();
    if (map == nullptr || LayerLimitReached())
        return false;
    try {
        add(*map);
    } catch (const EMapAbort &) {
        ShowMessageBox(mkError, GetLangMessage(15, "The layer cannot be made. Not enough memory."));
        return false;
    }
    InsertTopEntry(name, true);
    ++FAddCount;
    RefreshViews();
    UpdateStatus(true);
    return true;
}

std::vector<std::string> TLayerForm::ImageNames() const
{
    std::vector<std::string> names;
    const TChipTable *table = FOwner->ChipForm() != nullptr ? FOwner->ChipForm()->Table() : nullptr;
    if (table != nullptr)
        for (int32_t i = 0; i < table->GetMapChipCount(); ++i)
            names.push_back(FileNameOnly(table->GetMapChipName(i)));
    return names;
}

int TLayerForm::ImageIndexOf(const TMapChip *chip) const
{
    const TChipTable *table = FOwner->ChipForm() != nullptr ? FOwner->ChipForm()->Table() : nullptr;
    const int count = table != nullptr ? table->GetMapChipCount() : 0;
    // The entry itself, not its file name: two images of one name in different folders stay
    // apart.
    for (int i = 0; i < count; ++i)
        if (table->GetMapChipAddr(i) == chip)
            return i;
    return count;
}

TMapChip *TLayerForm::ImageAt(int index) const
{
    const TChipTable *table = FOwner->ChipForm() != nullptr ? FOwner->ChipForm()->Table() : nullptr;
    return table != nullptr && index >= 0 ? table->GetMapChipAddr(index) : nullptr;
}

bool TLayerForm::AddLayerWithDialog()
{
    const TMap *map = MapDocument();
    if (map == nullptr || LayerLimitReached())
        return false;
    TNewLayerDialog dialog(
        this, QString::fromStdString(GetLangText(LayerDialogText::NewLayerCaption)),
        GetLangString(7, "Layer") + std::to_string(map->LayerCount()), ImageNames(), 0);
    OfferImageBrowse(dialog);
    if (RunModal(dialog) != QDialog::Accepted)
        return false;
    if (!AddLayer(dialog.LayerName(), ImageAt(dialog.ImageIndex())))
        return false;
    // The new layer is the current one, which the parts window gives the image.
    if (!dialog.BrowsedFile().empty())
        FOwner->ChipForm()->AddMapChip(dialog.BrowsedFile());
    return true;
}

void TLayerForm::AddLayerToolButtonClick()
{
    AddLayer(GetLangString(7, "Layer") + std::to_string(FAddCount));
}

void TLayerForm::CopyCurrentLayer()
{
    TMap *map = MapDocument();
    const int32_t current = GetCurrentLayerIndex();
    if (map == nullptr || current < 0 || LayerLimitReached())
        return;
    const std::string source = map->GetLayerName(current);
    TCopyLayerDialog dialog(this, source,
                            ReplacePlaceholder(GetLangString(21, "Copy of %s"), source));
    if (RunModal(dialog) != QDialog::Accepted)
        return;
    const std::string name = dialog.NewName();
    try {
        map->DuplicateLayer(current, name);
    } catch (const EMapAbort &) {
        ShowMessageBox(mkCaution,
                       GetLangMessage(16, "The layer cannot be reproduced. Not enough memory."));
        return;
    }
    // The copy shows as its source does; the list tells the map's state.
    InsertTopEntry(name, map->GetLayerVisible(map->LayerCount() - 1));
    RefreshViews();
    UpdateStatus(false);
}

void TLayerForm::DeleteCurrentLayer()
{
    TMap *map = MapDocument();
    const int32_t current = GetCurrentLayerIndex();
    if (map == nullptr || current < 0)
        return;
    if (map->LayerCount() <= 1) {
        ShowMessageBox(mkCaution, GetLangMessage(17, "The layer cannot be deleted any more. A "
                                                     "layer is indispensable for one."));
        return;
    }
    if (Dialogs().AskQuestion(
            GetLangString(6, "Caution"),
            GetLangMessage(0, "The layer deletion cannot cancel. Do you continue?"),
            TQuestionButtons::YesNo, TQuestionIcon::Warning) == TAnswer::No)
        return;
    const int row = FList->currentRow();
    EndGestureBeforeLayersMove();
    map->DeleteLayer(current);
    ForgetUndo();
    FFilling = true;
    delete FList->takeItem(row);
    // The entry that took the deleted one's place, or the top one after the bottom layer.
    FList->setCurrentRow(row < FList->count() ? row : 0);
    FFilling = false;
    RefreshViews();
    UpdateStatus(false);
}

void TLayerForm::MergeCurrentLayer()
{
    TMap *map = MapDocument();
    const int32_t current = GetCurrentLayerIndex();
    if (map == nullptr || current <= 0)
        return;
    if (Dialogs().AskQuestion(GetLangString(6, "Caution"),
                              GetLangMessage(1, "The layer merge cannot cancel. Do you continue?"),
                              TQuestionButtons::YesNo, TQuestionIcon::Warning) == TAnswer::No)
        return;
    EndGestureBeforeLayersMove();
    if (!map->MergeLayer(current - 1, current, FOwner->InvisiblePart()))
        return;
    ForgetUndo();
    FFilling = true;
    delete FList->takeItem(FList->currentRow());
    FList->setCurrentRow(FList->count() - current);
    FFilling = false;
    RefreshViews();
    UpdateStatus(false);
}

void TLayerForm::OpenCurrentLayerSetting()
{
    TMap *map = MapDocument();
    const int32_t current = GetCurrentLayerIndex();
    if (map == nullptr || current < 0)
        return;
    TNewLayerDialog dialog(this, QString::fromStdString(GetLangString(23, "Layer option")),
                           map->GetLayerName(current), ImageNames(),
                           ImageIndexOf(map->GetLayerChip(current)));
    OfferImageBrowse(dialog);
    if (RunModal(dialog) != QDialog::Accepted)
        return;
    const std::string name = dialog.LayerName();
    map->SetLayerName(current, name);
    FFilling = true;
    FList->currentItem()->setText(QString::fromStdString(name));
    FFilling = false;
    // A browsed file replaces the layer's image only once it has been read.
    if (!dialog.BrowsedFile().empty()) {
        FOwner->ChipForm()->AddMapChip(dialog.BrowsedFile());
    } else {
        map->ClearLayerChip(current);
        if (TMapChip *chip = ImageAt(dialog.ImageIndex()))
            map->SetLayerChip(current, chip);
    }
    RefreshViews();
}

void TLayerForm::OfferImageBrowse(TNewLayerDialog &dialog) const
{
    const TChipTable *table = FOwner->ChipForm() != nullptr ? FOwner->ChipForm()->Table() : nullptr;
    if (table == nullptr)
        return;
    TFileDialogRequest request;
    request.Filter = table->OpenFilter();
    request.FilterIndex = 2;
    request.InitialDir = FOwner->Files().DialogFolder();
    dialog.OfferBrowse(request);
}

void TLayerForm::SwapCurrentWith(int targetRow)
{
    TMap *map = MapDocument();
    const int currentRow = FList->currentRow();
    if (map == nullptr || targetRow < 0 || targetRow >= FList->count() || targetRow == currentRow)
        return;
    EndGestureBeforeLayersMove();
    map->SwapLayers(LayerOfRow(currentRow), LayerOfRow(targetRow));
    ForgetUndo();
    // A swap of two layers, not a move: the entries between keep their places.
    QListWidgetItem *from = FList->item(currentRow);
    QListWidgetItem *to = FList->item(targetRow);
    FFilling = true;
    const QString text = from->text();
    const Qt::CheckState check = from->checkState();
    from->setText(to->text());
    from->setCheckState(to->checkState());
    to->setText(text);
    to->setCheckState(check);
    FList->setCurrentRow(targetRow);
    FFilling = false;
    RefreshViews();
}

void TLayerForm::EndGestureBeforeLayersMove()
{
    // A floating block or a stroke names its layer by index: it is put down and its group
    // closed while that index still means its layer.
    FOwner->Edit().UnSelect(true);
}

void TLayerForm::ForgetUndo()
{
    // The log records layers by index; after indices moved its steps would write into other
    // layers, so it is discarded (the menu's own command, which also ends an open gesture).
    FOwner->Edit().FlushMenuItemClick();
}

void TLayerForm::CheckDelLayerButton()
{
    const bool several = FList->count() >= 2;
    Button("DelLayerToolButton")->setEnabled(several);
    MenuEntry("MenuDelete")->setEnabled(several);
    MenuEntry("N2")->setEnabled(GetCurrentLayerIndex() > 0);
}

int32_t TLayerForm::GetCurrentLayerIndex() const
{
    if (FList->count() == 0 || FList->currentRow() < 0)
        return -1;
    return GetCurrentMapIndex();
}

int32_t TLayerForm::GetCurrentMapIndex() const
{
    return LayerOfRow(FList->currentRow());
}

bool TLayerForm::GetLayerVisibleState(int32_t layerIndex) const
{
    const QListWidgetItem *item = FList->item(ListRowOf(layerIndex));
    return item != nullptr && item->checkState() == Qt::Checked;
}

bool TLayerForm::SetLayerVisibleState(int32_t layerIndex, bool visible)
{
    QListWidgetItem *item = FList->item(ListRowOf(layerIndex));
    if (item == nullptr)
        return false;
    FFilling = true;
    item->setCheckState(visible ? Qt::Checked : Qt::Unchecked);
    FFilling = false;
    if (TMap *map = MapDocument())
        map->SetLayerVisible(layerIndex, visible);
    return item->checkState() == Qt::Checked;
}

void TLayerForm::SelectLayer(int32_t layerIndex)
{
    if (layerIndex < 0 || layerIndex > FList->count() - 1)
        return;
    FList->setCurrentRow(ListRowOf(layerIndex));
}

void TLayerForm::ItemChanged(QListWidgetItem *item)
{
    if (FFilling)
        return;
    if (TMap *map = MapDocument())
        map->SetLayerVisible(LayerOfRow(FList->row(item)), item->checkState() == Qt::Checked);
    RefreshViews();
}

void TLayerForm::CurrentRowChanged()
{
    if (!FFilling)
        RefreshViews();
}

void TLayerForm::RefreshViews()
{
    if (TChipForm *parts = FOwner->ChipForm()) {
        parts->CheckDelImageToolButton();
        parts->UpdateFullCanvas();
    }
    // The current layer, the title, the enabled states and the map view.
    FOwner->LayerChanged();
    if (FOwner->PreviewForm() != nullptr)
        FOwner->PreviewForm()->UpdatePreview();
    CheckDelLayerButton();
    UpdateStatus();
}

void TLayerForm::UpdateStatus(bool AfterAdding)
{
    // Adding a layer shows "Layer:3"; every other operation "Layer3".
    FStatus->setText(QString::fromStdString(GetLangString(24, "Layer")) + (AfterAdding ? ":" : "") +
                     QString::number(FList->count()));
}

QString TLayerForm::StatusText() const
{
    return FStatus->text();
}

void TLayerForm::ShowContextMenu(const QPoint &globalPosition)
{
    CheckDelLayerButton();
    FMenu->popup(globalPosition);
}

void TLayerForm::ForwardListKeyPress(QKeyEvent *event)
{
    FOwner->ToolInput().HandleKeyPress(event);
}

void TLayerForm::ForwardListKeyRelease(QKeyEvent *event)
{
    FOwner->ToolInput().HandleKeyRelease(event);
}

bool TLayerForm::ForwardListWheel(QWheelEvent *event)
{
    return FOwner->ToolInput().HandleWheel(event);
}

bool TLayerForm::ForwardKeyPress(QKeyEvent *event)
{
    return FOwner->ToolInput().HandleKeyPress(event);
}

bool TLayerForm::ForwardKeyRelease(QKeyEvent *event)
{
    return FOwner->ToolInput().HandleKeyRelease(event);
}

bool TLayerForm::ForwardWheel(QWheelEvent *event)
{
    return FOwner->ToolInput().HandleWheel(event);
}

void TLayerForm::ToolButton4Click()
{
    SetRolledUp(!RolledUp());
}

void TLayerForm::RollUpChanged()
{
    Button("ToolButton4")->setChecked(RolledUp());
}

void TLayerForm::closeEvent(QCloseEvent *event)
{
    // The close box is the Window menu's command, so its check mark and button follow; the
    // close is never refused.
    if (isVisible())
        FOwner->ToolWindowClosed("LayerWindowMenuItem");
    event->accept();
}

void TLayerForm::showEvent(QShowEvent *event)
{
    TToolWindow::showEvent(event);
    if (FOwner->ChipForm() != nullptr)
        FOwner->ChipForm()->UpdateFullCanvas();
}
