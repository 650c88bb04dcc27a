// The new-layer dialog (TNewLayerDialog): a layer's name and its parts image, chosen among the
// loaded ones, a picture file found with "Browse...", or none. It serves both a new layer and
// a layer's options; it only asks, the layer window changes the map.
#pragma once

#include "editor/map/DialogSeam.h"

#include <QDialog>
#include <string>
#include <vector>

class QComboBox;
class QLineEdit;
class QPushButton;

class TNewLayerDialog : public QDialog
{
    Q_OBJECT
public:
    // ImageNames: the loaded parts images' file names without folders; the list ends with the
    // "no image" entry. Selected: the entry chosen at first (ImageNames.size() for none).
    TNewLayerDialog(QWidget *parent, const QString &title, const std::string &name,
                    const std::vector<std::string> &imageNames, int selected);

    std::string LayerName() const;
    // The chosen image's position in ImageNames, or -1 for no image (or a browsed file).
    int ImageIndex() const;

    // A "Browse..." button beside the image list: it asks for a picture file with Request,
    // and the file becomes the list's chosen entry.
    void OfferBrowse(const TFileDialogRequest &Request);
    // The file chosen with "Browse...", when its entry is the chosen one; else empty.
    std::string BrowsedFile() const;

private:
    void Browse();

    QLineEdit *FName;
    QComboBox *FImages;
    QPushButton *FBrowse;
    int FImageCount;
    TFileDialogRequest FBrowseRequest;
    std::string FBrowsedFile;
};
