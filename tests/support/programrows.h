#pragma once

#include "program/programtable.h"

#include <QList>

#include <algorithm>

namespace tql::test {

// A program built row by row, as the editor's table holds it (row 0 the header).
struct ProgramRows {
    ProgramTable table = [] {
        ProgramTable t{};
        t[0] = headerRow();
        return t;
    }();
    int rows = 0;

    ProgramRows& add(const Row& row) {
        table[++rows] = row;
        return *this;
    }
};

inline ProgramTable tableOf(const QList<Row>& rows) {
    ProgramTable table{};
    table[0] = headerRow();
    std::copy(rows.begin(), rows.end(), table.begin() + 1);
    return table;
}

}  // namespace tql::test
