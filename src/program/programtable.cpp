#include "program/programtable.h"

#include "program/rowkinds.h"

#include <algorithm>

namespace tql {

bool holdsControlCharacter(QStringView text) {
    return std::any_of(text.begin(), text.end(),
                       [](QChar c) { return c.unicode() < 0x20 || c.unicode() == 0x7f; });
}

bool holdsControlCharacter(const Row& row) {
    return std::any_of(row.begin(), row.end(), [](const QString& cell) {
        return holdsControlCharacter(QStringView(cell));
    });
}

Row headerRow() {
    return {"FUNCTINO", "DATA", "XPOINT", "PS", "PS"};
}

int iconForKeyword(const QString& keyword) {
    const RowKind* kind = rowKind(keyword);
    return kind == nullptr ? 0 : iconOf(*kind);
}

std::vector<int> listIcons(const ProgramTable& table, int rowCounter) {
    std::vector<int> icons;
    int previous = 0;
    for (int i = 1; i <= std::min(rowCounter, kMaxProgramRows); ++i) {
        const int icon = iconForKeyword(table[i][0]);
        previous = icon != 0 ? icon : previous;
        icons.push_back(previous);
    }
    return icons;
}

}  // namespace tql
