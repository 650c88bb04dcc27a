// The two size dialogs: "Resize" (the map's width and height in parts) and "Parts Resize"
// (the parts' width and height in pixels). Each shows the current size and takes the new
// one; sizes below 1 are refused, and the map size asks before cutting cells off. The
// commands that change the map are TMainForm's.
#pragma once

#include <QDialog>
#include <cstdint>

class QLineEdit;

enum class TSizeDialogKind { MapSize, PartsSize };

class TSizeDialog : public QDialog
{
    Q_OBJECT
public:
    TSizeDialog(TSizeDialogKind kind, int32_t width, int32_t height, QWidget *parent);
    // The entries read as integers, 1 when they are no number. Parts sizes keep their low
    // 16 bits.
    int32_t NewWidth() const;
    int32_t NewHeight() const;

protected:
    void accept() override;

private:
    int32_t Entry(const QLineEdit *edit) const;

    TSizeDialogKind FKind;
    int32_t FWidth;
    int32_t FHeight;
    QLineEdit *FWidthEdit = nullptr;
    QLineEdit *FHeightEdit = nullptr;
};
