#include "editor/shell/QtDialogSeam.h"
#include "editor/shell/FileDialogFilter.h"
#include "editor/shell/language/Language.h"
#include "editor/shell/settings/ColorRef.h"

#include "TempFolder.h"

#include <QAbstractButton>
#include <gtest/gtest.h>

TEST(QtDialogSeam, MessageBoxesHaveTheirCaptionIconAndOneButton)
{
    TTempFolder program;
    program.Write("Languages/x.ini", "[Locale]\nid=1033\n[Strings]\nstr_0=a\nstr_1=b\nstr_2=c\n"
                                     "str_3=d\nstr_4=Fehler\n");
    ASSERT_TRUE(InitLanguage(program.Path(), 1033));

    const std::unique_ptr<QMessageBox> error = BuildMessageBox(mkError, "bad", nullptr);
    ASSERT_TRUE(error);
    EXPECT_EQ(error->windowTitle(), QStringLiteral("Tessella : Fehler"));
    EXPECT_EQ(error->text(), QStringLiteral("bad"));
    EXPECT_EQ(error->icon(), QMessageBox::Critical);
    EXPECT_EQ(error->buttons().size(), 1);

    const std::unique_ptr<QMessageBox> info = BuildMessageBox(mkInformation, "ok", nullptr);
    EXPECT_EQ(info->windowTitle(), QStringLiteral("Tessella : Infomation"));
    EXPECT_EQ(info->icon(), QMessageBox::Information);
    const std::unique_ptr<QMessageBox> caution = BuildMessageBox(mkCaution, "hm", nullptr);
    EXPECT_EQ(caution->windowTitle(), QStringLiteral("Tessella : Caution"));
    EXPECT_EQ(caution->icon(), QMessageBox::Warning);
    EXPECT_FALSE(BuildMessageBox(3, "x", nullptr));

    TQtDialogSeam seam;
    EXPECT_EQ(seam.GetLangString(4, "Error"), "Fehler");
    EXPECT_EQ(seam.GetLangMessage(28, "A fatal error occurred!"), "A fatal error occurred!");
    FreeLanguage();
}

TEST(QtDialogSeam, QuestionsAnswerWithTheButtonPressed)
{
    std::unique_ptr<QMessageBox> box = BuildQuestionBox(
        "Caution", "Delete?", TQuestionButtons::YesNo, TQuestionIcon::Question, nullptr);
    EXPECT_EQ(box->windowTitle(), QStringLiteral("Caution"));
    EXPECT_EQ(box->icon(), QMessageBox::Question);
    EXPECT_EQ(box->buttons().size(), 2);
    EXPECT_EQ(AnswerOf(*box, TQuestionButtons::YesNo), TAnswer::No); // closed without a press
    box->button(QMessageBox::Yes)->click();
    EXPECT_EQ(AnswerOf(*box, TQuestionButtons::YesNo), TAnswer::Yes);

    box = BuildQuestionBox("Tessella", "Save?", TQuestionButtons::YesNoCancel,
                           TQuestionIcon::Warning, nullptr);
    EXPECT_EQ(box->buttons().size(), 3);
    EXPECT_EQ(AnswerOf(*box, TQuestionButtons::YesNoCancel), TAnswer::Cancel);
    box->button(QMessageBox::No)->click();
    EXPECT_EQ(AnswerOf(*box, TQuestionButtons::YesNoCancel), TAnswer::No);

    box = BuildQuestionBox("Caution", "Cut off?", TQuestionButtons::OkCancel,
                           TQuestionIcon::Warning, nullptr);
    box->button(QMessageBox::Ok)->click();
    EXPECT_EQ(AnswerOf(*box, TQuestionButtons::OkCancel), TAnswer::Ok);
}

TEST(QtDialogSeam, FiltersBecomeQtNameFilters)
{
    EXPECT_EQ(
        ToQtNameFilters("Tessella Project File (*.tzp)|*.tzp|CSV Project File(*.csv)|*.csv"),
        (QStringList{"Tessella Project File (*.tzp) (*.tzp)", "CSV Project File(*.csv) (*.csv)"}));
    EXPECT_EQ(ToQtNameFilters("All images|*.bmp;*.jpg; *.ico|All files|*.*"),
              (QStringList{"All images (*.bmp *.jpg *.ico)", "All files (*.*)"}));
    EXPECT_TRUE(ToQtNameFilters("").isEmpty());
    EXPECT_TRUE(ToQtNameFilters("Label without pattern").isEmpty());
    EXPECT_EQ(ToQtNameFilters("A|*.a|dangling").size(), 1);

    EXPECT_EQ(DefaultSuffixForNameFilter("CSV Project File(*.csv) (*.csv)", "tzp"), "csv");
    EXPECT_EQ(DefaultSuffixForNameFilter("All files (*.*)", "tzp"), "tzp");
    EXPECT_EQ(DefaultSuffixForNameFilter("Images (*.bmp *.jpg)", ""), "bmp");
}

TEST(QtDialogSeam, ColoursAreBlueGreenRed)
{
    const QColor color = ColorFromColorRef(0x00A4A0A0u | 0x000000FFu);
    EXPECT_EQ(color.red(), 0xFF);
    EXPECT_EQ(color.green(), 0xA0);
    EXPECT_EQ(color.blue(), 0xA4);
    EXPECT_EQ(ColorRefFromColor(QColor(255, 0, 0)), 0x000000FFu);
    EXPECT_EQ(ColorRefFromColor(QColor(1, 2, 3)), 0x00030201u);
}
