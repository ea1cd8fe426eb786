#include "ui/WholeLineEdit.h"

#include "ui/WrappedAccessible.h"

namespace {

class WholeLineEdit final : public WrappedAccessible, public QAccessibleTextInterface {
public:
    WholeLineEdit(QAccessibleInterface* qt, QAccessibleTextInterface* text)
        : WrappedAccessible(qt), text_(text) {}

    void* interface_cast(QAccessible::InterfaceType type) override {
        if (type == QAccessible::TextInterface)
            return static_cast<QAccessibleTextInterface*>(this);
        return qt_->interface_cast(type);
    }

    QString attributes(int offset, int* startOffset, int* endOffset) const override {
        const QString told = text_->attributes(offset, startOffset, endOffset);
        if (told.isEmpty() && *startOffset == *endOffset && offset < characterCount()) {
            *startOffset = 0;
            *endOffset = characterCount();
        }
        return told;
    }

    void selection(int index, int* startOffset, int* endOffset) const override {
        text_->selection(index, startOffset, endOffset);
    }
    int selectionCount() const override { return text_->selectionCount(); }
    void addSelection(int startOffset, int endOffset) override {
        text_->addSelection(startOffset, endOffset);
    }
    void removeSelection(int index) override { text_->removeSelection(index); }
    void setSelection(int index, int startOffset, int endOffset) override {
        text_->setSelection(index, startOffset, endOffset);
    }
    int cursorPosition() const override { return text_->cursorPosition(); }
    void setCursorPosition(int position) override { text_->setCursorPosition(position); }
    QString text(QAccessible::Text t) const override { return qt_->text(t); }
    QString text(int startOffset, int endOffset) const override {
        return text_->text(startOffset, endOffset);
    }
    QString textBeforeOffset(int offset, QAccessible::TextBoundaryType type, int* startOffset,
                             int* endOffset) const override {
        return text_->textBeforeOffset(offset, type, startOffset, endOffset);
    }
    QString textAfterOffset(int offset, QAccessible::TextBoundaryType type, int* startOffset,
                            int* endOffset) const override {
        return text_->textAfterOffset(offset, type, startOffset, endOffset);
    }
    QString textAtOffset(int offset, QAccessible::TextBoundaryType type, int* startOffset,
                         int* endOffset) const override {
        return text_->textAtOffset(offset, type, startOffset, endOffset);
    }
    int characterCount() const override { return text_->characterCount(); }
    QRect characterRect(int offset) const override { return text_->characterRect(offset); }
    int offsetAtPoint(const QPoint& point) const override { return text_->offsetAtPoint(point); }
    void scrollToSubstring(int startIndex, int endIndex) override {
        text_->scrollToSubstring(startIndex, endIndex);
    }

    static QAccessibleInterface* make(const QString& className, QObject* object) {
        if (className != u"QLineEdit")
            return nullptr;
        QAccessibleInterface* qt = QtsOwn(object);
        QAccessibleTextInterface* text = qt ? qt->textInterface() : nullptr;
        return text ? new WholeLineEdit(qt, text) : nullptr;
    }

private:
    QAccessibleTextInterface* const text_; // Qt's, part of qt_
};

} // namespace

void ReadLineEditsWhole() {
    static const bool installed = (QAccessible::installFactory(WholeLineEdit::make), true);
    (void)installed;
}
