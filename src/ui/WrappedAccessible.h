#pragma once

#include <QAccessible>
#include <QAccessibleInterface>

// What Qt tells the desktop's accessibility bus about a widget, with a part of it said otherwise:
// everything not overridden is Qt's own answer.
class WrappedAccessible : public QAccessibleInterface {
public:
    explicit WrappedAccessible(QAccessibleInterface* qt) : qt_(qt) {}

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
    QString text(QAccessible::Text t) const override { return qt_->text(t); }
    void setText(QAccessible::Text t, const QString& text) override { qt_->setText(t, text); }
    QRect rect() const override { return qt_->rect(); }
    QAccessible::Role role() const override { return qt_->role(); }
    QAccessible::State state() const override { return qt_->state(); }
    void* interface_cast(QAccessible::InterfaceType type) override {
        return qt_->interface_cast(type);
    }

protected:
    // Qt's own interface for the object, which a factory then wraps; null while it is asked, so
    // that Qt's answer is its own.
    static QAccessibleInterface* QtsOwn(QObject* object);

    QAccessibleInterface* const qt_; // owned by Qt's cache, like this one
};
