#pragma once
// Tables whose columns are all texts: the columns named at once, and each row on one line.
#include <QTest>

inline void textColumns(std::initializer_list<const char*> names) {
    for (const char* name : names)
        QTest::addColumn<QString>(name);
}

template <typename... Texts>
void textRow(const char* name, const Texts&... texts) {
    (QTest::newRow(name) << ... << QString(texts));
}
