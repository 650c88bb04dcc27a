// The about box (TAboutBox): the version, the memory of the machine, the file and image
// plug-ins, the language for the next start (written to the settings when the box closes)
// and the buttons that create and remove the "tzp" and "fmf" file associations.
#pragma once

#include "FileAssociations.h"
#include "common/platform/MemoryStatus.h"

#include <QDialog>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

class QLabel;
class QListWidget;
class QProgressBar;
class QPushButton;
class QTimer;
struct TLanguageFileInfo;

// What the box shows, gathered by the command that opens it.
struct TAboutInfo {
    std::string FileVersion; // "major.minor.patch.build"
    std::vector<std::string> PluginNames;
    std::vector<std::string> LanguageNames; // without "english", in scan order
    std::string Language;                   // the settings' choice
    std::optional<TMemoryStatus> Memory;
};

class TAboutBox : public QDialog
{
    Q_OBJECT
public:
    TAboutBox(const TAboutInfo &info, TFileAssociations &associations, QWidget *parent);
    // The selected language, "english" when none is selected.
    std::string ChosenLanguage() const;
    // The file types whose associations the buttons make.
    static const TAssociationType TzpType;
    static const TAssociationType FmfType;

    void done(int result) override;

private:
    void AssociationClick(const TAssociationType &type);
    void UpdateAssociationButtons();
    void AnimateCaption();
    void RaiseGauge();

    TFileAssociations &FAssociations;
    QListWidget *FLanguages = nullptr;
    QPushButton *FTzpButton = nullptr;
    QPushButton *FFmfButton = nullptr;
    QProgressBar *FGauge = nullptr;
    QTimer *FCaptionTimer = nullptr;
    QTimer *FGaugeTimer = nullptr;
    int32_t FCaptionLength = 0;
    int32_t FMemoryLoad = 0;
};

// "version A.BC (build D)" from the four numbers of a version text such as "1.2.3.4".
std::string VersionLine(const std::string &fileVersion);
// An amount of memory as "#,##0" and the unit: kilobytes up to 1048576 bytes ("1,024KB"),
// megabytes above.
std::string FormatMemoryAmount(uint64_t bytes);
// The names the language list offers after "english": the scanned files without extension,
// in scan order, each once.
std::vector<std::string> LanguageNames(const std::vector<TLanguageFileInfo> &files);
