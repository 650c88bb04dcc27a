#include "LayerForm.h"

#include "Language.h"
#include "MainForm.h"
#include "MapDocument.h"
#include "editor/map/DialogSeam.h"

#include <QFont>
#include <QLabel>
#include <QListWidget>
#include <QVBoxLayout>

TLayerForm::TLayerForm(TMainForm *owner)
    : TToolWindow(owner, QString::fromStdString(GetLangString(7, "Layer"))), FOwner(owner),
      FList(new QListWidget), FStatus(new QLabel)
{
    auto *content = new QWidget;
    auto *layout = new QVBoxLayout(content);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    QFont font = FList->font();
    font.setPointSize(12);
    FList->setFont(font);
    FList->setEnabled(false);
    FStatus->setFixedWidth(100);
    layout->addWidget(FList, 1);
    layout->addWidget(FStatus);
    SetContent(content);
    connect(FList, &QListWidget::itemChanged, this, &TLayerForm::ItemChanged);
    connect(FList, &QListWidget::currentRowChanged, this, [this](int) {
        if (!FFilling)
            FOwner->LayerChanged();
    });
}

void TLayerForm::Init()
{
    FFilling = true;
    FList->clear();
    FFilling = false;
    FAddCount = 0;
    UpdateStatus();
}

int32_t TLayerForm::ListRowOf(int32_t layerIndex) const
{
    return FList->count() - layerIndex - 1;
}

bool TLayerForm::AddLayer(const std::string &name, TMapChip *chip, const uint16_t *cells)
{
    TMap *map = MapDocument();
    if (map == nullptr)
        return false;
    if (map->LayerCount() >= 255) {
        ShowMessageBox(mkError, GetLangMessage(18, "The numbers of layers which can be created are "
                                                   "255 layers. It is over a maximum."));
        return false;
    }
    try {
        if (cells != nullptr)
            map->AddLayer(name, chip, cells);
        else
            map->AddLayer(name, chip, FOwner->UseInvisiblePart() ? FOwner->InvisiblePart() : 0);
    } catch (const EMapAbort &) {
        ShowMessageBox(mkError, GetLangMessage(15, "The layer cannot be made. Not enough memory."));
        return false;
    }
    FFilling = true;
    FList->setEnabled(true);
    auto *item = new QListWidgetItem(QString::fromStdString(name));
    item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
    item->setCheckState(Qt::Checked);
    FList->insertItem(0, item);
    FList->setCurrentRow(0);
    FFilling = false;
    ++FAddCount;
    UpdateStatus();
    FOwner->LayerChanged();
    return true;
}

int32_t TLayerForm::GetCurrentLayerIndex() const
{
    if (FList->count() == 0)
        return -1;
    return FList->count() - FList->currentRow() - 1;
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
    return visible;
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
    const int32_t layerIndex = FList->count() - FList->row(item) - 1;
    if (TMap *map = MapDocument())
        map->SetLayerVisible(layerIndex, item->checkState() == Qt::Checked);
    FOwner->LayerChanged();
}

void TLayerForm::UpdateStatus()
{
    FStatus->setText(QString::fromStdString(GetLangString(24, "Layer")) + ":" +
                     QString::number(FList->count()));
}
