#include "platform/DesktopScreenReader.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVariant>
#include <QObject>
#include <QVariantMap>

namespace {

const QString Service = QStringLiteral("org.a11y.Bus");
const QString Path = QStringLiteral("/org/a11y/bus");
const QString Properties = QStringLiteral("org.freedesktop.DBus.Properties");
const QString Status = QStringLiteral("org.a11y.Status");
const QString Enabled = QStringLiteral("ScreenReaderEnabled");

} // namespace

// Lives on the event thread, where the bus delivers the first reading and every change.
class ScreenReaderListener final : public QObject {
    Q_OBJECT
public:
    bool on = false;
    std::function<void()> changed;

public slots:
    void read(const QDBusMessage& reply) {
        if (!toldChange_) // a change that came first is the newer value
            set(reply.arguments().value(0).value<QDBusVariant>().variant().toBool());
    }
    void propertiesChanged(const QString& interface, const QVariantMap& values,
                           const QStringList&) {
        if (interface != Status || !values.contains(Enabled))
            return;
        toldChange_ = true;
        set(values.value(Enabled).toBool());
    }

private:
    void set(bool now) {
        if (now == on)
            return;
        on = now;
        if (changed)
            changed();
    }

    bool toldChange_ = false;
};

DesktopScreenReader::DesktopScreenReader() : listener_(std::make_unique<ScreenReaderListener>()) {
    std::packaged_task<void()> connect([listener = listener_.get()] {
        QDBusConnection bus = QDBusConnection::sessionBus();
        if (!bus.isConnected())
            return;
        bus.connect(Service, Path, Properties, QStringLiteral("PropertiesChanged"), listener,
                    SLOT(propertiesChanged(QString, QVariantMap, QStringList)));
        QDBusMessage get =
            QDBusMessage::createMethodCall(Service, Path, Properties, QStringLiteral("Get"));
        get << Status << Enabled;
        // An error (no such service) calls nothing: the reader stays off.
        bus.callWithCallback(get, listener, SLOT(read(QDBusMessage)));
    });
    connected_ = connect.get_future();
    thread_ = std::thread(std::move(connect));
}

DesktopScreenReader::~DesktopScreenReader() {
    if (connected_.wait_for(std::chrono::seconds(1)) == std::future_status::ready) {
        thread_.join();
        return;
    }
    // Held by a bus that hangs: the thread ends with the program, and the listener stays for it.
    thread_.detach();
    static_cast<void>(listener_.release());
}

bool DesktopScreenReader::IsOn() const {
    return listener_->on;
}

void DesktopScreenReader::Watch(std::function<void()> changed) {
    listener_->changed = std::move(changed);
}

#include "DesktopScreenReader.moc"
