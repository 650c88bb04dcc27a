#include "ExportPictureDialog.h"

#include "DialogKit.h"
#include "editor/shell/language/DialogTexts.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QLabel>
#include <QVBoxLayout>
#include <algorithm>

TExportPictureDialog::TExportPictureDialog(QWidget *parent, const std::vector<uint16_t> &zooms,
                                           uint16_t preset, bool selectionAvailable)
    : QDialog(parent), FZooms(zooms), FZoom(new QComboBox(this)),
      FSelection(new QCheckBox(LangQ(ExportPictureDialogText::SelectionOnly), this))
{
    using namespace ExportPictureDialogText;
    setObjectName("ExportPictureDialog");
    setWindowTitle(LangQ(Caption));
    FZoom->setObjectName("ZoomList");
    for (const uint16_t zoom : FZooms)
        FZoom->addItem(QString::number(zoom * 100.0 / 256.0) + " %");
    const auto chosen = std::find(FZooms.begin(), FZooms.end(), preset);
    FZoom->setCurrentIndex(chosen != FZooms.end() ? static_cast<int>(chosen - FZooms.begin()) : 0);
    FSelection->setObjectName("SelectionCheck");
    FSelection->setEnabled(selectionAvailable);

    auto *zoomLabel = new QLabel(LangQ(ZoomLabel), this);
    zoomLabel->setBuddy(FZoom);
    auto *form = new QFormLayout;
    form->addRow(zoomLabel, FZoom);
    auto *column = new QVBoxLayout(this);
    column->addLayout(form);
    column->addWidget(FSelection);
    AddOkCancel(*this, *column);
}

uint16_t TExportPictureDialog::Zoom() const
{
    const int index = FZoom->currentIndex();
    return index >= 0 && index < static_cast<int>(FZooms.size())
               ? FZooms[static_cast<size_t>(index)]
               : 256;
}

bool TExportPictureDialog::SelectionOnly() const
{
    return FSelection->isEnabled() && FSelection->isChecked();
}
