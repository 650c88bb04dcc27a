#include "SizeDialog.h"

#include "DialogKit.h"
#include "editor/map/DialogSeam.h"
#include "editor/shell/language/DialogTexts.h"
#include "editor/shell/language/LangTexts.h"
#include "editor/shell/language/Language.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace
{

struct TSizeTexts {
    TLangEntry Caption, Before, Width, Height, After;
    TLangText Unit;
};

TSizeTexts TextsOf(TSizeDialogKind kind)
{
    if (kind == TSizeDialogKind::MapSize) {
        using namespace ResizeDialogText;
        return {Caption, Before, Width, Height, After, LangString::Parts};
    }
    using namespace PartsResizeDialogText;
    return {Caption, Before, Width, Height, After, LangString::Pixel};
}

} // namespace

TSizeDialog::TSizeDialog(TSizeDialogKind kind, int32_t width, int32_t height, QWidget *parent)
    : QDialog(parent), FKind(kind), FWidth(width), FHeight(height)
{
    const TSizeTexts texts = TextsOf(kind);
    setObjectName(kind == TSizeDialogKind::MapSize ? "ResizeDialog" : "PartsResizeDialog");
    setWindowTitle(LangQ(texts.Caption));
    const QString unit = Utf8Q(GetLangString(texts.Unit));

    auto *before = new QGroupBox(LangQ(texts.Before), this);
    auto *beforeGrid = new QGridLayout(before);
    auto *beforeWidth = new QLabel(QString::number(width) + " " + unit, before);
    beforeWidth->setObjectName("BeforeWidthLabel");
    auto *beforeHeight = new QLabel(QString::number(height) + " " + unit, before);
    beforeHeight->setObjectName("BeforeHeightLabel");
    beforeGrid->addWidget(new QLabel(WithoutAccessKey(LangQ(texts.Width)), before), 0, 0);
    beforeGrid->addWidget(beforeWidth, 0, 1);
    beforeGrid->addWidget(new QLabel(WithoutAccessKey(LangQ(texts.Height)), before), 1, 0);
    beforeGrid->addWidget(beforeHeight, 1, 1);

    auto *after = new QGroupBox(LangQ(texts.After), this);
    auto *afterGrid = new QGridLayout(after);
    FWidthEdit = NewNumberEdit("WidthEdit", width, after);
    FHeightEdit = NewNumberEdit("HeightEdit", height, after);
    auto *widthLabel = new QLabel(LangQ(texts.Width), after);
    widthLabel->setBuddy(FWidthEdit);
    auto *heightLabel = new QLabel(LangQ(texts.Height), after);
    heightLabel->setBuddy(FHeightEdit);
    afterGrid->addWidget(widthLabel, 0, 0);
    afterGrid->addWidget(FWidthEdit, 0, 1);
    afterGrid->addWidget(new QLabel(unit, after), 0, 2);
    afterGrid->addWidget(heightLabel, 1, 0);
    afterGrid->addWidget(FHeightEdit, 1, 1);
    afterGrid->addWidget(new QLabel(unit, after), 1, 2);

    auto *groups = new QHBoxLayout;
    groups->addWidget(before);
    groups->addWidget(after);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(groups);
    AddOkCancel(*this, *layout);
    FocusAtEnd(FWidthEdit);
    FWidthEdit->selectAll();
}

int32_t TSizeDialog::Entry(const QLineEdit *edit) const
{
    const int32_t value = TextToInt(edit->text(), 1);
    return FKind == TSizeDialogKind::PartsSize ? (value & 0xFFFF) : value;
}

int32_t TSizeDialog::NewWidth() const
{
    return Entry(FWidthEdit);
}

int32_t TSizeDialog::NewHeight() const
{
    return Entry(FHeightEdit);
}

void TSizeDialog::accept()
{
    // A map needs a cell and a part a pixel: every position is divided by these sizes.
    const std::pair<QLineEdit *, TLangText> entries[] = {
        {FWidthEdit, LangMessage::SizeWidthRange},
        {FHeightEdit, LangMessage::SizeHeightRange},
    };
    for (const auto &[edit, message] : entries) {
        if (TextToInt(edit->text(), 1) < 1 || Entry(edit) < 1) {
            ShowMessageBox(mkError, GetLangMessage(message));
            FocusAtEnd(edit);
            edit->selectAll();
            return;
        }
    }
    if (FKind == TSizeDialogKind::MapSize) {
        const int32_t width = NewWidth();
        const int32_t height = NewHeight();
        const bool same = width == FWidth && height == FHeight;
        const bool grows = width >= FWidth && height >= FHeight;
        if (!same && !grows &&
            Dialogs().AskQuestion(
                GetLangString(LangString::Caution), GetLangMessage(LangMessage::CutOffQuestion),
                TQuestionButtons::OkCancel, TQuestionIcon::Warning) != TAnswer::Ok)
            return;
    }
    QDialog::accept();
}
