#include "ui/ComboList.h"

#include <QLineEdit>
#include <QSignalBlocker>

void MakeDropDownList(QComboBox& combo, const QStringList& entries, const QString& text) {
    combo.setEditable(true);
    combo.setInsertPolicy(QComboBox::NoInsert);
    combo.setCompleter(nullptr); // a completer would turn a typed "up" into "Up"
    combo.addItems(entries);
    combo.setEditText(text);
}

void AddItem(QComboBox& combo, const QString& entry) {
    const QSignalBlocker quiet(combo);
    const int index = combo.currentIndex();
    const QString text = combo.currentText();
    combo.addItem(entry);
    if (index == -1 && combo.currentIndex() != -1) { // the first entry selects itself
        combo.setCurrentIndex(-1);
        combo.setEditText(text);
    }
}

void SetListIndex(QComboBox& combo, std::int16_t index) {
    if (index < -1 || index >= combo.count())
        throw ListIndexError("Invalid property value: the list has no entry " +
                             std::to_string(index) + " (it holds " + std::to_string(combo.count()) +
                             ").");
    const QSignalBlocker quiet(combo);
    combo.setCurrentIndex(index);
    if (combo.lineEdit())
        combo.lineEdit()->setCursorPosition(0); // a long name shows its beginning
}
