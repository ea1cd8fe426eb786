#pragma once

#include <QIcon>
#include <QPixmap>

// The window's icon (the alarm clock at 32 and 16 pixels) and its picture (the hourglass,
// 45 x 89), built from pixel data compiled into the program: no file is read and no
// image-format plugin is loaded.
QIcon AlarmClockIcon();
QPixmap HourglassPicture();
