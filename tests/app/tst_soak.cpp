// Thirty days of running through the settable clock: ten ticks a second wherever the second
// matters (around midnight and the rows' times), one a minute elsewhere.
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

bool nearOneOf(int second, std::initializer_list<int> moments) {
    for (int moment : moments)
        if (std::abs(second - moment) <= 3)
            return true;
    return false;
}

} // namespace

class tst_Soak : public QObject {
    Q_OBJECT
private slots:
    void thirtyDays() {
        WindowFixture f(QTime(12, 0, 0));
        const QString nightly = "This phrase will be spoken at 10 o clock p m";
        long afterFirstDay = 0;
        std::int32_t lastNow = 0;
        for (int day = 0; day < 30; ++day) {
            for (int second = day == 0 ? 43200 : 0; second < 86400; ++second) {
                const bool dense = nearOneOf(second, {0, 79200, 86399, 43200 + 4800});
                if (!dense && second % 60 != 0)
                    continue;
                for (int tick = 0; tick < (dense ? 10 : 1); ++tick) {
                    f.tickAt(second / 3600, second / 60 % 60, second % 60, day);
                    QVERIFY(f.window->Variables().NowSeconds >= lastNow);
                    lastNow = f.window->Variables().NowSeconds;
                }
            }
            QCOMPARE(f.window->Variables().DayCount, day);
            QCOMPARE(f.speech.spoken().count(nightly), day + 1);
            if (day == 0)
                afterFirstDay = residentKilobytes();
        }
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
