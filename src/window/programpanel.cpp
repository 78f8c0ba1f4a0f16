#include "window/programpanel.h"

#include "dialogs/form3.h"
#include "dialogs/form4.h"
#include "dialogs/mr.h"
#include "dialogs/rowdialoghost.h"
#include "dialogs/step.h"
#include "dialogs/xin.h"
#include "dialogs/xout.h"
#include "program/directentries.h"
#include "translator/programchecks.h"
#include "window/prompter.h"
#include "window/rowicons.h"

#include <QGroupBox>
#include <QHeaderView>
#include <QListWidget>
#include <QShortcut>
#include <QTabWidget>
#include <QTimer>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace tql {
namespace {

// One change to the table: undo puts back the program before it, redo the program after.
class ProgramEdit final : public QUndoCommand {
public:
    ProgramEdit(ProgramPanel& panel, ProgramPanel::Snapshot before, ProgramPanel::Snapshot after,
                const QString& what)
        : QUndoCommand(what),
          m_panel(panel),
          m_before(std::move(before)),
          m_after(std::move(after)) {}
    void undo() override { m_panel.restore(m_before); }
    void redo() override {
        if (!std::exchange(m_done, false)) {
            m_panel.restore(m_after);
        }
    }

private:
    ProgramPanel& m_panel;
    ProgramPanel::Snapshot m_before;
    ProgramPanel::Snapshot m_after;
    bool m_done = true;  // pushed after the change was made
};

// The fifteen entry buttons switched as one group; 編輯開始 is always in the opposite state.
const std::array<const char*, 15> kEntryButtons = {
    "Command19", "Command1",  "Command2",  "LOP",       "LOOPEND",
    "標籤",      "跳至標籤",  "Command4",  "Command5",  "Command9",
    "Command10", "Command11", "Command13", "Command14", "Command15"};

const std::array<const char*, 3> kEditButtons = {"Command6", "Command7", "Command8"};

}  // namespace

ProgramPanel::ProgramPanel(SharedState& shared, Prompter& prompter, RowDialogHost& host,
                           QWidget* client)
    : QObject(client), m_shared(shared), m_prompter(prompter), m_host(host), m_history(this) {
    for (int i = 1; i < int(m_icons.size()); ++i) {
        m_icons[i] = rowIcon(i);
    }
    buildFrames(client);
    // Undone back to the state last saved, the program is not changed.
    connect(&m_history, &QUndoStack::indexChanged, this, [this] {
        m_shared.ProgramChanged = !m_history.isClean();
        announce();
        refreshFindings();
    });
}

ProgramPanel::Snapshot ProgramPanel::snapshot() const {
    return {m_shared.ProgramTable, m_shared.RowCounter};
}

QTreeWidgetItem* ProgramPanel::highlightedItem() const {
    const QList<QTreeWidgetItem*> chosen = m_list->selectedItems();
    return chosen.isEmpty() ? nullptr : chosen.front();
}

// Undo and redo keep the operator's choice where it still stands and invent none: the edit
// buttons act on the row the list highlights, or wait for the operator to choose one.
void ProgramPanel::restore(const Snapshot& snapshot) {
    const QTreeWidgetItem* item = highlightedItem();
    const int highlighted = item == nullptr ? 0 : item->text(0).toInt();
    m_shared.ProgramTable = snapshot.table;
    m_shared.RowCounter = snapshot.RowCounter;
    m_recorded = snapshot;
    show_it();
    if (highlighted >= 1 && highlighted <= m_shared.RowCounter) {
        const QSignalBlocker keeping(m_list);
        m_list->setCurrentItem(m_list->topLevelItem(highlighted - 1));
        m_shared.CurrentRow = highlighted;
    } else {
        m_shared.CurrentRow = 0;
        DisableEditButtons();
    }
    announce();
}

void ProgramPanel::recordEdit(const QString& what) {
    Snapshot after = snapshot();
    m_history.push(new ProgramEdit(*this, std::exchange(m_recorded, after), after, what));
}

void ProgramPanel::startHistory() {
    m_recorded = snapshot();
    m_history.clear();
    show_it();
    refreshFindings();
}

// Findings on screen always speak of the program on screen.
void ProgramPanel::refreshFindings() {
    if (!m_findings->isHidden()) {
        checkProgram();
    }
}

