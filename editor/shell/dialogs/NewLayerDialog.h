// The new-layer dialog (TNewLayerDialog): a layer's name and its parts image, chosen among the
// loaded ones or none. It serves both a new layer and a layer's options; it only asks, the
// layer window changes the map.
#pragma once

#include <QDialog>
#include <string>
#include <vector>

class QComboBox;
class QLineEdit;

class TNewLayerDialog : public QDialog
{
    Q_OBJECT
public:
    // ImageNames: the loaded parts images' file names without folders; the list ends with the
    // "no image" entry. Selected: the entry chosen at first (ImageNames.size() for none).
    TNewLayerDialog(QWidget *parent, const QString &title, const std::string &name,
                    const std::vector<std::string> &imageNames, int selected);

    std::string LayerName() const;
    // The chosen image's position in ImageNames, or -1 for no image.
    int ImageIndex() const;

private:
    QLineEdit *FName;
    QComboBox *FImages;
    int FImageCount;
};
