// Helpers for the steps of a scripted dialog: find a field by object name, fill it, press
// a button.
#pragma once

#include <QAbstractButton>
#include <QDialog>
#include <QLineEdit>
#include <gtest/gtest.h>

template <typename T> T *Field(QDialog &dialog, const char *name)
{
    T *field = dialog.findChild<T *>(name);
    EXPECT_NE(field, nullptr) << dialog.objectName().toStdString() << " lacks " << name;
    return field;
}

inline void Type(QDialog &dialog, const char *name, const QString &text)
{
    Field<QLineEdit>(dialog, name)->setText(text);
}

inline void Check(QDialog &dialog, const char *name, bool checked = true)
{
    Field<QAbstractButton>(dialog, name)->setChecked(checked);
}

// Presses the button; the dialog's result tells whether it closed.
inline int Press(QDialog &dialog, const char *name)
{
    dialog.setResult(QDialog::Rejected);
    Field<QAbstractButton>(dialog, name)->click();
    return dialog.result();
}
