// Small pieces every dialog of the editor is built from: localised texts, the reading of
// numbers typed into edits, and the OK and Cancel buttons. Holds no state of its own.
#pragma once

#include "editor/shell/language/LangEntry.h"

#include <QString>
#include <cstdint>
#include <string>

class QBoxLayout;
class QDialog;
class QLineEdit;
class QListWidget;
class QPushButton;
class QWidget;

// A text of a named language section.
QString LangQ(const TLangEntry &entry);
QString Utf8Q(const std::string &text);
// The text without its access-key marks, for labels that lead to no control ("&&" stays "&").
QString WithoutAccessKey(const QString &text);

// The text as a decimal integer (blanks around it allowed), or defaultValue when it is
// not one or does not fit in 32 bits.
int32_t TextToInt(const QString &text, int32_t defaultValue);

// An edit holding a number, with a name tests and scripts find it by.
QLineEdit *NewNumberEdit(const QString &objectName, int32_t value, QWidget *parent);

// Puts the caret at the end of the field and gives it the focus.
void FocusAtEnd(QLineEdit *edit);

// OK (the default button) and Cancel at the right of a row appended to layout, wired to the
// dialog's accept() and reject(); named "OkButton" and "CancelButton".
void AddOkCancel(QDialog &dialog, QBoxLayout &layout);

// The list at least as wide as its longest entry, so that every name shows whole; each
// entry's text is its hint too.
void WidenToEntries(QListWidget &list);
