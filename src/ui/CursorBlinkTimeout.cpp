#include "ui/CursorBlinkTimeout.h"

#include <QEvent>
#include <QGuiApplication>
#include <QStyleHints>

CursorBlinkTimeout::CursorBlinkTimeout(int timeoutMilliseconds, QObject* parent) : QObject(parent) {
    idle_.setSingleShot(true);
    idle_.setInterval(timeoutMilliseconds);
    connect(&idle_, &QTimer::timeout, this, &CursorBlinkTimeout::stopBlinking);
    qApp->installEventFilter(this);
    idle_.start();
}

bool CursorBlinkTimeout::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::MouseButtonPress:
    case QEvent::InputMethod:
    case QEvent::Wheel:
        if (flashTime_ > 0) {
            QGuiApplication::styleHints()->setCursorFlashTime(flashTime_);
            flashTime_ = 0;
        }
        idle_.start();
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

void CursorBlinkTimeout::stopBlinking() {
    QStyleHints* hints = QGuiApplication::styleHints();
    if (hints->cursorFlashTime() <= 0)
        return;
    flashTime_ = hints->cursorFlashTime();
    hints->setCursorFlashTime(0);
}
