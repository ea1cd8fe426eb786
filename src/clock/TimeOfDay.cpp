#include "clock/TimeOfDay.h"

#include <QFileInfo>
#include <algorithm>
#include <ctime>

namespace {
const QString ZoneFile = QStringLiteral("/etc/localtime");
}

SystemTimeOfDay::SystemTimeOfDay() {
    // The file for a zone rewritten in place, its folder for a zone file or link replaced, as
    // the desktop's settings do it. A change comes as several events (emptied, written, its
    // time set): the zone is read once they have settled.
    watcher_.addPath(QFileInfo(ZoneFile).absolutePath());
    watchZoneFile();
    settling_.setSingleShot(true);
    settling_.setInterval(50);
    QObject::connect(&watcher_, &QFileSystemWatcher::fileChanged, &settling_,
                     qOverload<>(&QTimer::start));
    QObject::connect(&watcher_, &QFileSystemWatcher::directoryChanged, &settling_,
                     qOverload<>(&QTimer::start));
    QObject::connect(&settling_, &QTimer::timeout, [this] { followZone(); });
}

void SystemTimeOfDay::watchZoneFile() {
    watcher_.removePath(ZoneFile);
    watcher_.addPath(ZoneFile);
}

void SystemTimeOfDay::followZone() {
    // A file replaced, or a link pointed elsewhere, has left the watch on the old file: it is
    // watched anew before the zone is read, so that no change falls between the two. The C
    // library reads the zone once; tzset reads it again when the file is another or has changed.
    watchZoneFile();
    tzset();
}

LocalMoment SystemTimeOfDay::now() const {
    // Ten times a second: the C library's conversion is much cheaper than QDateTime's.
    timespec realtime{};
    clock_gettime(CLOCK_REALTIME, &realtime);
    tm local{};
    localtime_r(&realtime.tv_sec, &local);
    return {QDate(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday),
            QTime(local.tm_hour, local.tm_min, std::min(local.tm_sec, 59),
                  static_cast<int>(realtime.tv_nsec / 1'000'000)),
            realtime.tv_sec};
}
