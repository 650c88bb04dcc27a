#include "ReplaceDialog.h"

#include "DialogKit.h"
#include "editor/map/DialogSeam.h"
#include "editor/shell/language/DialogTexts.h"
#include "editor/shell/language/LangTexts.h"
#include "editor/shell/language/Language.h"

#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace
{

// A text that is no number is refused like one out of range, not taken as part 0.
constexpr int32_t NotANumber = -1;

} // namespace

TReplaceDialog::TReplaceDialog(uint8_t bitCount, QWidget *parent)
    : QDialog(parent), FBitCount(bitCount)
{
    using namespace ReplaceDialogText;
    setObjectName("ReplaceDialog");
    setWindowTitle(LangQ(Caption));
    FSearch = NewNumberEdit("SearchEdit", 0, this);
    FReplace = NewNumberEdit("ReplaceEdit", 0, this);
    auto *fields = new QFormLayout;
    auto *searchLabel = new QLabel(LangQ(Search), this);
    searchLabel->setBuddy(FSearch);
    auto *replaceLabel = new QLabel(LangQ(Replacement), this);
    replaceLabel->setBuddy(FReplace);
    fields->addRow(searchLabel, FSearch);
    fields->addRow(replaceLabel, FReplace);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    AddOkCancel(*this, *layout);
    FocusAtEnd(FSearch);
    FSearch->selectAll();
}

uint16_t TReplaceDialog::SearchNumber() const
{
    return static_cast<uint16_t>(TextToInt(FSearch->text(), 0));
}

uint16_t TReplaceDialog::ReplaceNumber() const
{
    return static_cast<uint16_t>(TextToInt(FReplace->text(), 0));
}

void TReplaceDialog::accept()
{
    const int32_t limit = FBitCount == 8 ? 255 : 65535;
    for (QLineEdit *edit : {FSearch, FReplace}) {
        const int32_t value = TextToInt(edit->text(), NotANumber);
        if (value < 0 || value > limit) {
            ShowMessageBox(mkError, GetLangMessage(FBitCount == 8 ? LangMessage::ByteRange
                                                                  : LangMessage::WordRange));
            FocusAtEnd(edit);
            edit->selectAll();
            return;
        }
    }
    QDialog::accept();
}
