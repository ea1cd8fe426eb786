#include "ErrorDisplay.h"

#include <QDebug>
#include <QMessageBox>

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
    box_->show();
    box_->raise();
}
