#include "QtDialogSeam.h"

#include "FileDialogFilter.h"
#include "editor/shell/language/Language.h"
#include "editor/shell/settings/ColorRef.h"

#include <QApplication>
#include <QColorDialog>
#include <QFileDialog>
#include <QPushButton>

namespace
{

QWidget *Owner()
{
    return QApplication::activeWindow();
}

QMessageBox::Icon IconOf(TQuestionIcon icon)
{
    switch (icon) {
    case TQuestionIcon::Question:
        return QMessageBox::Question;
    case TQuestionIcon::Warning:
        return QMessageBox::Warning;
    case TQuestionIcon::Information:
        return QMessageBox::Information;
    case TQuestionIcon::Error:
        return QMessageBox::Critical;
    }
    return QMessageBox::NoIcon;
}

std::optional<TFileDialogResult> AskFile(const TFileDialogRequest &request, bool save)
{
    QFileDialog dialog(Owner(), QString::fromStdString(request.Title),
                       QString::fromStdString(request.InitialDir));
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);

    const QStringList nameFilters = ToQtNameFilters(request.Filter);
    const QString fallbackSuffix = QString::fromStdString(request.DefaultExt);
    if (!nameFilters.isEmpty()) {
        dialog.setNameFilters(nameFilters);
        const qsizetype chosen =
            (request.FilterIndex >= 1 && request.FilterIndex <= nameFilters.size())
                ? request.FilterIndex - 1
                : 0;
        dialog.selectNameFilter(nameFilters[chosen]);
        dialog.setDefaultSuffix(DefaultSuffixForNameFilter(nameFilters[chosen], fallbackSuffix));
        QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog,
                         [&dialog, fallbackSuffix](const QString &nameFilter) {
                             dialog.setDefaultSuffix(
                                 DefaultSuffixForNameFilter(nameFilter, fallbackSuffix));
                         });
    } else {
        dialog.setDefaultSuffix(fallbackSuffix);
    }
    if (!request.FileName.empty())
        dialog.selectFile(QString::fromStdString(request.FileName));

    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    TFileDialogResult result;
    result.FileName = dialog.selectedFiles().constFirst().toStdString();
    const qsizetype index = nameFilters.indexOf(dialog.selectedNameFilter());
    result.FilterIndex = index >= 0 ? static_cast<int32_t>(index) + 1 : 1;
    return result;
}

} // namespace

std::unique_ptr<QMessageBox> BuildMessageBox(int32_t kind, const std::string &text, QWidget *parent)
{
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    switch (kind) {
    case mkError:
        icon = QMessageBox::Critical;
        break;
    case mkInformation:
        icon = QMessageBox::Information;
        break;
    case mkCaution:
        icon = QMessageBox::Warning;
        break;
    default:
        return nullptr;
    }
    return std::make_unique<QMessageBox>(icon, QString::fromStdString(MessageBoxCaption(kind)),
                                         QString::fromStdString(text), QMessageBox::Ok, parent);
}

std::unique_ptr<QMessageBox> BuildQuestionBox(const std::string &caption, const std::string &text,
                                              TQuestionButtons buttons, TQuestionIcon icon,
                                              QWidget *parent)
{
    QMessageBox::StandardButtons standard;
    QMessageBox::StandardButton escape = QMessageBox::Cancel;
    switch (buttons) {
    case TQuestionButtons::YesNo:
        standard = QMessageBox::Yes | QMessageBox::No;
        escape = QMessageBox::No;
        break;
    case TQuestionButtons::YesNoCancel:
        standard = QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
        break;
    case TQuestionButtons::OkCancel:
        standard = QMessageBox::Ok | QMessageBox::Cancel;
        break;
    case TQuestionButtons::YesNoLater:
        standard = QMessageBox::Yes | QMessageBox::No;
        break;
    }
    auto box = std::make_unique<QMessageBox>(IconOf(icon), QString::fromStdString(caption),
                                             QString::fromStdString(text), standard, parent);
    if (buttons == TQuestionButtons::YesNoLater) {
        // No standard button says "Later": a button of its own, which closing the box means.
        QPushButton *later = box->addButton(QString::fromStdString(GetLangMessage(56, "&Later")),
                                            QMessageBox::RejectRole);
        box->setEscapeButton(later);
        return box;
    }
    box->setEscapeButton(escape);
    return box;
}

TAnswer AnswerOf(const QMessageBox &box, TQuestionButtons buttons)
{
    switch (box.standardButton(box.clickedButton())) {
    case QMessageBox::Yes:
        return TAnswer::Yes;
    case QMessageBox::No:
        return TAnswer::No;
    case QMessageBox::Ok:
        return TAnswer::Ok;
    default:
        return EscapeAnswer(buttons);
    }
}

void TQtDialogSeam::Beep()
{
    QApplication::beep();
}

void TQtDialogSeam::ShowMessageBox(int32_t kind, const std::string &text)
{
    if (std::unique_ptr<QMessageBox> box = BuildMessageBox(kind, text, Owner()))
        box->exec();
}

TAnswer TQtDialogSeam::AskQuestion(const std::string &caption, const std::string &text,
                                   TQuestionButtons buttons, TQuestionIcon icon)
{
    std::unique_ptr<QMessageBox> box = BuildQuestionBox(caption, text, buttons, icon, Owner());
    box->exec();
    return AnswerOf(*box, buttons);
}

std::optional<TFileDialogResult> TQtDialogSeam::AskOpenFile(const TFileDialogRequest &request)
{
    return AskFile(request, false);
}

std::optional<TFileDialogResult> TQtDialogSeam::AskSaveFile(const TFileDialogRequest &request)
{
    return AskFile(request, true);
}

std::optional<uint32_t> TQtDialogSeam::AskColor(uint32_t initial)
{
    const QColor chosen = QColorDialog::getColor(ColorFromColorRef(initial), Owner());
    if (!chosen.isValid())
        return std::nullopt;
    return ColorRefFromColor(chosen);
}

std::string TQtDialogSeam::GetLangString(int32_t index, const std::string &defaultText)
{
    return ::GetLangString(index, defaultText);
}

std::string TQtDialogSeam::GetLangMessage(int32_t index, const std::string &defaultText)
{
    return ::GetLangMessage(index, defaultText);
}
