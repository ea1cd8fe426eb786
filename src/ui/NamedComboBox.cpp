#include "ui/NamedComboBox.h"

#include "ui/WrappedAccessible.h"

#include <QComboBox>

namespace {

class NamedComboBox final : public WrappedAccessible {
public:
    using WrappedAccessible::WrappedAccessible;

    QString text(QAccessible::Text t) const override {
        const QString name = static_cast<QComboBox*>(qt_->object())->accessibleName();
        return t == QAccessible::Name && !name.isEmpty() ? name : qt_->text(t);
    }

    static QAccessibleInterface* make(const QString& className, QObject* object) {
        if (className != u"QComboBox")
            return nullptr;
        QAccessibleInterface* qt = QtsOwn(object);
        return qt ? new NamedComboBox(qt) : nullptr;
    }
};

} // namespace

void AnnounceComboBoxesByName() {
    static const bool installed = (QAccessible::installFactory(NamedComboBox::make), true);
    (void)installed;
}
