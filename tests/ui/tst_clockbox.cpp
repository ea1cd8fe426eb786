// The clock boxes as drawn, and the text cursor that stops blinking while the user is idle.
#include "TextRow.h"
#include "ui/ClockBox.h"
#include "ui/CursorBlinkTimeout.h"
#include "ui/WholeLineEdit.h"

#include <QAccessible>
#include <QApplication>
#include <QFocusEvent>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QScopeGuard>
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

// What a screen reader or a braille driver holds of a box's text: the text it read at first, with
// every text event since applied in order, as AT-SPI hands them on.
struct TextMirror {
    QString held;
    QStringList faults; // events that do not fit the text held
    int events = 0;
    void apply(int at, const QString& removed, const QString& inserted) {
        ++events;
        if (at < 0 || held.mid(at, removed.size()) != removed)
            faults << QStringLiteral("%1 removed at %2 from %3").arg(removed).arg(at).arg(held);
        else
            held.replace(at, removed.size(), inserted);
    }
};
std::pair<const QObject*, TextMirror*> mirrored; // the box and the mirror its events feed

void mirror(QAccessibleEvent* event) {
    TextMirror* to = mirrored.second;
    if (event->object() != mirrored.first)
        return;
    if (auto* e = dynamic_cast<QAccessibleTextUpdateEvent*>(event))
        to->apply(e->changePosition(), e->textRemoved(), e->textInserted());
    else if (auto* e = dynamic_cast<QAccessibleTextInsertEvent*>(event))
        to->apply(e->changePosition(), {}, e->textInserted());
    else if (auto* e = dynamic_cast<QAccessibleTextRemoveEvent*>(event))
        to->apply(e->changePosition(), e->textRemoved(), {});
}

// How the box is met before the clock ticks on: focused or not, after the user's keys.
using Meeting = std::pair<bool, QString>;

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

    // Whoever applies a box's text events to the text it read holds the box's text after every
    // tick: focused or not, and after the user's own typing. Ticks change a digit, the length, or
    // everything. Run with assistive technology on (the accessibility bus); without it the box
    // tells nothing, as no one listens.
    void textEventsAreTrue_data() {
        rows<Meeting>({{"focused", {true, {}}},
                       {"not focused", {false, {}}},
                       {"focused, after typing a digit", {true, "7"}},
                       {"focused, after BackSpace", {true, "End; Backspace"}},
                       {"focused, after selecting all and typing", {true, "Ctrl+A; 1; 2"}},
                       {"left after the user's typing", {false, "End; X"}}});
    }
    void textEventsAreTrue() {
        if (QGuiApplication::platformName() == u"offscreen")
            QSKIP("needs assistive technology on, and so a platform that has it");
        QTRY_VERIFY(QAccessible::isActive()); // once the accessibility bus answers
        const auto [focused, typed] = row<Meeting>();
        QWidget window;
        auto* box = new ClockBox(QStringLiteral("23:59:58"), &window);
        auto* other = new QLineEdit(&window);
        auto* layout = new QHBoxLayout(&window);
        layout->addWidget(box);
        layout->addWidget(other);
        window.show();
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        box->setFocus();
        TextMirror held{box->text(), {}, 0};
        mirrored = {box, &held};
        const auto before = QAccessible::installUpdateHandler(&mirror);
        const auto restore = qScopeGuard([before] { QAccessible::installUpdateHandler(before); });
        for (const QKeySequence& key : QKeySequence::listFromString(typed))
            QTest::keySequence(box, key);
        if (!focused)
            other->setFocus();
        const QStringList ticks = {"23:59:59",   "00:00:00",  "- 00:00:01",
                                   "- 00:00:02", "100:00:00", "00:00:00"};
        for (const QString& tick : ticks) {
            box->ShowText(tick);
            QVERIFY2(held.faults.isEmpty(), qPrintable(held.faults.join(u'\n')));
            QCOMPARE(held.held, box->text());
        }
        QVERIFY(held.events >= ticks.size());
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
