// The editor's operations on the rows the list highlights: cut, copy, paste and moving, each
// one step of the history, the rows that moved or came highlighted and shown.
#include "files/programfile.h"
#include "window/programpanel.h"
#include "window/prompter.h"

#include <QApplication>
#include <QClipboard>
#include <QMimeData>
#include <QTreeWidget>

namespace tql {
namespace {

// The tool's own rows on the clipboard: the same text, marked as rows.
const QString kRowsMime = QStringLiteral("application/x-tql400-rows");

}  // namespace

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

void ProgramPanel::copyRows() {
    std::vector<Row> rows;
    for (const int row : highlightedRows()) {
        rows.push_back(m_program.row(row));
    }
    if (rows.empty()) {
        return;
    }
    auto* data = new QMimeData;
    const QString text = rowsText(rows);
    data->setText(text);
    data->setData(kRowsMime, text.toUtf8());
    QApplication::clipboard()->setMimeData(data);
}

void ProgramPanel::cutRows() {
    const std::set<int> rows = highlightedRows();
    if (rows.empty()) {
        return;
    }
    copyRows();
    m_program.deleteRows(rows);
    keepChoice(0);
}

void ProgramPanel::pasteRows() {
    const QMimeData* data = QApplication::clipboard()->mimeData();
    const QString text = data == nullptr              ? QString()
                         : data->hasFormat(kRowsMime) ? QString::fromUtf8(data->data(kRowsMime))
                                                      : data->text();
    const std::optional<std::vector<Row>> rows = rowsFromText(text);
    if (!rows) {
        notice(tr("剪貼簿的內容不是程式列, 沒有貼上."));
        return;
    }
    const int highlighted = highlightedRow();
    const int before = highlighted == 0 ? m_program.RowCounter() + 1 : highlighted;
    if (!reportStore(m_program.insertRows(before, *rows))) {
        return;
    }
    std::set<int> pasted;
    for (int row = before; row < before + int(rows->size()); ++row) {
        pasted.insert(row);
    }
    highlightRows(pasted);
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
}

}  // namespace tql
