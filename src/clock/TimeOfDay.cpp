#include "clock/TimeOfDay.h"

#include <QFileInfo>
#include <algorithm>
#include <ctime>

namespace {
const QString ZoneFile = QStringLiteral("/etc/localtime");
}

SystemTimeOfDay::SystemTimeOfDay() {
    // The file for a zone rewritten in place, its folder for a zone file or link replaced, as
    // the desktop's settings do it.
    watcher_.addPath(QFileInfo(ZoneFile).absolutePath());
    watcher_.addPath(ZoneFile);
    QObject::connect(&watcher_, &QFileSystemWatcher::fileChanged, [this] { followZone(); });
    QObject::connect(&watcher_, &QFileSystemWatcher::directoryChanged, [this] { followZone(); });
}

void SystemTimeOfDay::followZone() {
    // The C library reads the zone once; tzset reads it again when the file is another or has
    // changed. A replaced file has taken the watch on the old one with it.
    tzset();
    watcher_.removePath(ZoneFile);
    watcher_.addPath(ZoneFile);
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
