#include "ProgressForm.h"

#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QWindow>

namespace
{

constexpr int ClientWidth = 360;
constexpr int Margin = 10;
constexpr int ButtonWidth = 75;
constexpr int ButtonHeight = 25;
constexpr int BarHeight = 18;

} // namespace

TProgressForm::TProgressForm(bool cancelable, QWidget *owner)
    : QWidget(nullptr, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                           Qt::WindowStaysOnTopHint),
      FOwner(owner), FCancelable(cancelable), FGate(this, owner)
{
    setObjectName("ProgressForm");
    setWindowTitle("Tessella");
    // Hiding the last visible window must never end the program.
    setAttribute(Qt::WA_QuitOnClose, false);
    FMessage = new QLabel("Processing...", this);
    FMessage->setObjectName("MessageLabel");
    FBar = new QProgressBar(this);
    FBar->setObjectName("ProgressBar");
    FBar->setTextVisible(false);
    FAbortButton = new QPushButton("Abort", this);
    FAbortButton->setObjectName("AbortButton");
    FAbortButton->setVisible(FCancelable);
    connect(FAbortButton, &QPushButton::clicked, this, [this] { FCancelled = true; });
    LayOut();

    const QRect area = owner != nullptr && owner->isVisible() ? owner->frameGeometry()
                       : screen() != nullptr                  ? screen()->availableGeometry()
                                                              : QRect(0, 0, 800, 600);
    move(area.center() - QPoint(width() / 2, height() / 2));
    FGate.Open();
}

TProgressForm::~TProgressForm() = default;

void TProgressForm::Start(int32_t minimum, int32_t maximum, int32_t showDelay)
{
    hide();
    FBar->setRange(minimum, maximum);
    FBar->setValue(minimum);
    FCancelled = false;
    FStartTime.start();
    FShowDelay = showDelay;
}

int32_t TProgressForm::Position() const
{
    return FBar->value();
}

int32_t TProgressForm::Maximum() const
{
    return FBar->maximum();
}

void TProgressForm::DelayedShow()
{
    if (isVisible() || !FStartTime.isValid() || FStartTime.elapsed() <= FShowDelay)
        return;
    show();
    raise();
    emit DelayedShown();
    // The operation may not report again for a while: paint the window as soon as the
    // window system shows it, not at the next report.
    QElapsedTimer waited;
    waited.start();
    while (windowHandle() != nullptr && !windowHandle()->isExposed() && waited.elapsed() < 250)
        QCoreApplication::processEvents(QEventLoop::ExcludeSocketNotifiers, 10);
    repaint();
}

void TProgressForm::ProcessMessages()
{
    // Sockets stay with the gate closed to them; skipping them here spares a busy loop.
    QCoreApplication::processEvents(QEventLoop::ExcludeSocketNotifiers);
}

bool TProgressForm::ProcessAbsolute(int32_t value)
{
    if (FBar->maximum() <= 0)
        return false;
    DelayedShow();
    ProcessMessages();
    FBar->setValue(value);
    return !FCancelled;
}

bool TProgressForm::Poll()
{
    DelayedShow();
    ProcessMessages();
    return !FCancelled;
}

bool TProgressForm::Process()
{
    if (FBar->value() >= FBar->maximum())
        return false;
    DelayedShow();
    ProcessMessages();
    FBar->setValue(FBar->value() + 1);
    return !FCancelled;
}

void TProgressForm::SetMessage(const std::string &text)
{
    DelayedShow();
    FMessage->setText(QString::fromStdString(text));
    FShowText = !text.empty();
    LayOut();
}

bool TProgressForm::Finish()
{
    FGate.Close();
    hide();
    return FGate.CloseRequested();
}

void TProgressForm::LayOut()
{
    const int barTop = FShowText ? 28 : 6;
    const int buttonTop = FShowText ? 24 : 2;
    const int clientHeight = FShowText ? 54 : 30;
    FMessage->setVisible(FShowText);
    FMessage->setGeometry(Margin, 6, ClientWidth - 2 * Margin, 17);
    const int buttonLeft = ClientWidth - Margin - ButtonWidth;
    FAbortButton->setGeometry(buttonLeft, buttonTop, ButtonWidth, ButtonHeight);
    const int barRight = FCancelable ? buttonLeft - 20 : ClientWidth - Margin;
    FBar->setGeometry(Margin, barTop, barRight - Margin, BarHeight);
    setFixedSize(ClientWidth, clientHeight);
}

void TProgressForm::closeEvent(QCloseEvent *event)
{
    // Only the end of the operation takes the window away.
    event->ignore();
}
