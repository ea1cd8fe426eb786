#include "Pictures.h"

#include "pictures.xpm"

QIcon AlarmClockIcon() {
    QIcon icon;
    icon.addPixmap(QPixmap(alarm_clock_32));
    icon.addPixmap(QPixmap(alarm_clock_16));
    return icon;
}

QPixmap HourglassPicture() {
    return QPixmap(hourglass);
}
