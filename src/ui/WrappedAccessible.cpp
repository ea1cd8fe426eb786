#include "ui/WrappedAccessible.h"

namespace {
bool askingQt = false;
}

QAccessibleInterface* WrappedAccessible::QtsOwn(QObject* object) {
    if (askingQt)
        return nullptr;
    askingQt = true;
    QAccessibleInterface* qt = QAccessible::queryAccessibleInterface(object);
    askingQt = false;
    return qt;
}
