#include "NamedComboBox.h"

#include <QAccessible>
#include <QComboBox>

namespace {

bool askingQt = false;

class NamedComboBox final : public QAccessibleInterface {
public:
    explicit NamedComboBox(QAccessibleInterface* qt) : qt_(qt) {}

    QString text(QAccessible::Text t) const override {
        const QString name = static_cast<QComboBox*>(qt_->object())->accessibleName();
        return t == QAccessible::Name && !name.isEmpty() ? name : qt_->text(t);
    }

    bool isValid() const override { return qt_->isValid(); }
    QObject* object() const override { return qt_->object(); }
    QWindow* window() const override { return qt_->window(); }
    QList<QPair<QAccessibleInterface*, QAccessible::Relation>>
    relations(QAccessible::Relation match) const override {
        return qt_->relations(match);
    }
    QAccessibleInterface* focusChild() const override { return qt_->focusChild(); }
    QAccessibleInterface* childAt(int x, int y) const override { return qt_->childAt(x, y); }
    QAccessibleInterface* parent() const override { return qt_->parent(); }
    QAccessibleInterface* child(int index) const override { return qt_->child(index); }
    int childCount() const override { return qt_->childCount(); }
    int indexOfChild(const QAccessibleInterface* child) const override {
        return qt_->indexOfChild(child);
    }
    void setText(QAccessible::Text t, const QString& text) override { qt_->setText(t, text); }
    QRect rect() const override { return qt_->rect(); }
    QAccessible::Role role() const override { return qt_->role(); }
    QAccessible::State state() const override { return qt_->state(); }
    void* interface_cast(QAccessible::InterfaceType type) override {
        return qt_->interface_cast(type);
    }

private:
    QAccessibleInterface* qt_; // owned by Qt's cache, like this one
};

QAccessibleInterface* named(const QString& className, QObject* object) {
    if (askingQt || className != u"QComboBox")
        return nullptr;
    askingQt = true;
    QAccessibleInterface* qt = QAccessible::queryAccessibleInterface(object);
    askingQt = false;
    return qt ? new NamedComboBox(qt) : nullptr;
}

} // namespace

void AnnounceComboBoxesByName() {
    static const bool installed = (QAccessible::installFactory(named), true);
    (void)installed;
}
