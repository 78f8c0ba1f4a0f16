// The program list of the editor: built, rebuilt from the program (show_it), its marks
// (the armed row, the executing row, breakpoints), the highlighted row the edit buttons act
// on, and the findings of 檢查程式 under it.
#include "window/programpanel.h"

#include "translator/programchecks.h"
#include "window/controls.h"
#include "window/programlistview.h"
#include "window/rowcaptions.h"
#include "window/rowicons.h"
#include "window/rowmarks.h"

#include <QAction>
#include <QListWidget>
#include <QMimeData>
#include <QPushButton>
#include <QShortcut>
#include <QTabWidget>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <utility>

namespace tql {

// Of several rows highlighted, the one the list's cursor stands on.
QTreeWidgetItem* ProgramPanel::highlightedItem() const {
    if (QTreeWidgetItem* current = m_list->currentItem();
        current != nullptr && current->isSelected()) {
        return current;
    }
    const QList<QTreeWidgetItem*> chosen = m_list->selectedItems();
    return chosen.isEmpty() ? nullptr : chosen.front();
}

// The list shows rows 1..RowCounter in order: an item's place is its row.
int ProgramPanel::rowOf(QTreeWidgetItem* item) const {
    return item == nullptr ? 0 : m_list->indexOfTopLevelItem(item) + 1;
}

int ProgramPanel::highlightedRow() const {
    return rowOf(highlightedItem());
}

// Undo and redo keep the operator's choice where it still stands and invent none: the edit
// buttons act on the row the list highlights, or wait for the operator to choose one.
void ProgramPanel::keepChoice(int highlighted) {
    const QSignalBlocker keeping(m_list);
    if (highlighted >= 1 && highlighted <= m_program.RowCounter()) {
        m_list->setCurrentItem(m_list->topLevelItem(highlighted - 1));
        m_program.setCurrentRow(highlighted);
    } else {
        m_list->clearSelection();
        m_program.setCurrentRow(0);
        setEditButtonsEnabled(false);
    }
}

void ProgramPanel::refreshFindings() {
    if (!m_findings->isHidden()) {
        checkProgram();
    }
}

void ProgramPanel::checkProgram() {
    m_findings->clear();
    const std::vector<Finding> findings = CheckProgram(m_program.table(), m_program.RowCounter());
    for (const Finding& finding : findings) {
        auto* item = new QListWidgetItem(formatFinding(finding), m_findings);
        item->setData(Qt::UserRole, finding.row);
        item->setForeground(finding.severity == Severity::Error ? kErrorColour : kWarningColour);
    }
    if (findings.empty()) {
        new QListWidgetItem(tr("檢查完成: 沒有錯誤或警告."), m_findings);
    }
    m_findings->show();
}

void ProgramPanel::selectRow(int row) {
    if (QTreeWidgetItem* target = m_list->topLevelItem(row - 1); target != nullptr && row > 0) {
        m_list->setCurrentItem(target);  // highlighted: CurrentRow is set as by a click
        m_list->setFocus();
    }
}

void ProgramPanel::paintRows() {
    for (int row = 1; row <= m_list->topLevelItemCount(); ++row) {
        paintRow(row);
    }
}

// The armed insert's or modify's row bold on yellow, the row the dry run executes on green
// with its arrow, the machine's on blue (red where it parted from the program), a
// breakpoint's dot.
void ProgramPanel::paintRow(int row) {
    QTreeWidgetItem* item = row > 0 ? m_list->topLevelItem(row - 1) : nullptr;
    if (item == nullptr) {
        return;
    }
    const int armed = armedRow();
    QFont font = item->font(0);
    font.setBold(row == armed);
    const MachineMark machine = row == m_machineRow ? m_machineMark : MachineMark::None;
    const QBrush background = row == m_executingRow             ? QBrush(QColor(190, 235, 190))
                              : machine == MachineMark::Running ? QBrush(QColor(200, 220, 250))
                              : machine == MachineMark::Parted  ? QBrush(QColor(250, 200, 200))
                              : row == armed                    ? QBrush(QColor(255, 236, 170))
                                                                : QBrush();
    for (int c = 0; c < m_list->columnCount(); ++c) {
        item->setFont(c, font);
        item->setBackground(c, background);
    }
    item->setData(0, kBreakpointRole, m_program.breakpoints().contains(row));
    item->setData(0, kExecutingRole, row == m_executingRow);
    item->setData(0, kMachineRole, int(machine));
}

void ProgramPanel::showExecuting(int row) {
    moveMark(std::exchange(m_executingRow, row), row);
}

void ProgramPanel::showMachineRow(int row, MachineMark mark) {
    m_machineMark = mark;
    moveMark(std::exchange(m_machineRow, row), row);
}

// A step changes the marks of two rows at most: only those are painted again, so a step
// costs the same in a long program as in a short one.
void ProgramPanel::moveMark(int from, int to) {
    paintRow(from);
    paintRow(to);
    if (QTreeWidgetItem* item = m_list->topLevelItem(to - 1); item != nullptr && to > 0) {
        m_list->scrollToItem(item);
    }
}

// Only the row the list highlights: with none, F9 chooses nothing for the operator.
void ProgramPanel::toggleBreakpoint() {
    m_program.toggleBreakpoint(highlightedRow());
}

void ProgramPanel::buildListTab(QWidget* client) {
    m_listTab = new QTabWidget(client);
    m_listTab->setObjectName(QStringLiteral("SSTab1"));
    auto* listPage = new QWidget;
    auto* listLayout = new QVBoxLayout(listPage);
    listLayout->setContentsMargins(0, 0, 0, 0);
    listLayout->setSpacing(2);
    auto* list =
        new ProgramListView([this](const std::vector<int>& rows) { return rowsData(rows); });
    connect(list, &ProgramListView::rowsMovedTo, this, &ProgramPanel::moveRowsTo);
    connect(list, &ProgramListView::rowsDropped, this, [this](int before, const QMimeData* data) {
        putRows(before, data, tr("拖放的內容不是程式列, 沒有放入."));
    });
    m_list = list;
    m_list->setObjectName(QStringLiteral("ListView1"));
    m_list->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_list->setAccessibleName(tr("程式列表"));
    m_findings = new QListWidget;
    m_findings->setObjectName(QStringLiteral("Findings"));
    m_findings->setAccessibleName(tr("檢查結果"));
    m_findings->setMaximumHeight(84);  // a larger window gives the rest to the list
    m_findings->hide();
    listLayout->addWidget(m_list);
    listLayout->addWidget(m_findings);
    m_listTab->addTab(listPage, tr("座標點"));
    connect(m_findings, &QListWidget::itemDoubleClicked, this,
            [this](QListWidgetItem* item) { selectRow(item->data(Qt::UserRole).toInt()); });

    // A click on the highlighted row chooses it again; Ctrl+click took the highlight away.
    connect(m_list, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem* item) {
        ListView1_ItemClick(item->isSelected() ? item : nullptr);
    });
    // The row the operator highlights, by mouse or by the arrow, Home/End and Page keys, is
    // the row the edit buttons act on. Focus alone (a tab into the list, a closed menu) only
    // puts the list's cursor on a row without highlighting it, and chooses nothing.
    connect(m_list, &QTreeWidget::itemSelectionChanged, this,
            [this] { ListView1_ItemClick(highlightedItem()); });
    // Delete on the list is 刪除, while 刪除 could be pressed (undo brings the row back).
    auto* erase = new QShortcut(QKeySequence::Delete, m_list, nullptr, nullptr,
                                Qt::WidgetWithChildrenShortcut);
    connect(erase, &QShortcut::activated, this, [this] {
        if (m_delete->isEnabled()) {
            Command7_Click();
        }
    });
    // F9 on the list, or its context menu: the dry run's breakpoint of the chosen row.
    auto* breakpoint = new QAction(tr("中斷點"), m_list);
    breakpoint->setObjectName(QStringLiteral("中斷點"));
    breakpoint->setShortcut(Qt::Key_F9);
    breakpoint->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    m_list->addAction(breakpoint);
    m_list->setContextMenuPolicy(Qt::ActionsContextMenu);
    m_list->setItemDelegate(new RowMarks(m_list));
    connect(breakpoint, &QAction::triggered, this, &ProgramPanel::toggleBreakpoint);
    connect(&m_program, &Program::breakpointsChanged, this, &ProgramPanel::paintRows);
}

