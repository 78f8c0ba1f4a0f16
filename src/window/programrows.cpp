// The editor's operations on the rows the list highlights: cut, copy, paste and moving, each
// one step of the history, the rows that moved or came highlighted and shown.
#include "files/programfile.h"
#include "translator/programchecks.h"
#include "window/programlistview.h"
#include "window/programpanel.h"
#include "window/prompter.h"

#include <QApplication>
#include <QClipboard>
#include <QMimeData>
#include <QTreeWidget>

#include <algorithm>

namespace tql {

std::set<int> ProgramPanel::highlightedRows() const {
    std::set<int> rows;
    for (QTreeWidgetItem* item : m_list->selectedItems()) {
        rows.insert(rowOf(item));
    }
    return rows;
}

void ProgramPanel::highlightRows(const std::set<int>& rows) {
    m_list->clearSelection();
    for (const int row : rows) {
        if (QTreeWidgetItem* item = m_list->topLevelItem(row - 1)) {
            item->setSelected(true);
        }
    }
    if (QTreeWidgetItem* shown = rows.empty() ? nullptr : m_list->topLevelItem(*rows.begin() - 1)) {
        m_list->setCurrentItem(shown, 0, QItemSelectionModel::NoUpdate);
        m_list->scrollToItem(shown);
        m_program.setCurrentRow(*rows.begin());
        setEditButtonsEnabled(true);
    }
}

// The rows as the clipboard and a drag carry them: the program file's lines as text, and
// the same marked as the tool's own rows.
QMimeData* ProgramPanel::rowsData(const std::vector<int>& rows) const {
    std::vector<Row> kept;
    for (const int row : rows) {
        kept.push_back(m_program.row(row));
    }
    auto* data = new QMimeData;
    const QString text = rowsText(kept);
    data->setText(text);
    data->setData(ProgramListView::kRowsMime, text.toUtf8());
    return data;
}

void ProgramPanel::copyRows() {
    const std::set<int> rows = highlightedRows();
    if (!rows.empty()) {
        QApplication::clipboard()->setMimeData(rowsData({rows.begin(), rows.end()}));
    }
}

void ProgramPanel::cutRows() {
    const std::set<int> rows = highlightedRows();
    if (rows.empty()) {
        return;
    }
    copyRows();
    m_program.deleteRows(rows);
    keepChoice(0);
    sayUnpairedRows();
}

void ProgramPanel::pasteRows() {
    const int highlighted = highlightedRow();
    putRows(highlighted == 0 ? m_program.RowCounter() + 1 : highlighted,
            QApplication::clipboard()->mimeData(), tr("剪貼簿的內容不是程式列, 沒有貼上."));
}

// Rows from the clipboard or dropped from elsewhere, put before row `before`; what is no
// rows is refused with `refusal`, nothing changed.
void ProgramPanel::putRows(int before, const QMimeData* data, const QString& refusal) {
    const QString text = data == nullptr ? QString()
                         : data->hasFormat(ProgramListView::kRowsMime)
                             ? QString::fromUtf8(data->data(ProgramListView::kRowsMime))
                             : data->text();
    const std::optional<std::vector<Row>> rows = rowsFromText(text);
    if (!rows) {
        notice(refusal);
        return;
    }
    if (!reportStore(m_program.insertRows(before, *rows))) {
        return;
    }
    std::set<int> pasted;
    for (int row = before; row < before + int(rows->size()); ++row) {
        pasted.insert(row);
    }
    highlightRows(pasted);
    sayUnpairedRows();
}

// The highlighted rows dragged within the list, dropped before row `before`.
void ProgramPanel::moveRowsTo(int before) {
    const std::set<int> rows = highlightedRows();
    if (const std::optional<int> start = m_program.moveRowsTo(rows, before)) {
        std::set<int> moved;
        for (int row = *start; row < *start + int(rows.size()); ++row) {
            moved.insert(row);
        }
        highlightRows(moved);
        sayUnpairedRows();
    }
}

void ProgramPanel::moveRows(int by) {
    const std::set<int> rows = highlightedRows();
    if (rows.empty() || !m_program.moveRows(rows, by)) {
        return;
    }
    std::set<int> moved;
    for (const int row : rows) {
        moved.insert(row + by);
    }
    highlightRows(moved);
    sayUnpairedRows();
}

// Rows cut, pasted, moved or dropped may part a loop from its end or a jump from its label:
// the checks are shown at once when they do.
void ProgramPanel::sayUnpairedRows() {
    const std::vector<Finding> findings = CheckProgram(m_program.table(), m_program.RowCounter());
    if (std::any_of(findings.begin(), findings.end(), [](const Finding& finding) {
            return finding.kind == FindingKind::LoopPairing ||
                   finding.kind == FindingKind::NoSuchLabel ||
                   finding.kind == FindingKind::DuplicateLabel;
        })) {
        checkProgram();
    }
}

}  // namespace tql