void ProgramPanel::checkProgram() {
    m_findings->clear();
    const std::vector<Finding> findings = CheckProgram(m_shared.ProgramTable, m_shared.RowCounter);
    for (const Finding& finding : findings) {
        auto* item = new QListWidgetItem(formatFinding(finding), m_findings);
        item->setData(Qt::UserRole, finding.row);
        item->setForeground(finding.severity == Severity::Error ? QColor(178, 34, 34)
                                                                : QColor(150, 100, 0));
    }
    if (findings.empty()) {
        new QListWidgetItem(QStringLiteral("檢查完成: 沒有錯誤或警告."), m_findings);
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
    if (m_openRowDialogs > 0) {
        return;
    }
    ClearEditModes(m_shared);
    announce();
}

void ProgramPanel::announce() {
    const bool armed = (m_shared.InsertMode || m_shared.ModifyMode) && CurrentRowIsValid(m_shared);
    for (int i = 0; i < m_list->topLevelItemCount(); ++i) {
        QTreeWidgetItem* item = m_list->topLevelItem(i);
        const bool target = armed && i + 1 == m_shared.CurrentRow;
        QFont font = item->font(0);
        font.setBold(target);
        for (int c = 0; c < m_list->columnCount(); ++c) {
            item->setFont(c, font);
            item->setBackground(c, target ? QBrush(QColor(255, 236, 170)) : QBrush());
        }
    }
    QString mode;
    if (armed) {
        mode = m_shared.InsertMode ? QStringLiteral("插入於第 %1 列之前").arg(m_shared.CurrentRow)
                                   : QStringLiteral("修改第 %1 列").arg(m_shared.CurrentRow);
    }
    emit stateShown(mode);
}

void ProgramPanel::buildFrames(QWidget* client) {
    m_editFrame = new QGroupBox(QStringLiteral("修改"), client);
    m_controls.button(m_editFrame, "Command6", "插入", QRect(8, 20, 49, 26));
    m_controls.button(m_editFrame, "Command7", "刪除", QRect(60, 20, 49, 26));
    m_controls.button(m_editFrame, "Command8", "修改", QRect(8, 49, 101, 26));

    m_entryTab = new QTabWidget(client);
    m_entryTab->setObjectName(QStringLiteral("SSTab2"));
    auto* entryPage = new QWidget;
    m_entryTab->addTab(entryPage, QStringLiteral("功能鍵"));
    // Grouped by what the rows do: moves, timing, loops, labels and calls, homing, I/O.
    const std::array<std::pair<const char*, const char*>, 14> pairs = {{{"Command19", "絕對移動"},
                                                                        {"Command5", "相對移動"},
                                                                        {"Command1", "速度"},
                                                                        {"Command2", "延遲"},
                                                                        {"LOP", "迴圈"},
                                                                        {"LOOPEND", "迴圈結束"},
                                                                        {"標籤", "標籤"},
                                                                        {"跳至標籤", "跳至標籤"},
                                                                        {"Command14", "呼叫標籤"},
                                                                        {"Command9", "返回"},
                                                                        {"Command4", "回原點"},
                                                                        {"Command13", "座標歸零"},
                                                                        {"Command10", "IN"},
                                                                        {"Command11", "OUT"}}};
    constexpr int kPitch = 32;
    m_controls.button(entryPage, "Command12", "編輯開始", QRect(6, 6, 153, 28));
    for (int i = 0; i < int(pairs.size()); ++i) {
        const int x = 6 + (i % 2) * 78;
        const int y = 6 + (1 + i / 2) * kPitch;
        m_controls.button(entryPage, QString::fromUtf8(pairs[i].first),
                          QString::fromUtf8(pairs[i].second), QRect(x, y, 75, 28));
    }
    m_controls.button(entryPage, "Command15", "自設步驟", QRect(6, 6 + 8 * kPitch, 153, 28));

    m_listTab = new QTabWidget(client);
    m_listTab->setObjectName(QStringLiteral("SSTab1"));
    auto* listPage = new QWidget;
    auto* listLayout = new QVBoxLayout(listPage);
    listLayout->setContentsMargins(0, 0, 0, 0);
    listLayout->setSpacing(2);
    m_list = new QTreeWidget;
    m_list->setObjectName(QStringLiteral("ListView1"));
    m_findings = new QListWidget;
    m_findings->setObjectName(QStringLiteral("Findings"));
    m_findings->setMaximumHeight(84);
    m_findings->hide();
    listLayout->addWidget(m_list);
    listLayout->addWidget(m_findings);
    m_listTab->addTab(listPage, QStringLiteral("座標點"));
    connect(m_findings, &QListWidget::itemDoubleClicked, this,
            [this](QListWidgetItem* item) { selectRow(item->data(Qt::UserRole).toInt()); });

    connect(m_list, &QTreeWidget::itemClicked, this, &ProgramPanel::ListView1_ItemClick);
    // The row the operator highlights, by mouse or by the arrow, Home/End and Page keys, is
    // the row the edit buttons act on. Focus alone (a tab into the list, a closed menu) only
    // puts the list's cursor on a row without highlighting it, and chooses nothing.
    connect(m_list, &QTreeWidget::itemSelectionChanged, this,
            [this] { ListView1_ItemClick(highlightedItem()); });
    // Delete on the list is 刪除, while 刪除 could be pressed (undo brings the row back).
    auto* erase = new QShortcut(QKeySequence::Delete, m_list, nullptr, nullptr,
                                Qt::WidgetWithChildrenShortcut);
    connect(erase, &QShortcut::activated, this, [this] {
        if (m_controls.button("Command7")->isEnabled()) {
            Command7_Click();
        }
    });
    connect(m_controls.button("Command12"), &QPushButton::clicked, this,
            &ProgramPanel::Command12_Click);
    for (const DirectEntry& entry : directEntries()) {
        connect(m_controls.buttons.at(entry.control), &QPushButton::clicked, this,
                [this, &entry] { directEntry(entry); });
    }
    const std::array<std::pair<const char*, RowDialogKind>, 6> dialogButtons = {{
        {"Command1", RowDialogKind::Speed},
        {"Command10", RowDialogKind::Input},
        {"Command11", RowDialogKind::Output},
        {"Command15", RowDialogKind::CustomStep},
        {"Command19", RowDialogKind::AbsoluteMove},
        {"Command5", RowDialogKind::RelativeMove},
    }};
    for (const auto& [name, dialog] : dialogButtons) {
        connect(m_controls.button(name), &QPushButton::clicked, this,
                [this, dialog = dialog] { rowDialogButton(dialog); });
    }
    connect(m_controls.button("Command6"), &QPushButton::clicked, this,
            &ProgramPanel::Command6_Click);
    connect(m_controls.button("Command7"), &QPushButton::clicked, this,
            &ProgramPanel::Command7_Click);
    connect(m_controls.button("Command8"), &QPushButton::clicked, this,
            &ProgramPanel::Command8_Click);
}

void ProgramPanel::Form_Load() {
    DisableEntryButtons();
    DisableEditButtons();
    m_list->clear();
    m_list->setColumnCount(5);
    m_list->setHeaderLabels({QStringLiteral(" 行 數 "), QStringLiteral(" 數 據 "),
                             QStringLiteral(" X 座標"), QStringLiteral(" 附 註 "),
                             QStringLiteral(" 附 註 ")});
    m_list->setRootIsDecorated(false);
    m_list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_list->setIconSize(QSize(16, 15));
    m_list->setUniformRowHeights(true);
    m_list->header()->setSectionsMovable(false);
    m_list->header()->setStretchLastSection(true);
    for (const auto& [column, width] : {std::pair{0, 56}, {1, 86}, {2, 86}, {3, 76}}) {
        m_list->setColumnWidth(column, width);
    }
}

void ProgramPanel::EnableEntryButtons() {
    for (const char* name : kEntryButtons) {
        m_controls.button(name)->setEnabled(true);
    }
    m_controls.button("Command12")->setEnabled(false);
}

void ProgramPanel::DisableEntryButtons() {
    for (const char* name : kEntryButtons) {
        m_controls.button(name)->setEnabled(false);
    }
    m_controls.button("Command12")->setEnabled(true);
}

void ProgramPanel::EnableEditButtons() {
    for (const char* name : kEditButtons) {
        m_controls.button(name)->setEnabled(true);
    }
}

void ProgramPanel::DisableEditButtons() {
    for (const char* name : kEditButtons) {
        m_controls.button(name)->setEnabled(false);
    }
}

void ProgramPanel::show_it() {
    const QSignalBlocker rebuilding(m_list);  // a rebuild selects no row
    m_list->clear();
    const std::vector<int> icons = listIcons(m_shared.ProgramTable, m_shared.RowCounter);
    QList<QTreeWidgetItem*> items;
    items.reserve(qsizetype(icons.size()));
    for (int i = 1; i <= int(icons.size()); ++i) {
        const Row& row = m_shared.ProgramTable[i];
        auto* item =
            new QTreeWidgetItem(QStringList{QString::number(i), row[1], row[2], row[3], row[4]});
        item->setIcon(0, m_icons[icons[i - 1]]);
        items.append(item);
    }
    m_list->addTopLevelItems(items);
    announce();
}

void ProgramPanel::ListView1_ItemClick(QTreeWidgetItem* item) {
    if (item == nullptr) {
        return;
    }
    m_shared.CurrentRow = item->text(0).toInt();
    EnableEditButtons();
}

void ProgramPanel::Command12_Click() {
    m_shared.ProgramChanged = true;
    EnableEntryButtons();
    DisableEditButtons();
    announce();
}

bool ProgramPanel::reportStore(StoreOutcome outcome) {
    const QString refusal = storeRefusalMessage(outcome);
    if (!refusal.isEmpty()) {
        m_prompter.message(m_list->window(), refusal, applicationTitle());
    }
    if (outcome != StoreOutcome::Stored) {
        return false;
    }
    recordEdit(QStringLiteral("輸入一列"));
    return true;
}

void ProgramPanel::directEntry(const DirectEntry& entry) {
    ArmAppend(m_shared);
    QString text;
    if (entry.asksText()) {
        text = m_prompter.inputBox(m_list->window(), entry.prompt, entry.title,
                                   entry.defaultText(m_shared));
        if (text.isEmpty()) {
            return;
        }
        if (entry.remembersText) {
            m_shared.LastDelay = text;
        }
    }
    if (reportStore(StoreRow(m_shared, entry.rowWith(text)))) {
        show_it();
    }
}

// The console timer pauses while the dialog is put up; the dialog stores its row when the
// operator confirms. The speed button alone leaves ProgramChanged to the stored row, and
// the move and custom-step dialogs may store one row per opening.
void ProgramPanel::rowDialogButton(RowDialogKind dialog) {
    m_host.Timer1().stop();
    ArmAppend(m_shared);
    if (dialog != RowDialogKind::Speed) {
        m_shared.ProgramChanged = true;
    }
    QDialog* opened = nullptr;
    switch (dialog) {
        case RowDialogKind::Speed:
            opened = new Form4(m_host);
            break;
        case RowDialogKind::Input:
            opened = new XIN(m_host);
            break;
        case RowDialogKind::Output:
            opened = new XOUT(m_host);
            break;
        case RowDialogKind::CustomStep:
            m_shared.EntryArmed = true;
            opened = new STEP(m_host);
            break;
        case RowDialogKind::AbsoluteMove:
            m_shared.EntryArmed = true;
            opened = new Form3(m_host);
            break;
        case RowDialogKind::RelativeMove:
            m_shared.EntryArmed = true;
            opened = new MR(m_host);
            break;
    }
    ++m_openRowDialogs;
    connect(opened, &QObject::destroyed, this, [this] { --m_openRowDialogs; });
    opened->show();
    if (dialog == RowDialogKind::Speed) {
        m_host.setMainWindowEnabled(false);
    }
    m_host.Timer1().start();
    announce();
}

void ProgramPanel::Command6_Click() {
    DisableEditButtons();
    if (!CurrentRowIsValid(m_shared)) {
        return;
    }
    m_shared.ProgramChanged = true;
    EnableEntryButtons();
    ArmInsert(m_shared);
    announce();
}

void ProgramPanel::Command7_Click() {
    if (DeleteCurrentRow(m_shared)) {
        recordEdit(QStringLiteral("刪除一列"));
        show_it();
    }
    DisableEditButtons();
}

void ProgramPanel::Command8_Click() {
    DisableEditButtons();
    if (!CurrentRowIsValid(m_shared)) {
        return;
    }
    m_shared.ProgramChanged = true;
    ArmModify(m_shared);
    announce();
}

}  // namespace tql
