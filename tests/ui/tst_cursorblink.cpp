#include "CursorBlinkTimeout.h"

#include <QLineEdit>
#include <QStyleHints>
#include <QTest>

class tst_CursorBlink : public QObject {
    Q_OBJECT
private slots:
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

QTEST_MAIN(tst_CursorBlink)
#include "tst_cursorblink.moc"
