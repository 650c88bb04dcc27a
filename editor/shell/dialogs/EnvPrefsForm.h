// The environment options (TEnvPrefsForm): the grid, cursor grid and part-number colours,
// the file plug-ins with their settings dialogs, and the image plug-ins with their order,
// their ticks and their settings dialogs. OK rewrites the settings section "spi"; the
// command takes the colours over into the main window.
#pragma once

#include <QDialog>
#include <cstdint>

class QListWidget;
class QPushButton;
class TColorBox;
class TFilePluginHost;
class TSusiePluginHost;
struct TessellaWindow;

struct TEnvColors {
    uint32_t Grid = 0;
    uint32_t CursorGrid = 0;
    uint32_t Number = 0;
};

class TEnvPrefsForm : public QDialog
{
    Q_OBJECT
public:
    // susie may be null (no image plug-in list yet); window is the handle the plug-ins'
    // settings dialogs get.
    TEnvPrefsForm(const TEnvColors &colors, const TFilePluginHost &filePlugins,
                  TSusiePluginHost *susie, TessellaWindow *window, QWidget *parent);
    TEnvColors Colors() const;

protected:
    void accept() override;

private:
    QWidget *NewGridPage();
    QWidget *NewFilePluginPage();
    QWidget *NewSusiePage();
    void MoveSusieItem(int offset);
    // Puts the image plug-in list in the order shown.
    void OrderSusieList();

    TEnvColors FColors;
    const TFilePluginHost &FFilePlugins;
    TSusiePluginHost *FSusie;
    TessellaWindow *FWindow;
    TColorBox *FGridColor = nullptr;
    TColorBox *FCursorGridColor = nullptr;
    TColorBox *FNumberColor = nullptr;
    QListWidget *FFileList = nullptr;
    QPushButton *FFileSetting = nullptr;
    QListWidget *FSusieList = nullptr;
    QPushButton *FSusieSetting = nullptr;
};
