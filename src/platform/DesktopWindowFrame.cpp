#include "WindowFrame.h"

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QThread>
#include <QWidget>
#include <QWindow>
#include <QtGui/qguiapplication_platform.h>
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <vector>
#include <xcb/xcb.h>

namespace {

// Qt's own decorations (Wayland) or the frame Qt has learned of a shown window.
QMargins qtMargins(QWidget& window) {
    window.winId();
    return window.windowHandle() ? window.windowHandle()->frameMargins() : QMargins();
}

class X11Frame final : public WindowFrame {
public:
    explicit X11Frame(xcb_connection_t* connection) : connection_(connection) {}

    // Asked once: the window manager keeps its frame, and Qt learns it only some time after the
    // window is mapped.
    QMargins Around(QWidget& window) override {
        if (!asked_)
            asked_ = ask(window);
        return *asked_;
    }

private:
    xcb_atom_t atom(const char* name) {
        const auto cookie =
            xcb_intern_atom(connection_, 0, static_cast<uint16_t>(strlen(name)), name);
        xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(connection_, cookie, nullptr);
        const xcb_atom_t found = reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
        free(reply);
        return found;
    }

    std::vector<uint32_t> property(xcb_window_t window, xcb_atom_t name, xcb_atom_t type) {
        const auto cookie = xcb_get_property(connection_, 0, window, name, type, 0, 4096);
        xcb_get_property_reply_t* reply = xcb_get_property_reply(connection_, cookie, nullptr);
        std::vector<uint32_t> values;
        if (reply && reply->format == 32) {
            const auto* data = static_cast<const uint32_t*>(xcb_get_property_value(reply));
            values.assign(data, data + xcb_get_property_value_length(reply) / 4);
        }
        free(reply);
        return values;
    }

    // A window manager that supports it answers the request by setting _NET_FRAME_EXTENTS on the
    // unmapped window; without a window manager no frame will be drawn.
    QMargins ask(QWidget& window) {
        const auto handle = static_cast<xcb_window_t>(window.winId());
        const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(connection_)).data->root;
        const xcb_atom_t request = atom("_NET_REQUEST_FRAME_EXTENTS");
        const auto supported = property(root, atom("_NET_SUPPORTED"), XCB_ATOM_ATOM);
        if (std::find(supported.begin(), supported.end(), request) == supported.end())
            return {};
        xcb_client_message_event_t event{};
        event.response_type = XCB_CLIENT_MESSAGE;
        event.format = 32;
        event.window = handle;
        event.type = request;
        xcb_send_event(connection_, 0, root,
                       XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY | XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT,
                       reinterpret_cast<const char*>(&event));
        xcb_flush(connection_);
        const xcb_atom_t extents = atom("_NET_FRAME_EXTENTS");
        QElapsedTimer waited;
        waited.start();
        while (waited.elapsed() < 2000) {
            const auto found = property(handle, extents, XCB_ATOM_CARDINAL);
            if (found.size() == 4) {
                const double ratio = window.devicePixelRatioF();
                const auto logical = [ratio](uint32_t v) { return int(std::lround(v / ratio)); };
                return {logical(found[0]), logical(found[2]), logical(found[1]), logical(found[3])};
            }
            QThread::msleep(5);
        }
        return {};
    }

    xcb_connection_t* connection_;
    std::optional<QMargins> asked_;
};

class QtFrame final : public WindowFrame {
public:
    QMargins Around(QWidget& window) override { return qtMargins(window); }
};

} // namespace

std::unique_ptr<WindowFrame> MakeDesktopFrame() {
    if (auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>())
        return std::make_unique<X11Frame>(x11->connection());
    return std::make_unique<QtFrame>();
}
