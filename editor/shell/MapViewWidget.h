// The map view area of the main window: shows the back buffer and reports its size.
#pragma once

#include <QWidget>

class TMainForm;

class TMapViewWidget : public QWidget
{
    Q_OBJECT
public:
    explicit TMapViewWidget(TMainForm *owner);

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    TMainForm *FOwner;
};
