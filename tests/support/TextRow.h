#pragma once
// Tables of one column holding a struct: each row named and on one line, read back at once.
#include <QTest>

template <typename Row> void rows(std::initializer_list<std::pair<const char*, Row>> table) {
    QTest::addColumn<Row>("row");
    for (const auto& [name, row] : table)
        QTest::newRow(name) << row;
}

template <typename Row> Row row() {
    QFETCH(Row, row);
    return row;
}
