#pragma once

#include <QMargins>
#include <functional>
#include <memory>

class QWidget;

// The title bar and border the desktop draws around a top-level window, in logical pixels.
class WindowFrame {
public:
    virtual ~WindowFrame() = default;
    // The frame as the desktop tells it now: empty where nothing draws one (a bare X server, a
    // window manager that has gone), or where the desktop has not told it yet.
    virtual QMargins Around(QWidget& window) = 0;
    // From now on `changed` runs on the event thread whenever the desktop may have told another
    // frame: a window manager that frames the window only at map, starts late or is replaced.
    virtual void Watch(QWidget& window, std::function<void()> changed) = 0;
};

// The X11 window manager's answer, asked before the window is mapped and followed after; elsewhere
// what Qt knows.
std::unique_ptr<WindowFrame> MakeDesktopFrame();
