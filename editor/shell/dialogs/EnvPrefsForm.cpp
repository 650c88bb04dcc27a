#include "EnvPrefsForm.h"

#include "ColorBox.h"
#include "DialogKit.h"
#include "editor/parts/SusiePluginHost.h"
#include "editor/plugins/FilePluginHost.h"
#include "editor/plugins/TextEncoding.h"
#include "editor/shell/language/DialogTexts.h"
#include "editor/shell/settings/Settings.h"
#include "editor/shell/settings/SettingsFile.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>
#include <filesystem>

namespace
{

// Items remember the plug-in's library path, so that their order can be read back.
constexpr int PathRole = Qt::UserRole;
constexpr int ConfigRole = Qt::UserRole + 1;

} // namespace

TEnvPrefsForm::TEnvPrefsForm(const TEnvColors &colors, const TFilePluginHost &filePlugins,
                             TSusiePluginHost *susie, TessellaWindow *window, QWidget *parent)
    : QDialog(parent), FColors(colors), FFilePlugins(filePlugins), FSusie(susie), FWindow(window)
{
    using namespace OptionDialogText;
    setObjectName("EnvPrefsForm");
    setWindowTitle(LangQ(Caption));
    auto *pages = new QTabWidget(this);
    pages->setObjectName("PageControl");
    pages->addTab(NewGridPage(), LangQ(GridPage));
    pages->addTab(NewFilePluginPage(), LangQ(PluginPage));
    pages->addTab(NewSusiePage(), "Susie Plugin");
    pages->setCurrentIndex(0);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(pages);
    AddOkCancel(*this, *layout);
}

QWidget *TEnvPrefsForm::NewGridPage()
{
    using namespace OptionDialogText;
    auto *page = new QWidget;
    FGridColor = new TColorBox("GridColorBox", FColors.Grid, page);
    FCursorGridColor = new TColorBox("CursorGridColorBox", FColors.CursorGrid, page);
    FNumberColor = new TColorBox("NumberColorBox", FColors.Number, page);
    // Each label ends 5 pixels left of its colour box.
    auto *grid = new QGridLayout(page);
    grid->setHorizontalSpacing(5);
    const std::pair<TLangEntry, TColorBox *> rows[] = {
        {NumberColor, FNumberColor},
        {GridColor, FGridColor},
        {CursorGridColor, FCursorGridColor},
    };
    int row = 0;
    for (const auto &[caption, box] : rows) {
        auto *label = new QLabel(LangQ(caption), page);
        label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        grid->addWidget(label, row, 0);
        grid->addWidget(box, row, 1);
        ++row;
    }
    grid->setRowStretch(row, 1);
    grid->setColumnStretch(2, 1);
    return page;
}

QWidget *TEnvPrefsForm::NewFilePluginPage()
{
    auto *page = new QWidget;
    FFileList = new QListWidget(page);
    FFileList->setObjectName("FilePluginList");
    for (const TPluginList &entry : FFilePlugins.PluginList()) {
        auto *item = new QListWidgetItem(Utf8Q(SystemTextToUtf8(entry.Description())), FFileList);
        item->setData(PathRole, Utf8Q(entry.FileName));
        item->setData(ConfigRole, (entry.Info.Flags & pfConfigDialog) != 0);
    }
    WidenToEntries(*FFileList);
    FFileSetting = new QPushButton(LangQ(OptionDialogText::SettingButton), page);
    FFileSetting->setObjectName("FilePluginSettingButton");
    FFileSetting->setEnabled(false);
    connect(FFileList, &QListWidget::currentItemChanged, this, [this](QListWidgetItem *item) {
        FFileSetting->setEnabled(item != nullptr && item->data(ConfigRole).toBool());
    });
    connect(FFileSetting, &QPushButton::clicked, this, [this] {
        if (const QListWidgetItem *item = FFileList->currentItem())
            FFilePlugins.OpenPluginSettings(FWindow, item->data(PathRole).toString().toStdString(),
                                            1);
    });
    auto *layout = new QVBoxLayout(page);
    layout->addWidget(FFileList);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(FFileSetting);
    layout->addLayout(buttons);
    return page;
}

