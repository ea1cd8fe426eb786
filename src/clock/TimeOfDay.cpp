#include "clock/TimeOfDay.h"

#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <ctime>
#include <sys/stat.h>

namespace {
const QString ZoneFile = QStringLiteral("/etc/localtime");

// Which file the zone file is, through its links: another one once it has been replaced.
std::pair<dev_t, ino_t> FileIdentity(const QString& path) {
    struct stat info {};
    if (stat(QFile::encodeName(path).constData(), &info) != 0)
        return {};
    return {info.st_dev, info.st_ino};
}
} // namespace

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
    watched_ = FileIdentity(ZoneFile);
}

void SystemTimeOfDay::followZone() {
    // A file replaced, or a link pointed elsewhere, has left the watch on the old file. It is
    // watched anew before the zone is read, so that no change falls between the two.
    if (FileIdentity(ZoneFile) != watched_ || !watcher_.files().contains(ZoneFile))
        watchZoneFile();
    // The C library reads the zone once; tzset reads it again when the file is another or has
    // changed since.
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
