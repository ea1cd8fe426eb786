#include "ClockBox.h"

#include <QTest>

// A clock box draws its text itself; it must look exactly as a line edit draws the same text, so
// that clicking into it to edit moves nothing.
class tst_ClockBox : public QObject {
    Q_OBJECT
private slots:
    void looksLikeALineEdit_data() {
        QTest::addColumn<int>("points");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QSize>("size");
        QTest::addRow("small clock") << 18 << "23:59:59" << QSize(115, 33);
        QTest::addRow("small, below zero") << 18 << "- 00:00:05" << QSize(115, 33);
        QTest::addRow("big clock") << 100 << "- 00:00:05" << QSize(657, 167);
        QTest::addRow("too wide: the beginning shows") << 100 << "- 100:00:00" << QSize(657, 167);
    }
    void looksLikeALineEdit() {
        QFETCH(int, points);
        QFETCH(QString, text);
        QFETCH(QSize, size);
        QFont font(QStringLiteral("Arial"), points, QFont::Bold);
        ClockBox box(QStringLiteral("time"), nullptr);
        QLineEdit reference(text);
        for (QLineEdit* edit : {static_cast<QLineEdit*>(&box), &reference}) {
            edit->setFont(font);
            edit->resize(size);
        }
        box.ShowText(text);
        reference.setCursorPosition(0);
        reference.setReadOnly(true); // no cursor drawn
        QCOMPARE(box.text(), text);
        // The same pixels, but for rounding where a glyph's edge is blended.
        const QImage drawn = box.grab().toImage().convertToFormat(QImage::Format_RGB32);
        const QImage expected = reference.grab().toImage().convertToFormat(QImage::Format_RGB32);
        QCOMPARE(drawn.size(), expected.size());
        int worst = 0;
        for (int y = 0; y < drawn.height(); ++y)
            for (int x = 0; x < drawn.width(); ++x)
                worst = std::max(worst,
                                 std::abs(qGray(drawn.pixel(x, y)) - qGray(expected.pixel(x, y))));
        QVERIFY2(worst <= 3, qPrintable(QStringLiteral("pixels differ by %1").arg(worst)));
    }
};

QTEST_MAIN(tst_ClockBox)
#include "tst_clockbox.moc"