QWidget *TEnvPrefsForm::NewSusiePage()
{
    auto *page = new QWidget;
    FSusieList = new QListWidget(page);
    FSusieList->setObjectName("SusiePluginList");
    if (FSusie != nullptr) {
        for (const TSusiePluginList &plugin : FSusie->Plugins()) {
            auto *item = new QListWidgetItem(Utf8Q(plugin.Info.Name), FSusieList);
            item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
            item->setCheckState(plugin.Info.Enabled ? Qt::Checked : Qt::Unchecked);
            item->setData(PathRole, Utf8Q(plugin.Path));
            item->setData(ConfigRole, plugin.Info.HasConfigDialog);
        }
    }
    WidenToEntries(*FSusieList);
    FSusieSetting = new QPushButton(LangQ(OptionDialogText::SettingButton), page);
    FSusieSetting->setObjectName("SusieSettingButton");
    FSusieSetting->setEnabled(false);
    auto *up = new QPushButton("up", page);
    up->setObjectName("UpButton");
    auto *down = new QPushButton("down", page);
    down->setObjectName("DownButton");
    connect(FSusieList, &QListWidget::currentItemChanged, this, [this](QListWidgetItem *item) {
        FSusieSetting->setEnabled(item != nullptr && item->data(ConfigRole).toBool());
    });
    connect(FSusieSetting, &QPushButton::clicked, this, [this] {
        if (const QListWidgetItem *item = FSusieList->currentItem(); item && FSusie)
            FSusie->OpenSusieConfigDialog(FWindow, item->data(PathRole).toString().toStdString(),
                                          1);
    });
    connect(up, &QPushButton::clicked, this, [this] { MoveSusieItem(-1); });
    connect(down, &QPushButton::clicked, this, [this] { MoveSusieItem(1); });
    auto *layout = new QVBoxLayout(page);
    layout->addWidget(FSusieList);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(up);
    buttons->addWidget(down);
    buttons->addStretch(1);
    buttons->addWidget(FSusieSetting);
    layout->addLayout(buttons);
    return page;
}

void TEnvPrefsForm::MoveSusieItem(int offset)
{
    const int row = FSusieList->currentRow();
    const int target = row + offset;
    if (row < 0 || target < 0 || target >= FSusieList->count())
        return;
    QListWidgetItem *item = FSusieList->takeItem(row);
    FSusieList->insertItem(target, item);
    FSusieList->setCurrentRow(target);
    OrderSusieList();
}

void TEnvPrefsForm::OrderSusieList()
{
    if (FSusie == nullptr)
        return;
    std::vector<std::string> names;
    for (int i = 0; i < FSusieList->count(); ++i)
        names.push_back(FSusieList->item(i)->text().toStdString());
    FSusie->OrderSusieByNames(names);
}

void TEnvPrefsForm::accept()
{
    OrderSusieList();
    if (FSusie != nullptr) {
        // The section is written in the order shown, one key per library file name.
        std::vector<TImagePluginState> states;
        for (int i = 0; i < FSusieList->count(); ++i) {
            const QListWidgetItem *item = FSusieList->item(i);
            const std::string path = item->data(PathRole).toString().toStdString();
            const bool enabled = item->checkState() == Qt::Checked;
            for (TSusiePluginList &plugin : FSusie->Plugins())
                if (plugin.Path == path)
                    plugin.Info.Enabled = enabled;
            states.push_back({std::filesystem::path(path).filename().string(), enabled});
        }
        WriteImagePluginStates(SettingsFile(), states);
        SaveSettingsFile();
    }
    QDialog::accept();
}

TEnvColors TEnvPrefsForm::Colors() const
{
    return {FGridColor->Color(), FCursorGridColor->Color(), FNumberColor->Color()};
}
