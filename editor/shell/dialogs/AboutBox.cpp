#include "AboutBox.h"

#include "DialogKit.h"
#include "editor/map/DialogSeam.h"
#include "editor/shell/language/DialogTexts.h"
#include "editor/shell/language/LangTexts.h"
#include "editor/shell/language/Language.h"
#include "editor/shell/language/LanguageCatalogue.h"
#include "editor/shell/settings/Settings.h"
#include "editor/shell/settings/SettingsFile.h"

#include <QFont>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QPixmap>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>
#include <cctype>
#include <cmath>
#include <filesystem>

namespace
{

const char *const AboutCaption = "About Tessella";

std::string Lower(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

// The box's picture: a few parts of a map.
QPixmap Emblem()
{
    QPixmap picture(64, 64);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    const QColor colors[] = {QColor(70, 130, 180), QColor(95, 170, 90), QColor(210, 160, 60),
                             QColor(150, 90, 170)};
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x)
            painter.fillRect(x * 16 + 1, y * 16 + 1, 14, 14, colors[(x * 3 + y) % 4]);
    return picture;
}

QListWidget *NewList(const QString &objectName, QWidget *parent)
{
    auto *list = new QListWidget(parent);
    list->setObjectName(objectName);
    list->setMinimumHeight(70);
    return list;
}

} // namespace

const TAssociationType TAboutBox::TzpType{"tzp", "Tessella Project File", 1};
const TAssociationType TAboutBox::FmfType{"fmf", "Fixed Mapdata File", 2};

std::string VersionLine(const std::string &fileVersion)
{
    // The text split at anything that is no digit, each number in decimal.
    int64_t numbers[4] = {0, 0, 0, 0};
    size_t count = 0;
    for (size_t i = 0; i < fileVersion.size() && count < 4;) {
        if (!std::isdigit(static_cast<unsigned char>(fileVersion[i]))) {
            ++i;
            continue;
        }
        int64_t value = 0;
        while (i < fileVersion.size() && std::isdigit(static_cast<unsigned char>(fileVersion[i]))) {
            value = std::min<int64_t>(value * 10 + (fileVersion[i] - '0'), INT32_MAX);
            ++i;
        }
        numbers[count++] = value;
    }
    return "version " + std::to_string(numbers[0]) + "." + std::to_string(numbers[1]) +
           std::to_string(numbers[2]) + " (build " + std::to_string(numbers[3]) + ")";
}

std::string FormatMemoryAmount(uint64_t bytes)
{
    const bool kilo = bytes <= 1048576;
    const double units = static_cast<double>(bytes) / (kilo ? 1024.0 : 1048576.0);
    const std::string digits = std::to_string(static_cast<uint64_t>(std::llround(units)));
    std::string grouped;
    for (size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0)
            grouped += ',';
        grouped += digits[i];
    }
    return grouped + (kilo ? "KB" : "MB");
}

std::vector<std::string> LanguageNames(const std::vector<TLanguageFileInfo> &files)
{
    // The built-in "english" comes first; a file of that name would only repeat it.
    std::vector<std::string> names;
    for (const TLanguageFileInfo &file : files) {
        const std::string name = std::filesystem::path(file.FileName).stem().string();
        if (Lower(name) == "english" ||
            std::any_of(names.begin(), names.end(),
                        [&](const std::string &known) { return Lower(known) == Lower(name); }))
            continue;
        names.push_back(name);
    }
    return names;
}

