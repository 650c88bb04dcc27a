// The project options (TPrefsForm): how parts-image paths are stored, the invisible part
// and the project's comment. The number is checked against the map's bit count on OK; the
// command takes the options over into the main window.
#pragma once

#include <QDialog>
#include <cstdint>
#include <string>

class QCheckBox;
class QLineEdit;
class QPlainTextEdit;
class QRadioButton;

struct TProjectOptions {
    bool RelativePaths = true;
    bool UseInvisiblePart = false;
    uint16_t InvisiblePart = 0;
    std::string Comment;
};

class TPrefsForm : public QDialog
{
    Q_OBJECT
public:
    TPrefsForm(const TProjectOptions &options, uint8_t bitCount, QWidget *parent);
    TProjectOptions Options() const;

protected:
    void accept() override;

private:
    int32_t Number() const;

    uint8_t FBitCount;
    QRadioButton *FRelative = nullptr;
    QCheckBox *FUseInvisible = nullptr;
    QLineEdit *FNumber = nullptr;
    QPlainTextEdit *FComment = nullptr;
};
