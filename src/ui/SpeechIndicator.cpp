#include "ui/SpeechIndicator.h"

#include <QPainter>
#include <QPainterPath>

SpeechIndicator::SpeechIndicator(QWidget* parent) : QWidget(parent) {
    setFocusPolicy(Qt::NoFocus);
}

void SpeechIndicator::Poll() {
    const bool speaking = isSpeaking_ && isSpeaking_();
    if (speaking == speaking_)
        return;
    speaking_ = speaking;
    update();
}

void SpeechIndicator::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const double unit = std::min(width(), height()) / 8.0;
    const QPointF centre(width() / 2.0 - unit * 1.5, height() / 2.0);

    QPainterPath speaker;
    speaker.moveTo(centre + QPointF(-unit * 1.5, -unit));
    speaker.lineTo(centre + QPointF(-unit * 0.5, -unit));
    speaker.lineTo(centre + QPointF(unit, -unit * 2.5));
    speaker.lineTo(centre + QPointF(unit, unit * 2.5));
    speaker.lineTo(centre + QPointF(-unit * 0.5, unit));
    speaker.lineTo(centre + QPointF(-unit * 1.5, unit));
    speaker.closeSubpath();
    const QColor ink = palette().color(speaking_ ? QPalette::Highlight : QPalette::Mid);
    painter.fillPath(speaker, ink);

    if (!speaking_)
        return;
    painter.setPen(QPen(ink, unit * 0.5, Qt::SolidLine, Qt::RoundCap));
    for (int wave = 1; wave <= 3; ++wave) {
        const double radius = unit * (1.2 * wave + 0.6);
        const QRectF arc(centre.x() + unit - radius, centre.y() - radius, 2 * radius, 2 * radius);
        painter.drawArc(arc, -45 * 16, 90 * 16);
    }
}
