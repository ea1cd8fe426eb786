#include "platform/WindowFrame.h"

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
#include <wayland-client.h>
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
    QMargins Around(QWidget& window) override { return drawnByQt(window); }
    void Watch(QWidget&, std::function<void()>) override {}

    static QMargins drawnByQt(QWidget& window) {
        window.winId();
        return window.windowHandle() ? window.windowHandle()->frameMargins() : QMargins();
    }
};

// A Wayland compositor that offers to decorate windows: Qt asks it to for every framed window and
// draws none of its own unless the compositor declines.
class CompositorFrame final : public WindowFrame {
public:
    QMargins Around(QWidget& window) override {
        if (window.windowFlags().testFlag(Qt::FramelessWindowHint))
            return {};
        return CompositorDrawnFrame(QtFrame::drawnByQt(window));
    }
    void Watch(QWidget&, std::function<void()>) override {}
};

constexpr const char* DecorationManager = "zxdg_decoration_manager_v1";

// Whether the compositor's registry lists the xdg-decoration manager. The registry is read on a
// queue of its own, so that none of its events reaches the queue Qt reads.
bool OffersDecorations(wl_display* display) {
    wl_event_queue* queue = wl_display_create_queue(display);
    auto* wrapped = static_cast<wl_display*>(wl_proxy_create_wrapper(display));
    wl_proxy_set_queue(reinterpret_cast<wl_proxy*>(wrapped), queue);
    wl_registry* registry = wl_display_get_registry(wrapped);
    static constexpr wl_registry_listener listener{
        [](void* offered, wl_registry*, uint32_t, const char* interface, uint32_t) {
            if (std::strcmp(interface, DecorationManager) == 0)
                *static_cast<bool*>(offered) = true;
        },
        [](void*, wl_registry*, uint32_t) {}};
    bool offered = false;
    wl_registry_add_listener(registry, &listener, &offered);
    const bool answered = wl_display_roundtrip_queue(display, queue) >= 0;
    wl_registry_destroy(registry);
    wl_proxy_wrapper_destroy(wrapped);
    wl_event_queue_destroy(queue);
    return answered && offered;
}

// Qt's own connection where Qt lends it (6.5 on); before, a connection of our own to the
// compositor Qt connected to, which lists the same globals.
bool CompositorOffersDecorations() {
#if QT_VERSION >= QT_VERSION_CHECK(6, 5, 0) && defined(QT_FEATURE_wayland) && QT_FEATURE_wayland > 0
    if (auto* wayland = qGuiApp->nativeInterface<QNativeInterface::QWaylandApplication>())
        return wayland->display() && OffersDecorations(wayland->display());
    return false;
#else
    wl_display* own = wl_display_connect(nullptr);
    if (!own)
        return false;
    const bool offered = OffersDecorations(own);
    wl_display_disconnect(own);
    return offered;
#endif
}

} // namespace

std::unique_ptr<WindowFrame> MakeDesktopFrame() {
    if (auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>())
        return std::make_unique<X11Frame>(x11->connection());
    if (QGuiApplication::platformName().startsWith(u"wayland") && CompositorOffersDecorations())
        return std::make_unique<CompositorFrame>();
    return std::make_unique<QtFrame>();
}
