// The system's clock: an instant and its local time in the zone TZ names, and, with TZ unset, the
// zone of /etc/localtime followed while it is replaced or rewritten, in a mount namespace of the
// test's own where /etc is a folder the test owns.
#include "clock/TimeOfDay.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QTimeZone>
#include <ctime>
#include <fcntl.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
const QString ZoneInfo = QStringLiteral("/usr/share/zoneinfo/");

// Whether the clock reads now as the zone shows it, to the second.
bool readsAs(const SystemTimeOfDay& clock, const char* zone) {
    const LocalMoment now = clock.now();
    const QDateTime local = QDateTime::fromSecsSinceEpoch(now.instant, QTimeZone(zone));
    return now.date == local.date() && now.time.addMSecs(-now.time.msec()) == local.time();
}

// A zone's data written in place, with a later time of change: the C library takes an unchanged
// time for an unchanged zone.
void rewrite(const QString& path, const char* zone) {
    QFile file(path), source(ZoneInfo + zone);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QVERIFY(source.open(QIODevice::ReadOnly));
    file.write(source.readAll());
    file.close();
    static std::time_t changed = std::time(nullptr);
    changed += 60;
    const timespec later[2] = {{changed, 0}, {changed, 0}};
    QVERIFY(utimensat(AT_FDCWD, QFile::encodeName(path), later, 0) == 0);
}
} // namespace

class tst_TimeOfDay : public QObject {
    Q_OBJECT
private slots:
    void instantInTheZoneOfTz_data() {
        QTest::addColumn<QByteArray>("zone");
        for (const char* zone :
             {"UTC", "Europe/Berlin", "America/New_York", "Australia/Sydney", "Asia/Kolkata"})
            QTest::newRow(zone) << QByteArray(zone);
    }
    void instantInTheZoneOfTz() {
        QFETCH(QByteArray, zone);
        const QByteArray before = qgetenv("TZ");
        qputenv("TZ", zone);
        tzset();
        const SystemTimeOfDay clock;
        const qint64 first = QDateTime::currentMSecsSinceEpoch();
        const LocalMoment now = clock.now();
        const qint64 last = QDateTime::currentMSecsSinceEpoch();
        QVERIFY(readsAs(clock, zone.constData()));
        qputenv("TZ", before);
        tzset();
        // Qt may read a coarser clock than the program does: a few milliseconds either side.
        const qint64 read = now.instant * 1000 + now.time.msec();
        QVERIFY2(read >= first - 20 && read <= last + 20,
                 qPrintable(QString::number(read - first)));
    }

    // The zone file rewritten where the link points (as a new release of the zone data does),
    // the link replaced (as the desktop's settings do), and the new link's file rewritten: each
    // read from the next reading on.
    void followsTheSystemZone() {
        if (geteuid() != 0)
            QSKIP("a mount namespace of the test's own needs root");
        if (unshare(CLONE_NEWNS) != 0 || mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr))
            QSKIP("no mount namespace of the test's own here (in a chroot)");
        QTemporaryDir etc, zones;
        const QString link = etc.filePath(QStringLiteral("localtime"));
        const QString first = zones.filePath(QStringLiteral("first"));
        const QString second = zones.filePath(QStringLiteral("second"));
        rewrite(first, "UTC");
        rewrite(second, "America/New_York");
        QVERIFY(QFile::link(first, link));
        QVERIFY(mount(QFile::encodeName(etc.path()), "/etc", nullptr, MS_BIND, nullptr) == 0);
        const QByteArray tz = qgetenv("TZ");
        qunsetenv("TZ");
        const SystemTimeOfDay clock;
        QVERIFY(readsAs(clock, "UTC"));
        rewrite(first, "Asia/Kolkata");
        QTRY_VERIFY(readsAs(clock, "Asia/Kolkata"));
        const QString made = link + QStringLiteral(".new");
        QVERIFY(QFile::link(second, made));
        QVERIFY(std::rename(QFile::encodeName(made), QFile::encodeName(link)) == 0);
        QTRY_VERIFY(readsAs(clock, "America/New_York"));
        rewrite(second, "Australia/Sydney");
        QTRY_VERIFY(readsAs(clock, "Australia/Sydney"));
        qputenv("TZ", tz);
        tzset();
        umount("/etc");
    }
};

QTEST_GUILESS_MAIN(tst_TimeOfDay)
#include "tst_timeofday.moc"
