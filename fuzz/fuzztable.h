#pragma once

#include "program/programtable.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <QString>

// A program table made of fuzz input: a row count, then the cells as UTF-8 strings.
namespace tql::fuzz {

struct FuzzedTable {
    ProgramTable table{};
    int RowCounter = 0;
};

inline FuzzedTable fuzzedTable(FuzzedDataProvider& data) {
    FuzzedTable t;
    t.RowCounter = data.ConsumeIntegralInRange(0, kMaxProgramRows);
    for (int i = 0; i <= t.RowCounter && data.remaining_bytes() > 0; ++i) {
        for (QString& cell : t.table[i]) {
            cell = QString::fromStdString(data.ConsumeRandomLengthString(24));
        }
    }
    return t;
}

}  // namespace tql::fuzz