void ProgramPanel::show_it() {
    const QSignalBlocker rebuilding(m_list);  // a rebuild selects no row
    m_list->clear();
    const std::vector<int> icons = listIcons(m_program.table(), m_program.RowCounter());
    QList<QTreeWidgetItem*> items;
    items.reserve(qsizetype(icons.size()));
    for (int i = 1; i <= int(icons.size()); ++i) {
        const Row& row = m_program.row(i);
        auto* item = new QTreeWidgetItem(QStringList{QString::number(i), shownCell(row[1]),
                                                     shownCell(row[2]), shownCell(row[3]),
                                                     shownCell(row[4])});
        item->setIcon(0, m_icons[icons[i - 1]]);
        items.append(item);
    }
    m_list->addTopLevelItems(items);
    // The row the edit buttons act on is the one highlighted: after a store, the new row.
    // The list follows a row stored at its end even with no row chosen.
    if (m_program.CurrentRowIsValid()) {
        QTreeWidgetItem* current = m_list->topLevelItem(m_program.CurrentRow() - 1);
        if (m_delete->isEnabled()) {
            m_list->setCurrentItem(current);
        }
        m_list->scrollToItem(current);
    }
    announce();
}

// No highlight (a click on the list's blank area, Ctrl+click on the highlighted row), no
// current row: the edit buttons go off and an armed insert or modify with its row.
void ProgramPanel::ListView1_ItemClick(QTreeWidgetItem* item) {
    if (item == nullptr) {
        m_program.setCurrentRow(0);
        setEditButtonsEnabled(false);
        disarm();
        return;
    }
    m_program.setCurrentRow(rowOf(item));
    setEditButtonsEnabled(true);
}

}  // namespace tql
