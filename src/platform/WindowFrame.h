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

// The frame the window is designed for: title bar and border together, in twips.
constexpr int DesignFrameTwips = 480;

// The frame of a window on a Wayland compositor that decorates windows itself (a server-side
// decoration): no protocol tells a client its size, so it is the design's frame, taken as a title
// bar. Where Qt has drawn a decoration of its own after all (the compositor left it to the
// client), that decoration, which Qt knows.
QMargins CompositorDrawnFrame(const QMargins& drawnByQt);

// The session's frame source: the X11 window manager's answer, asked before the window is mapped
// and followed after; on Wayland the compositor's frame where it offers to draw one (its registry
// lists the xdg-decoration manager, which Qt then asks to decorate the window), else Qt's own
// decoration; elsewhere what Qt knows.
std::unique_ptr<WindowFrame> MakeDesktopFrame();
