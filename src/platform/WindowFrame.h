#pragma once

#include <QMargins>
#include <memory>

class QWidget;

// The title bar and border the desktop draws around a top-level window, in logical pixels.
class WindowFrame {
public:
    virtual ~WindowFrame() = default;
    // Empty where nothing draws a frame (a bare X server), or where the desktop tells it only once
    // the window is shown.
    virtual QMargins Around(QWidget& window) = 0;
};

// The X11 window manager's answer, asked before the window is mapped; elsewhere what Qt knows.
std::unique_ptr<WindowFrame> MakeDesktopFrame();
