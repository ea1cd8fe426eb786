#pragma once

#include <QObject>
#include <QTimer>

// Stops the text cursor blinking after a while without input, as desktops commonly do, and lets
// it blink again at the next key or click. A clock stays on screen for hours with the focus in
// some box, and a blinking cursor would repaint it twice a second all that time.
class CursorBlinkTimeout final : public QObject {
public:
    explicit CursorBlinkTimeout(int timeoutMilliseconds, QObject* parent = nullptr);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void stopBlinking();

    QTimer idle_;
    int flashTime_ = 0; // the desktop's own, while the blinking is stopped
};
