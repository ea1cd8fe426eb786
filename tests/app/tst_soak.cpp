// Thirty days of running through the settable clock: ten ticks a second around midnight and the
// rows' moments, one a minute elsewhere. Each midnight counts once, the nightly row speaks every
// day, the 01:20:00 row only on the first (the timer's hours run on past 24), nothing fails and
// the memory in use stays put.
#include "WindowFixture.h"

#include <QFile>
#include <QTest>

namespace {
long residentKilobytes() {
    QFile statm("/proc/self/statm");
    if (!statm.open(QIODevice::ReadOnly))
        return 0;
    return statm.readAll().split(' ').value(1).toLong() * 4;
}
} // namespace

class tst_Soak : public QObject {
    Q_OBJECT
private slots:
    void thirtyDays() {
        WindowFixture f(QTime(12, 0, 0));
        long afterFirstDay = 0;
        for (int day = 0; day < 30; ++day) {
            for (int second = day == 0 ? 43200 : 0; second < 86400; ++second) {
                const auto near = [second](int moment) { return std::abs(second - moment) <= 3; };
                const bool dense = near(0) || near(86399) || near(22 * 3600) || near(48000);
                if (!dense && second % 60 != 0)
                    continue;
                for (int tick = 0; tick < (dense ? 10 : 1); ++tick)
                    f.tickAt(second / 3600, second / 60 % 60, second % 60);
            }
            QCOMPARE(f.window->Variables().DayCount, day);
            QCOMPARE(f.speech.spoken().count("This phrase will be spoken at 10 o clock p m"),
                     day + 1);
            if (day == 0)
                afterFirstDay = residentKilobytes();
        }
        QCOMPARE(f.speech.spoken().count("This phrase will be spoken when the elapsed time is 1 "
                                         "hour and 20 minutes"),
                 1);
        QCOMPARE(f.window->Errors().ErrorCount(), 0);
#ifdef __SANITIZE_ADDRESS__
        QSKIP("AddressSanitizer keeps freed memory in quarantine: resident size means nothing");
#endif
        const long growth = residentKilobytes() - afterFirstDay;
        QVERIFY2(growth < 1024, qPrintable(QString("grew by %1 kB").arg(growth)));
    }
};

QTEST_MAIN(tst_Soak)
#include "tst_soak.moc"
