#include "PrefsForm.h"

#include "DialogKit.h"
#include "editor/map/DialogSeam.h"
#include "editor/shell/language/DialogTexts.h"
#include "editor/shell/language/LangTexts.h"
#include "editor/shell/language/Language.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QTabWidget>
#include <QVBoxLayout>

TPrefsForm::TPrefsForm(const TProjectOptions &options, uint8_t bitCount, QWidget *parent)
    : QDialog(parent), FBitCount(bitCount)
{
    using namespace ProjectDialogText;
    setObjectName("PrefsForm");
    setWindowTitle(LangQ(Caption));

    auto *generic = new QWidget;
    generic->setObjectName("GenericPage");
    auto *pathGroup = new QGroupBox(LangQ(PathGroup), generic);
    auto *fileNameOnly = new QRadioButton(LangQ(FileNameOnly), pathGroup);
    fileNameOnly->setObjectName("FileNameRadio");
    FRelative = new QRadioButton(LangQ(RelativePath), pathGroup);
    FRelative->setObjectName("RelativeRadio");
    (options.RelativePaths ? FRelative : fileNameOnly)->setChecked(true);
    auto *pathLayout = new QVBoxLayout(pathGroup);
    pathLayout->addWidget(fileNameOnly);
    pathLayout->addWidget(FRelative);

    FUseInvisible = new QCheckBox(LangQ(InvisiblePart), generic);
    FUseInvisible->setObjectName("InvisibleCheck");
    FUseInvisible->setChecked(options.UseInvisiblePart);
    FNumber = NewNumberEdit("InvisibleNumberEdit", options.InvisiblePart, generic);
    auto *numberLabel = new QLabel(LangQ(InvisibleNumber), generic);
    numberLabel->setBuddy(FNumber);
    auto *numberRow = new QHBoxLayout;
    numberRow->addSpacing(20);
    numberRow->addWidget(numberLabel);
    numberRow->addWidget(FNumber);
    numberRow->addStretch(1);
    // The number means something only while invisible parts are enabled.
    FNumber->setEnabled(options.UseInvisiblePart);
    numberLabel->setEnabled(options.UseInvisiblePart);
    connect(FUseInvisible, &QCheckBox::toggled, this, [this, numberLabel](bool on) {
        FNumber->setEnabled(on);
        numberLabel->setEnabled(on);
    });

    auto *genericLayout = new QVBoxLayout(generic);
    genericLayout->addWidget(pathGroup);
    genericLayout->addWidget(FUseInvisible);
    genericLayout->addLayout(numberRow);
    genericLayout->addStretch(1);

    FComment = new QPlainTextEdit;
    FComment->setObjectName("CommentMemo");
    FComment->setPlainText(Utf8Q(options.Comment));

    auto *pages = new QTabWidget(this);
    pages->setObjectName("PageControl");
    pages->addTab(generic, LangQ(GenericPage));
    pages->addTab(FComment, LangQ(CommentPage));
    pages->setCurrentIndex(0);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(pages);
    AddOkCancel(*this, *layout);
}

int32_t TPrefsForm::Number() const
{
    return TextToInt(FNumber->text(), 0);
}

TProjectOptions TPrefsForm::Options() const
{
    TProjectOptions options;
    options.RelativePaths = FRelative->isChecked();
    options.UseInvisiblePart = FUseInvisible->isChecked();
    options.InvisiblePart = static_cast<uint16_t>(Number());
    options.Comment = FComment->toPlainText().toStdString();
    return options;
}

void TPrefsForm::accept()
{
    if (FUseInvisible->isChecked()) {
        const int32_t limit = FBitCount == 8 ? 255 : 65535;
        const int32_t number = Number();
        if (number < 0 || number > limit) {
            ShowMessageBox(mkError, GetLangMessage(FBitCount == 8 ? LangMessage::ByteRange
                                                                  : LangMessage::WordRange));
            FocusAtEnd(FNumber);
            return;
        }
    }
    QDialog::accept();
}
