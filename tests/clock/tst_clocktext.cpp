#include "ClockText.h"
#include <QTest>
class tst_ClockText : public QObject { Q_OBJECT private slots: void x() { QCOMPARE(FormatTimerText(-5), QStringLiteral("- 00:00:05")); } };
QTEST_APPLESS_MAIN(tst_ClockText)
#include "tst_clocktext.moc"
