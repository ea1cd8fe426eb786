// The clock boxes as drawn, and the text cursor that stops blinking while the user is idle.
#include "TextRow.h"
#include "ui/ClockBox.h"
#include "ui/CursorBlinkTimeout.h"
#include "ui/WholeLineEdit.h"

#include <QAccessible>
#include <QApplication>
#include <QFocusEvent>
#include <QLineEdit>
#include <QStyleHints>
#include <QTest>

namespace {
struct Box {
    int points;
    QString text;
    QSize size;
    qreal ratio = 1; // of the device pixels to the widget's
    QFont::Weight weightFirst = QFont::Bold;
};

QImage drawn(QWidget& widget, qreal ratio) {
    QPixmap pixmap(widget.size() * ratio);
    pixmap.setDevicePixelRatio(ratio);
    widget.render(&pixmap);
    return pixmap.toImage().convertToFormat(QImage::Format_RGB32);
}
} // namespace

class tst_ClockBox : public QObject {
    Q_OBJECT
private slots:
    // A clock box draws its text itself; it must look exactly as a line edit draws the same text,
    // so that clicking into it to edit moves nothing. Each box is drawn once before, at the
    // screen's scale, which must leave nothing behind for another font or another scale.
    void looksLikeALineEdit_data() {
        rows<Box>({{"small, below zero", {18, "- 00:00:05", {115, 33}}},
                   {"big clock", {100, "- 00:00:05", {657, 167}}},
                   {"too wide: the beginning shows", {100, "- 100:00:00", {657, 167}}},
                   {"bold after regular", {100, "23:59:59", {657, 167}, 1, QFont::Normal}},
                   {"on a screen of twice the scale", {18, "- 00:00:05", {115, 33}, 2}}});
    }
    void looksLikeALineEdit() {
        const auto [points, text, size, ratio, weightFirst] = row<Box>();
        ClockBox box(QStringLiteral("time"), nullptr);
        QLineEdit reference(text);
        box.setFont(QFont(QStringLiteral("Arial"), points, weightFirst));
        box.resize(size);
        box.ShowText(text);
        QCOMPARE(box.text(), text);
        drawn(box, 1);
        for (QLineEdit* edit : {static_cast<QLineEdit*>(&box), &reference}) {
            edit->setFont(QFont(QStringLiteral("Arial"), points, QFont::Bold));
            edit->resize(size);
        }
        reference.setCursorPosition(0);
        reference.setReadOnly(true); // no cursor drawn
        // The same pixels, but for rounding where a glyph's edge is blended.
        const QImage shown = drawn(box, ratio);
        const QImage expected = drawn(reference, ratio);
        QCOMPARE(shown.size(), expected.size());
        int worst = 0;
        for (int y = 0; y < shown.height(); ++y)
            for (int x = 0; x < shown.width(); ++x)
                worst = std::max(worst,
                                 std::abs(qGray(shown.pixel(x, y)) - qGray(expected.pixel(x, y))));
        QVERIFY2(worst <= 3, qPrintable(QStringLiteral("pixels differ by %1").arg(worst)));
    }

    // Tabbed to, a clock box is not selected: a screen reader reads its time once, for the focus,
    // not once more for a selection that the next second undoes.
    void takesTheFocusUnselected() {
        ClockBox box(QStringLiteral("00:00:01"), nullptr);
        QFocusEvent tabbedTo(QEvent::FocusIn, Qt::TabFocusReason);
        QApplication::sendEvent(&box, &tabbedTo);
        QVERIFY(!box.hasSelectedText());
        QCOMPARE(box.cursorPosition(), 0);
    }

    // A screen reader that splits a line edit's text by its attribute runs reads all of it.
    void lineEditReadWhole() {
        ReadLineEditsWhole();
        QLineEdit edit(QStringLiteral("12:58:46"));
        QAccessibleTextInterface* text =
            QAccessible::queryAccessibleInterface(&edit)->textInterface();
        int start = -1, end = -1;
        text->attributes(7, &start, &end);
        QCOMPARE(std::make_pair(start, end), std::make_pair(0, 8));
        QCOMPARE(text->text(start, end), edit.text());
    }

    void stopsWhenIdleAndBlinksAgainOnInput() {
        QStyleHints* hints = QGuiApplication::styleHints();
        hints->setCursorFlashTime(800); // the desktop's choice is kept
        const CursorBlinkTimeout timeout(50);
        QLineEdit box;
        QTRY_COMPARE(hints->cursorFlashTime(), 0);
        QTest::keyClick(&box, Qt::Key_A);
        QCOMPARE(hints->cursorFlashTime(), 800);
        QTRY_COMPARE(hints->cursorFlashTime(), 0);
        QTest::mouseClick(&box, Qt::LeftButton);
        QCOMPARE(hints->cursorFlashTime(), 800);
    }
};

QTEST_MAIN(tst_ClockBox)
#include "tst_clockbox.moc"
