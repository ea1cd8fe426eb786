#pragma once

#include <QComboBox>
#include <cstdint>
#include <stdexcept>
#include <string>

// The drop-down lists of the window: a list to choose from with a text field that accepts any
// typing. Only choosing an entry counts as a click: from the list, or by Enter on an entry's
// exact text. Typing alone chooses nothing and adds no entry.

class ListIndexError : public std::runtime_error {
public:
    explicit ListIndexError(const std::string& what) : std::runtime_error(what) {}
};

void MakeDropDownList(QComboBox& combo, const QStringList& entries, const QString& text);

// Appends an entry and leaves the selection and the text as they were, even in an empty list
// (where Qt would otherwise select the first entry).
void AddItem(QComboBox& combo, const QString& entry);

// Selects entry `index` or, for -1, none; any other index is refused with ListIndexError.
void SetListIndex(QComboBox& combo, std::int16_t index);
