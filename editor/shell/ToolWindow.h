// A floating tool window beside the main window (parts, layers, overview): a real tool
// window with stored bounds and opacity that can be rolled up to its caption bar.
#pragma once

#include "Settings.h"

#include <QWidget>

class QToolBar;
class QVBoxLayout;

class TToolWindow : public QWidget
{
    Q_OBJECT
public:
    TToolWindow(QWidget *owner, const QString &caption);

    void ApplySettings(const TToolWindowSettings &settings);
    // Bounds, visibility and roll-up state to store; a rolled-up window gives the height it
    // had before rolling up.
    TToolWindowState State() const;

    bool RolledUp() const { return FRolledUp; }
    void SetRolledUp(bool rolledUp);
    int32_t OrgHeight() const { return FOrgHeight; }

protected:
    QToolBar *ToolBar() const { return FToolBar; }
    // The window's content below its tool bar; hidden while rolled up.
    void SetContent(QWidget *content);

private:
    QVBoxLayout *FLayout;
    QToolBar *FToolBar;
    QWidget *FContent = nullptr;
    bool FRolledUp = false;
    int32_t FOrgHeight = 0;
};
