// The editor's operations on several rows at once: delete, paste, move. Each replaces one
// stretch of the table in one step of the history, the breakpoints going with their rows.
#include "program/program.h"

#include <algorithm>

namespace tql {
namespace {

// The rows chosen that are program rows.
std::set<int> programRows(const std::set<int>& rows, int rowCounter) {
    std::set<int> chosen;
    for (const int row : rows) {
        if (row >= 1 && row <= rowCounter) {
            chosen.insert(row);
        }
    }
    return chosen;
}

}  // namespace

bool Program::deleteRows(const std::set<int>& rows) {
    const std::set<int> chosen = programRows(rows, m_rowCounter);
    if (chosen.empty()) {
        return false;
    }
    Change change;
    change.at = *chosen.begin();
    for (int row = change.at; row <= *chosen.rbegin(); ++row) {
        change.before.push_back(m_table[size_t(row)]);
        if (!chosen.contains(row)) {
            if (m_breakpoints.contains(row)) {
                change.marksAfter.insert(int(change.after.size()));
            }
            change.after.push_back(m_table[size_t(row)]);
        }
    }
    ClearEditModes();  // an armed insert or modify would land on other rows now
    commit(std::move(change),
           chosen.size() == 1 ? tr("刪除一列") : tr("刪除 %1 列").arg(chosen.size()));
    return true;
}

StoreOutcome Program::insertRows(int before, const std::vector<Row>& rows) {
    if (rows.empty() || before < 1 || before > m_rowCounter + 1) {
        return StoreOutcome::NoSuchRow;
    }
    if (m_rowCounter + int(rows.size()) > kMaxProgramRows) {
        return StoreOutcome::TableFull;
    }
    if (std::any_of(rows.begin(), rows.end(),
                    [](const Row& row) { return holdsControlCharacter(row); })) {
        return StoreOutcome::ControlCharacter;
    }
    Change change;
    change.at = before;
    change.after = rows;
    ClearEditModes();
    commit(std::move(change), tr("貼上 %1 列").arg(rows.size()));
    return StoreOutcome::Stored;
}

// Each row chosen passes the one beside it, so rows apart stay apart.
bool Program::moveRows(const std::set<int>& rows, int by) {
    const std::set<int> chosen = programRows(rows, m_rowCounter);
    if (chosen.empty() || chosen.size() != rows.size() || (by != -1 && by != 1)) {
        return false;
    }
    if ((by < 0 && *chosen.begin() == 1) || (by > 0 && *chosen.rbegin() == m_rowCounter)) {
        return false;
    }
    const int first = by < 0 ? *chosen.begin() - 1 : *chosen.begin();
    const int last = by < 0 ? *chosen.rbegin() : *chosen.rbegin() + 1;
    std::vector<int> order;
    for (int row = first; row <= last; ++row) {
        order.push_back(row);
    }
    const auto swapWithNeighbour = [&](int row) {
        std::swap(order[size_t(row - first)], order[size_t(row - first + by)]);
    };
    if (by < 0) {
        std::for_each(chosen.begin(), chosen.end(), swapWithNeighbour);
    } else {
        std::for_each(chosen.rbegin(), chosen.rend(), swapWithNeighbour);
    }
    return reorder(first, order, chosen.size());
}

std::optional<int> Program::moveRowsTo(const std::set<int>& rows, int before) {
    const std::set<int> chosen = programRows(rows, m_rowCounter);
    if (chosen.empty() || chosen.size() != rows.size() || before < 1 || before > m_rowCounter + 1) {
        return std::nullopt;
    }
    const int first = std::min(*chosen.begin(), before);
    const int last = std::max(*chosen.rbegin(), before - 1);
    std::vector<int> order;
    std::vector<int> moving;
    for (int row = first; row <= last; ++row) {
        (chosen.contains(row) ? moving : order).push_back(row);
    }
    const auto at =
        std::find_if(order.begin(), order.end(), [&](int row) { return row >= before; });
    const int start = first + int(at - order.begin());
    order.insert(at, moving.begin(), moving.end());
    if (!reorder(first, order, chosen.size())) {
        return std::nullopt;
    }
    return start;
}

// The rows from `first` on in the order given (each the row that comes there), as one step.
bool Program::reorder(int first, const std::vector<int>& order, size_t moving) {
    Change change;
    change.at = first;
    bool moved = false;
    for (int row = first; row < first + int(order.size()); ++row) {
        const int from = order[size_t(row - first)];
        moved = moved || from != row;
        change.before.push_back(m_table[size_t(row)]);
        change.after.push_back(m_table[size_t(from)]);
        if (m_breakpoints.contains(from)) {
            change.marksAfter.insert(row - first);
        }
    }
    if (!moved) {
        return false;
    }
    ClearEditModes();
    commit(std::move(change), moving == 1 ? tr("移動一列") : tr("移動 %1 列").arg(moving));
    return true;
}

}  // namespace tql
