#include "WindowFrame.h"

#include <QAbstractNativeEventFilter>
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
#include <iterator>
#include <vector>
#include <xcb/xcb.h>

namespace {

// A window manager answers a frame request at once; one that does not is measured at map instead.
constexpr int RequestWaitMilliseconds = 200;

class X11Frame final : public WindowFrame, private QAbstractNativeEventFilter {
public:
    explicit X11Frame(xcb_connection_t* connection)
        : connection_(connection),
          root_(xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root) {
        // All asked at once: one round trip to the X server instead of four.
        const char* names[] = {"_NET_SUPPORTED", "_NET_SUPPORTING_WM_CHECK",
                               "_NET_REQUEST_FRAME_EXTENTS", "_NET_FRAME_EXTENTS"};
        xcb_intern_atom_cookie_t cookies[std::size(names)];
        for (std::size_t i = 0; i < std::size(names); ++i)
            cookies[i] = xcb_intern_atom(connection_, 0, uint16_t(strlen(names[i])), names[i]);
        xcb_atom_t* atoms[] = {&supported_, &check_, &request_, &extents_};
        for (std::size_t i = 0; i < std::size(names); ++i) {
            xcb_intern_atom_reply_t* reply =
                xcb_intern_atom_reply(connection_, cookies[i], nullptr);
            *atoms[i] = reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
            free(reply);
        }
    }

    ~X11Frame() override {
        if (watching_)
            qGuiApp->removeNativeEventFilter(this);
    }

    // Read afresh each time, so that a frame told late, or a window manager that has gone, counts.
    QMargins Around(QWidget& window) override {
        if (!windowManagerIsAlive())
            return {};
        const auto handle = static_cast<xcb_window_t>(window.winId());
        auto found = property(handle, extents_, XCB_ATOM_CARDINAL);
        if (found.size() != 4 && !window.isVisible() && !requested_ && advertisesRequest()) {
            requested_ = true;
            found = request(handle);
        }
        if (found.size() != 4)
            return {};
        const double ratio = window.devicePixelRatioF();
        const auto logical = [ratio](uint32_t v) { return int(std::lround(v / ratio)); };
        return {logical(found[0]), logical(found[2]), logical(found[1]), logical(found[3])};
    }

    void Watch(QWidget& window, std::function<void()> changed) override {
        window_ = &window;
        changed_ = std::move(changed);
        if (!watching_)
            qGuiApp->installNativeEventFilter(this);
        watching_ = true;
    }

private:
    // A window manager sets its extents on the window, or takes it into a frame of its own (or
    // drops it, as it goes away).
    bool nativeEventFilter(const QByteArray&, void* message, qintptr*) override {
        const auto* event = static_cast<const xcb_generic_event_t*>(message);
        const xcb_window_t handle = window_ ? xcb_window_t(window_->internalWinId()) : 0;
        bool frameMoved = false;
        switch (event->response_type & ~0x80) {
        case XCB_PROPERTY_NOTIFY: {
            const auto* notify = reinterpret_cast<const xcb_property_notify_event_t*>(event);
            frameMoved = notify->window == handle && notify->atom == extents_;
            break;
        }
        case XCB_REPARENT_NOTIFY:
            frameMoved =
                reinterpret_cast<const xcb_reparent_notify_event_t*>(event)->window == handle;
            break;
        default:
            break;
        }
        if (frameMoved && handle)
            QMetaObject::invokeMethod(window_, changed_, Qt::QueuedConnection);
        return false;
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

    // A window manager that has gone leaves its properties on the root window; its check window,
    // which names itself, goes with it.
    bool windowManagerIsAlive() {
        const auto named = property(root_, check_, XCB_ATOM_WINDOW);
        return named.size() == 1 && property(named[0], check_, XCB_ATOM_WINDOW) == named;
    }

    bool advertisesRequest() {
        const auto supported = property(root_, supported_, XCB_ATOM_ATOM);
        return std::find(supported.begin(), supported.end(), request_) != supported.end();
    }

    // The answer is _NET_FRAME_EXTENTS set on the still unmapped window.
    std::vector<uint32_t> request(xcb_window_t handle) {
        xcb_client_message_event_t event{};
        event.response_type = XCB_CLIENT_MESSAGE;
        event.format = 32;
        event.window = handle;
        event.type = request_;
        xcb_send_event(connection_, 0, root_,
                       XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY | XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT,
                       reinterpret_cast<const char*>(&event));
        xcb_flush(connection_);
        QElapsedTimer waited;
        waited.start();
        std::vector<uint32_t> found;
        while ((found = property(handle, extents_, XCB_ATOM_CARDINAL)).size() != 4 &&
               waited.elapsed() < RequestWaitMilliseconds)
            QThread::msleep(5);
        return found;
    }

    xcb_connection_t* connection_;
    xcb_window_t root_;
    xcb_atom_t supported_ = XCB_ATOM_NONE, check_ = XCB_ATOM_NONE, request_ = XCB_ATOM_NONE,
               extents_ = XCB_ATOM_NONE;
    bool requested_ = false;
    bool watching_ = false;
    QWidget* window_ = nullptr;
    std::function<void()> changed_;
};

// Qt's own decorations (Wayland), known once the window exists.
class QtFrame final : public WindowFrame {
public:
    QMargins Around(QWidget& window) override {
        window.winId();
        return window.windowHandle() ? window.windowHandle()->frameMargins() : QMargins();
    }
    void Watch(QWidget&, std::function<void()>) override {}
};

} // namespace

std::unique_ptr<WindowFrame> MakeDesktopFrame() {
    if (auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>())
        return std::make_unique<X11Frame>(x11->connection());
    return std::make_unique<QtFrame>();
}
