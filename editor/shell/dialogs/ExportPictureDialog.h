// The options of File > Export Picture...: the zoom of the picture and whether only the
// selection is drawn. It only asks; the command composes and writes the picture.
#pragma once

#include <QDialog>
#include <cstdint>
#include <vector>

class QCheckBox;
class QComboBox;

class TExportPictureDialog : public QDialog
{
    Q_OBJECT
public:
    // Zooms in 256ths, the first one chosen unless Preset is among them; the selection box
    // is offered only when there is a selection.
    TExportPictureDialog(QWidget *parent, const std::vector<uint16_t> &zooms, uint16_t preset,
                         bool selectionAvailable);

    uint16_t Zoom() const;
    bool SelectionOnly() const;

private:
    std::vector<uint16_t> FZooms;
    QComboBox *FZoom;
    QCheckBox *FSelection;
};