TAboutBox::TAboutBox(const TAboutInfo &info, TFileAssociations &associations, QWidget *parent)
    : QDialog(parent), FAssociations(associations)
{
    using namespace AboutDialogText;
    setObjectName("AboutBox");
    setWindowTitle(QString());

    auto *emblem = new QLabel(this);
    emblem->setPixmap(Emblem());
    auto *product = new QLabel("Tessella", this);
    QFont productFont = product->font();
    productFont.setPointSize(productFont.pointSize() + 8);
    productFont.setBold(true);
    product->setFont(productFont);
    auto *version = new QLabel(Utf8Q(VersionLine(info.FileVersion)), this);
    version->setObjectName("VersionLabel");
    auto *title = new QVBoxLayout;
    title->addWidget(product);
    title->addWidget(version);
    title->addWidget(new QLabel("A tile map editor", this));
    auto *top = new QHBoxLayout;
    top->addWidget(emblem);
    top->addSpacing(10);
    top->addLayout(title);
    top->addStretch(1);

    auto *memory = new QGroupBox(LangQ(MemoryGroup), this);
    const TMemoryStatus status = info.Memory.value_or(TMemoryStatus{});
    auto *total = new QLabel(Utf8Q(GetLangString(LangString::TotalMemory) + "  " +
                                   FormatMemoryAmount(status.TotalPhysical)),
                             memory);
    total->setObjectName("TotalMemoryLabel");
    auto *available = new QLabel(Utf8Q(GetLangString(LangString::AvailMemory) + "  " +
                                       FormatMemoryAmount(status.AvailPhysical)),
                                 memory);
    available->setObjectName("AvailMemoryLabel");
    auto *load = new QLabel(Utf8Q(GetLangString(LangString::MemoryLoad) + ":"), memory);
    FGauge = new QProgressBar(memory);
    FGauge->setObjectName("MemoryGauge");
    FGauge->setRange(0, 100);
    FGauge->setValue(0);
    FMemoryLoad = static_cast<int32_t>(status.MemoryLoad);
    auto *memoryLayout = new QGridLayout(memory);
    memoryLayout->addWidget(total, 0, 0, 1, 2);
    memoryLayout->addWidget(available, 1, 0, 1, 2);
    memoryLayout->addWidget(load, 2, 0);
    memoryLayout->addWidget(FGauge, 2, 1);

    auto *plugins = new QGroupBox(LangQ(PluginsGroup), this);
    QListWidget *pluginList = NewList("PluginList", plugins);
    for (const std::string &name : info.PluginNames)
        pluginList->addItem(Utf8Q(name));
    WidenToEntries(*pluginList);
    (new QVBoxLayout(plugins))->addWidget(pluginList);

    auto *languages = new QGroupBox(LangQ(LanguagesGroup), this);
    FLanguages = NewList("LanguageList", languages);
    FLanguages->addItem("english");
    for (const std::string &name : info.LanguageNames)
        FLanguages->addItem(Utf8Q(name));
    for (int i = 0; i < FLanguages->count(); ++i)
        if (Lower(FLanguages->item(i)->text().toStdString()) == Lower(info.Language))
            FLanguages->setCurrentRow(i);
    auto *languageLayout = new QVBoxLayout(languages);
    languageLayout->addWidget(FLanguages);
    languageLayout->addWidget(new QLabel(LangQ(RestartNote), languages));

    auto *lists = new QHBoxLayout;
    lists->addWidget(plugins);
    lists->addWidget(languages);

    FTzpButton = new QPushButton(this);
    FTzpButton->setObjectName("AccButton");
    FFmfButton = new QPushButton(this);
    FFmfButton->setObjectName("Acc2Button");
    connect(FTzpButton, &QPushButton::clicked, this, [this] { AssociationClick(TzpType); });
    connect(FFmfButton, &QPushButton::clicked, this, [this] { AssociationClick(FmfType); });
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(FTzpButton);
    buttons->addWidget(FFmfButton);
    buttons->addStretch(1);
    auto *ok = new QPushButton("OK", this);
    ok->setObjectName("OkButton");
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    buttons->addWidget(ok);
    UpdateAssociationButtons();

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(memory);
    layout->addLayout(lists);
    layout->addLayout(buttons);

    FCaptionTimer = new QTimer(this);
    FCaptionTimer->setInterval(20);
    connect(FCaptionTimer, &QTimer::timeout, this, &TAboutBox::AnimateCaption);
    FCaptionTimer->start();
    FGaugeTimer = new QTimer(this);
    FGaugeTimer->setInterval(30);
    connect(FGaugeTimer, &QTimer::timeout, this, &TAboutBox::RaiseGauge);
    FGaugeTimer->start();
}

void TAboutBox::AnimateCaption()
{
    // The caption grows from the right end of its text.
    const QString caption = AboutCaption;
    FCaptionLength = std::min<int32_t>(FCaptionLength, static_cast<int32_t>(caption.size()));
    setWindowTitle(caption.right(FCaptionLength));
    if (FCaptionLength >= caption.size())
        FCaptionTimer->stop();
    ++FCaptionLength;
}

void TAboutBox::RaiseGauge()
{
    if (FGauge->value() > FMemoryLoad || FGauge->value() >= FGauge->maximum()) {
        FGaugeTimer->stop();
        return;
    }
    FGauge->setValue(FGauge->value() + 1);
}

void TAboutBox::UpdateAssociationButtons()
{
    using namespace AboutDialogText;
    FTzpButton->setText(LangQ(FAssociations.GetState(TzpType) == asOurs ? RemoveTzpAssociation
                                                                        : CreateTzpAssociation));
    FFmfButton->setText(LangQ(FAssociations.GetState(FmfType) == asOurs ? RemoveFmfAssociation
                                                                        : CreateFmfAssociation));
}

void TAboutBox::AssociationClick(const TAssociationType &type)
{
    switch (FAssociations.GetState(type)) {
    case asNone:
        FAssociations.Create(type);
        break;
    case asOurs:
        FAssociations.Remove(type);
        break;
    case asOthers:
        if (Dialogs().AskQuestion("Tessella", GetLangMessage(LangMessage::AssociationExists),
                                  TQuestionButtons::YesNo,
                                  TQuestionIcon::Warning) == TAnswer::Yes) {
            FAssociations.Remove(type);
            FAssociations.Create(type);
        }
        break;
    }
    UpdateAssociationButtons();
}

std::string TAboutBox::ChosenLanguage() const
{
    const QListWidgetItem *item = FLanguages->currentItem();
    if (item == nullptr || !item->isSelected())
        return "english";
    return item->text().toStdString();
}

void TAboutBox::done(int result)
{
    // However the box closes, the language choice is kept for the next start.
    WriteLanguageName(SettingsFile(), ChosenLanguage());
    SaveSettingsFile();
    QDialog::done(result);
}
