#include "app/ErrorDisplay.h"

#include <QDebug>
#include <QMessageBox>
#include <QTimer>

namespace {
constexpr int WaitStepMilliseconds = 100;
constexpr int MostWaits = 10;
} // namespace

void ErrorDisplay::Show(const QString& message) noexcept {
    ++errorCount_;
    lastMessage_ = message;
    qWarning().noquote() << message; // also where the desktop keeps a program's messages
    if (!box_) {
        box_ = new QMessageBox(QMessageBox::Warning, QStringLiteral("Horavox v2.0"), message,
                               QMessageBox::Ok, owner_);
        box_->setWindowModality(Qt::NonModal);
    }
    box_->setText(message);
    if (!presenting_)
        present();
}

// A box that comes up while the desktop is still making the window active is read by a screen
// reader as an alert without its text, the window's activation cutting in: the first box waits
// for the window to be active, a second at most.
void ErrorDisplay::present() {
    presenting_ = owner_->isVisible() && !owner_->isActiveWindow() && waitsForWindow_ < MostWaits;
    if (presenting_) {
        ++waitsForWindow_;
        QTimer::singleShot(WaitStepMilliseconds, box_, [this] { present(); });
        return;
    }
    waitsForWindow_ = MostWaits;
    box_->show();
    box_->raise();
}
