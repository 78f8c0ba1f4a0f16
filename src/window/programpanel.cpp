#include "window/programpanel.h"

#include "dialogs/form3.h"
#include "dialogs/form4.h"
#include "dialogs/mr.h"
#include "dialogs/rowdialoghost.h"
#include "dialogs/step.h"
#include "dialogs/xin.h"
#include "dialogs/xout.h"
#include "program/directentries.h"
#include "session/controllersession.h"
#include "translator/programchecks.h"
#include "window/controls.h"
#include "window/rowicons.h"
#include "window/rowmarks.h"

#include <QAction>
#include <QGroupBox>
#include <QHeaderView>
#include <QListWidget>
#include <QPushButton>
#include <QShortcut>
#include <QTabWidget>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <optional>

namespace tql {

ProgramPanel::ProgramPanel(Program& program, ControllerSession& session, QWidget* client)
    : QObject(client), m_program(program), m_session(session), m_prompter(session.prompter()) {
    for (int i = 1; i < int(m_icons.size()); ++i) {
        m_icons[i] = rowIcon(i);
    }
    buildEditFrame(client);
    buildEntryTab(client);
    buildListTab(client);
    // Findings on screen always speak of the program on screen.
    connect(&m_program, &Program::tableChanged, this, [this] {
        show_it();
        refreshFindings();
        // New and Open choose no row: the edit buttons wait for the operator's choice.
        if (!m_program.CurrentRowIsValid()) {
            setEditButtonsEnabled(false);
        }
    });
    connect(&m_program, &Program::stateChanged, this, &ProgramPanel::announce);
}

QWidget* ProgramPanel::hostWindow() {
    return m_list->window();
}

void ProgramPanel::notice(const QString& text) {
    m_prompter.message(hostWindow(), text, tr("訊息"));
}

TeachLine& ProgramPanel::teach() {
    return m_session;
}

QTreeWidgetItem* ProgramPanel::highlightedItem() const {
    const QList<QTreeWidgetItem*> chosen = m_list->selectedItems();
    return chosen.isEmpty() ? nullptr : chosen.front();
}

int ProgramPanel::highlightedRow() const {
    const QTreeWidgetItem* item = highlightedItem();
    return item == nullptr ? 0 : item->text(0).toInt();
}

void ProgramPanel::undo() {
    moveInHistory(false);
}

void ProgramPanel::redo() {
    moveInHistory(true);
}

// An armed insert or modify that the step took its row from is dropped, and the operator
// is told which.
void ProgramPanel::moveInHistory(bool forward) {
    const int highlighted = highlightedRow();
    const QString armed = armedModeText();
    bool dropped = false;
    const auto watching =
        connect(&m_program, &Program::armedModeDropped, this, [&dropped] { dropped = true; });
    if (forward) {
        m_program.redo();
    } else {
        m_program.undo();
    }
    disconnect(watching);
    keepChoice(highlighted);
    if (dropped) {
        emit noteShown(tr("已取消「%1」: 這一列已被復原或重做改變.").arg(armed));
    }
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
        item->setForeground(finding.severity == Severity::Error ? QColor(178, 34, 34)
                                                                : QColor(150, 100, 0));
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

void ProgramPanel::disarm() {
    // An open row dialog will store with the armed mode: dropping it under the dialog would
    // lose the row its 確認 is about to store.
    if (m_openRowDialogs == 0) {
        m_program.ClearEditModes();
    }
}

void ProgramPanel::announce() {
    paintRows();
    emit stateShown(armedModeText());
}

QString ProgramPanel::armedModeText() const {
    if (armedRow() == 0) {
        return {};
    }
    return m_program.InsertMode() ? tr("插入於第 %1 列之前").arg(armedRow())
                                  : tr("修改第 %1 列").arg(armedRow());
}

int ProgramPanel::armedRow() const {
    const bool armed =
        (m_program.InsertMode() || m_program.ModifyMode()) && m_program.CurrentRowIsValid();
    return armed ? m_program.CurrentRow() : 0;
}

// The armed insert's or modify's row bold on yellow, the row the dry run executes on green
// with its arrow, a breakpoint's dot.
void ProgramPanel::paintRows() {
    const int armed = armedRow();
    for (int i = 0; i < m_list->topLevelItemCount(); ++i) {
        QTreeWidgetItem* item = m_list->topLevelItem(i);
        const int row = i + 1;
        QFont font = item->font(0);
        font.setBold(row == armed);
        const QBrush background = row == m_executingRow ? QBrush(QColor(190, 235, 190))
                                  : row == armed        ? QBrush(QColor(255, 236, 170))
                                                        : QBrush();
        for (int c = 0; c < m_list->columnCount(); ++c) {
            item->setFont(c, font);
            item->setBackground(c, background);
        }
        item->setData(0, kBreakpointRole, m_program.breakpoints().contains(row));
        item->setData(0, kExecutingRole, row == m_executingRow);
    }
}

void ProgramPanel::showExecuting(int row) {
    m_executingRow = row;
    paintRows();
    if (QTreeWidgetItem* item = m_list->topLevelItem(row - 1); item != nullptr && row > 0) {
        m_list->scrollToItem(item);
    }
}

// Only the row the list highlights: with none, F9 chooses nothing for the operator.
void ProgramPanel::toggleBreakpoint() {
    m_program.toggleBreakpoint(highlightedRow());
}

void ProgramPanel::buildEditFrame(QWidget* client) {
    m_editFrame = new QGroupBox(tr("修改"), client);
    const std::array<std::tuple<QPushButton**, const char*, const char*, QRect>, 3> buttons = {{
        {&m_insert, "Command6", QT_TR_NOOP("插入"), QRect(8, 20, 49, 26)},
        {&m_delete, "Command7", QT_TR_NOOP("刪除"), QRect(60, 20, 49, 26)},
        {&m_modify, "Command8", QT_TR_NOOP("修改"), QRect(8, 49, 101, 26)},
    }};
    for (const auto& [member, name, caption, geometry] : buttons) {
        *member =
            placed(new QPushButton(tr(caption), m_editFrame), QString::fromUtf8(name), geometry);
    }
    connect(m_insert, &QPushButton::clicked, this, &ProgramPanel::Command6_Click);
    connect(m_delete, &QPushButton::clicked, this, &ProgramPanel::Command7_Click);
    connect(m_modify, &QPushButton::clicked, this, &ProgramPanel::Command8_Click);
}

void ProgramPanel::buildEntryTab(QWidget* client) {
    m_entryTab = new QTabWidget(client);
    m_entryTab->setObjectName(QStringLiteral("SSTab2"));
    auto* page = new QWidget;
    m_entryTab->addTab(page, tr("功能鍵"));
    // Grouped by what the rows do: moves, timing, loops, labels and calls, homing, I/O,
    // two a line; the buttons without a dialog store their row at once (directEntries).
    using Kind = std::optional<RowDialogKind>;
    const std::array<std::tuple<const char*, const char*, Kind>, 15> entries = {{
        {"Command19", QT_TR_NOOP("絕對移動"), RowDialogKind::AbsoluteMove},
        {"Command5", QT_TR_NOOP("相對移動"), RowDialogKind::RelativeMove},
        {"Command1", QT_TR_NOOP("速度"), RowDialogKind::Speed},
        {"Command2", QT_TR_NOOP("延遲"), std::nullopt},
        {"LOP", QT_TR_NOOP("迴圈"), std::nullopt},
        {"LOOPEND", QT_TR_NOOP("迴圈結束"), std::nullopt},
        {"標籤", QT_TR_NOOP("標籤"), std::nullopt},
        {"跳至標籤", QT_TR_NOOP("跳至標籤"), std::nullopt},
        {"Command14", QT_TR_NOOP("呼叫標籤"), std::nullopt},
        {"Command9", QT_TR_NOOP("返回"), std::nullopt},
        {"Command4", QT_TR_NOOP("回原點"), std::nullopt},
        {"Command13", QT_TR_NOOP("座標歸零"), std::nullopt},
        {"Command10", QT_TR_NOOP("IN"), RowDialogKind::Input},
        {"Command11", QT_TR_NOOP("OUT"), RowDialogKind::Output},
        {"Command15", QT_TR_NOOP("自設步驟"), RowDialogKind::CustomStep},
    }};
    constexpr int kPitch = 32;
    m_editStart = placed(new QPushButton(tr("編輯開始"), page), QStringLiteral("Command12"),
                         QRect(6, 6, 153, 28));
    connect(m_editStart, &QPushButton::clicked, this, &ProgramPanel::Command12_Click);
    for (int i = 0; i < int(entries.size()); ++i) {
        const auto& [name, caption, dialog] = entries[i];
        const bool last = i + 1 == int(entries.size());  // 自設步驟 spans the line
        const QRect geometry = last ? QRect(6, 6 + 8 * kPitch, 153, 28)
                                    : QRect(6 + (i % 2) * 78, 6 + (1 + i / 2) * kPitch, 75, 28);
        QPushButton* button =
            placed(new QPushButton(tr(caption), page), QString::fromUtf8(name), geometry);
        m_entryButtons[i] = button;
        if (dialog) {
            connect(button, &QPushButton::clicked, this,
                    [this, kind = *dialog] { rowDialogButton(kind); });
            continue;
        }
        const auto& direct = directEntries();
        const auto entry = std::find_if(direct.begin(), direct.end(), [&](const DirectEntry& e) {
            return e.control == QString::fromUtf8(name);
        });
        Q_ASSERT(entry != direct.end());
        connect(button, &QPushButton::clicked, this,
                [this, &entry = *entry] { directEntry(entry); });
    }
}

void ProgramPanel::buildListTab(QWidget* client) {
    m_listTab = new QTabWidget(client);
    m_listTab->setObjectName(QStringLiteral("SSTab1"));
    auto* listPage = new QWidget;
    auto* listLayout = new QVBoxLayout(listPage);
    listLayout->setContentsMargins(0, 0, 0, 0);
    listLayout->setSpacing(2);
    m_list = new QTreeWidget;
    m_list->setObjectName(QStringLiteral("ListView1"));
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

void ProgramPanel::Form_Load() {
    setEntryButtonsEnabled(false);
    setEditButtonsEnabled(false);
    m_list->clear();
    m_list->setColumnCount(5);
    m_list->setHeaderLabels(
        {tr(" 行 數 "), tr(" 數 據 "), tr(" X 座標"), tr(" 附 註 "), tr(" 附 註 ")});
    m_list->setRootIsDecorated(false);
    m_list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_list->setIconSize(QSize(16, 15));
    m_list->setUniformRowHeights(true);
    m_list->header()->setSectionsMovable(false);
    m_list->header()->setStretchLastSection(true);
    for (const auto& [column, width] : {std::pair{0, 56 + kMarksRoom}, {1, 86}, {2, 86}, {3, 76}}) {
        m_list->setColumnWidth(column, width);
    }
}

void ProgramPanel::setEntryButtonsEnabled(bool enabled) {
    for (QPushButton* button : m_entryButtons) {
        button->setEnabled(enabled);
    }
    m_editStart->setEnabled(!enabled);
}

void ProgramPanel::setEditButtonsEnabled(bool enabled) {
    for (QPushButton* button : {m_insert, m_delete, m_modify}) {
        button->setEnabled(enabled);
    }
}

void ProgramPanel::show_it() {
    const QSignalBlocker rebuilding(m_list);  // a rebuild selects no row
    m_list->clear();
    const std::vector<int> icons = listIcons(m_program.table(), m_program.RowCounter());
    QList<QTreeWidgetItem*> items;
    items.reserve(qsizetype(icons.size()));
    for (int i = 1; i <= int(icons.size()); ++i) {
        const Row& row = m_program.row(i);
        auto* item =
            new QTreeWidgetItem(QStringList{QString::number(i), row[1], row[2], row[3], row[4]});
        item->setIcon(0, m_icons[icons[i - 1]]);
        items.append(item);
    }
    m_list->addTopLevelItems(items);
    // The row the edit buttons act on is the one highlighted: after a store, the new row.
    if (m_delete->isEnabled() && m_program.CurrentRowIsValid()) {
        QTreeWidgetItem* current = m_list->topLevelItem(m_program.CurrentRow() - 1);
        m_list->setCurrentItem(current);
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
    m_program.setCurrentRow(item->text(0).toInt());
    setEditButtonsEnabled(true);
}

void ProgramPanel::Command12_Click() {
    m_program.markChanged();
    setEntryButtonsEnabled(true);
    setEditButtonsEnabled(false);
}

bool ProgramPanel::reportStore(StoreOutcome outcome) {
    const QString refusal = storeRefusalMessage(outcome);
    if (!refusal.isEmpty()) {
        m_prompter.message(hostWindow(), refusal, applicationTitle());
    }
    return outcome == StoreOutcome::Stored;
}

void ProgramPanel::directEntry(const DirectEntry& entry) {
    m_program.ArmAppend();
    QString text;
    if (entry.asksText()) {
        text = m_prompter.inputBox(hostWindow(), entry.promptText(), entry.titleText(),
                                   entry.defaultText(m_program, m_memory));
        if (text.isEmpty()) {
            return;
        }
        if (entry.remembersText) {
            m_memory.LastDelay = text;
        }
    }
    reportStore(m_program.StoreRow(entry.rowWith(text)));
}

// The console's poll starts afresh once the dialog is up; the dialog stores its row when the
// operator confirms. The speed button alone leaves ProgramChanged to the stored row, and
// the move and custom-step dialogs may store one row per opening.
void ProgramPanel::rowDialogButton(RowDialogKind dialog) {
    m_program.ArmAppend();
    if (dialog != RowDialogKind::Speed) {
        m_program.markChanged();
    }
    QDialog* opened = nullptr;
    switch (dialog) {
        case RowDialogKind::Speed:
            opened = new Form4(*this);
            break;
        case RowDialogKind::Input:
            opened = new XIN(*this);
            break;
        case RowDialogKind::Output:
            opened = new XOUT(*this);
            break;
        case RowDialogKind::CustomStep:
            m_program.ArmEntry();
            opened = new STEP(*this);
            break;
        case RowDialogKind::AbsoluteMove:
            m_program.ArmEntry();
            opened = new Form3(*this);
            break;
        case RowDialogKind::RelativeMove:
            m_program.ArmEntry();
            opened = new MR(*this);
            break;
    }
    ++m_openRowDialogs;
    connect(opened, &QObject::destroyed, this, [this] { --m_openRowDialogs; });
    opened->show();
    if (dialog == RowDialogKind::Speed) {
        setMainWindowEnabled(false);
    }
    m_session.restartPoll();
}

void ProgramPanel::Command6_Click() {
    setEditButtonsEnabled(false);
    if (!m_program.CurrentRowIsValid()) {
        return;
    }
    m_program.markChanged();
    setEntryButtonsEnabled(true);
    m_program.ArmInsert();
}

// The buttons go off first: the list rebuilt after the delete highlights no row.
void ProgramPanel::Command7_Click() {
    setEditButtonsEnabled(false);
    m_program.DeleteCurrentRow();
}

void ProgramPanel::Command8_Click() {
    setEditButtonsEnabled(false);
    if (!m_program.CurrentRowIsValid()) {
        return;
    }
    m_program.markChanged();
    m_program.ArmModify();
}

}  // namespace tql
