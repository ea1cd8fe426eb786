#include "ui/ClockBox.h"

#include <QAccessible>
#include <QPaintEvent>
#include <QPainter>
#include <QPainterPath>
#include <QStyleOptionFrame>
#include <algorithm>

namespace {
// Where a line edit puts its text inside its contents: two pixels in from the left.
constexpr int TextIndent = 2;
constexpr qsizetype MaxGlyphs = 512;

// Runs a change of the box without Qt's own telling of it, the whole text replaced and the cursor
// moved, which a screen reader reads aloud every second; the box tells instead just the characters
// a tick changed.
template <typename Change> void unannounced(Change change) {
    const QAccessible::UpdateHandler told =
        QAccessible::installUpdateHandler([](QAccessibleEvent*) {});
    change();
    QAccessible::installUpdateHandler(told);
}
} // namespace

ClockBox::ClockBox(const QString& text, QWidget* parent) : QLineEdit(text, parent) {}

void ClockBox::ShowText(const QString& text) {
    const QString shown = this->text();
    if (text == shown)
        return;
    unannounced([this, &text] {
        setText(text);
        // While the box draws itself it always shows the beginning; the line edit shows the cursor.
        if (hasFocus())
            setCursorPosition(0);
    });
    if (QAccessible::isActive())
        tellReplaced(shown, text);
}

void ClockBox::tellReplaced(const QString& shown, const QString& text) {
    // Only the characters that changed: a screen reader that speaks a change at all (after some
    // keys it takes a tick for the user's own typing) then says a digit, not the whole time.
    const qsizetype most = std::min(shown.size(), text.size());
    qsizetype same = 0;
    while (same < most && shown[same] == text[same])
        ++same;
    qsizetype sameEnd = 0;
    while (sameEnd < most - same &&
           shown[shown.size() - 1 - sameEnd] == text[text.size() - 1 - sameEnd])
        ++sameEnd;
    QAccessibleTextUpdateEvent replaced(this, int(same),
                                        shown.mid(same, shown.size() - same - sameEnd),
                                        text.mid(same, text.size() - same - sameEnd));
    replaced.setCursorPosition(cursorPosition());
    QAccessible::updateAccessibility(&replaced);
}

void ClockBox::focusInEvent(QFocusEvent* event) {
    // Not selected when tabbed to: the next second would undo it anyway, and a screen reader would
    // read the time once for the selection and once for the focus.
    unannounced([this, event] {
        QLineEdit::focusInEvent(event);
        setCursorPosition(0);
    });
}

bool ClockBox::drawsItself() const {
    return !hasFocus() && !hasSelectedText() && echoMode() == Normal;
}

void ClockBox::changeEvent(QEvent* event) {
    if (event->type() == QEvent::FontChange || event->type() == QEvent::PaletteChange ||
        event->type() == QEvent::StyleChange)
        glyphs_.clear();
    QLineEdit::changeEvent(event);
}

const ClockBox::Glyph& ClockBox::glyph(QChar character, QPointF fraction, qreal ratio) {
    if (ratio != glyphRatio_) {
        glyphs_.clear(); // moved to a screen of another scale, or drawn into another device
        glyphRatio_ = ratio;
    }
    const int x64 = qRound(fraction.x() * 64);
    const int y64 = qRound(fraction.y() * 64);
    const auto key = std::make_pair(character, x64 * 65 + y64);
    const auto found = glyphs_.constFind(key);
    if (found != glyphs_.constEnd())
        return *found;
    if (glyphs_.size() > MaxGlyphs)
        glyphs_.clear(); // typed text can be anything: keep the cache to what a clock shows
    const QPointF origin(x64 / 64.0, y64 / 64.0);
    QPainterPath outline;
    outline.addText(origin, font(), QString(character));
    const QRect bounds = outline.boundingRect().toAlignedRect().adjusted(-1, -1, 1, 1);
    QImage image((QSizeF(bounds.size()) * ratio).toSize(), QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(ratio);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.translate(-bounds.topLeft());
    painter.setFont(font());
    painter.setPen(palette().color(QPalette::Text));
    painter.drawText(origin, QString(character));
    return *glyphs_.insert(key, {image, bounds.topLeft()});
}

void ClockBox::paintEvent(QPaintEvent* event) {
    if (!drawsItself())
        return QLineEdit::paintEvent(event);
    QPainter painter(this);
    QStyleOptionFrame panel;
    initStyleOption(&panel);
    style()->drawPrimitive(QStyle::PE_PanelLineEdit, &panel, &painter, this);
    const QRect contents = style()
                               ->subElementRect(QStyle::SE_LineEditContents, &panel, this)
                               .marginsRemoved(textMargins());
    painter.setClipRect(contents & event->rect());
    // The device's pixels per widget pixel: the screen's scale, or that of whatever the box is
    // rendered into.
    const QTransform toDevice = painter.deviceTransform();
    const qreal ratio =
        toDevice.type() <= QTransform::TxScale ? toDevice.m11() : devicePixelRatioF();

    // Placed as the line edit places its own text, so that editing it moves nothing.
    const QFontMetrics metrics(font());
    const QString shown = text();
    const int lineHeight = std::max(metrics.height(), metrics.boundingRect(shown).height());
    const QFontMetricsF exact(font());
    const qreal baseline = contents.y() + (contents.height() - lineHeight + 1) / 2 + exact.ascent();
    const int left = contents.x() + TextIndent;
    for (qsizetype i = 0; i < shown.size(); ++i) {
        const QPointF origin(left + exact.horizontalAdvance(shown.left(i)), baseline);
        const QPoint whole(static_cast<int>(std::floor(origin.x())),
                           static_cast<int>(std::floor(origin.y())));
        const Glyph& drawn = glyph(shown[i], origin - whole, ratio);
        painter.drawImage(whole + drawn.offset, drawn.image);
    }
}
