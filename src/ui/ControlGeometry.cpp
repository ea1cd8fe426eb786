#include "ui/ControlGeometry.h"

#include "ui/Twips.h"

#include <QWidget>
#include <algorithm>

namespace geometry {

void SetLeft(QWidget& control, int twips) {
    control.move(twips::ToPixels(twips), control.y());
}

void SetWidth(QWidget& control, int twips) {
    control.resize(twips::ToPixels(twips), control.height());
}

void SetTop(QWidget& control, int units, const VerticalUnit& unit) {
    control.move(control.x(), twips::ToPixels(unit.ToTwips(units)));
}

void SetHeight(QWidget& control, int units, const VerticalUnit& unit) {
    control.resize(control.width(), twips::ToPixels(unit.ToTwips(units)));
}

void Place(QWidget& control, int left, int top, int width, int height) {
    control.setGeometry(twips::ToPixels(left), twips::ToPixels(top), twips::ToPixels(width),
                        twips::ToPixels(height));
}

void SetFontSize(QWidget& control, int points) {
    QFont font = control.font();
    font.setPointSize(points);
    control.setFont(font);
}

QRect KeptOnScreen(QRect client, const QMargins& frame, const QRect& room) {
    const int below = room.bottom() - (client.bottom() + frame.bottom());
    if (below < 0)
        client.moveTop(std::max(room.top() + frame.top(), client.top() + below));
    return client;
}

} // namespace geometry
