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
#include "window/controls.h"
#include "window/rowicons.h"
#include "window/rowmarks.h"
#include "window/sessionclient.h"

#include <QGroupBox>
#include <QHeaderView>
#include <QPushButton>
#include <QTabWidget>
#include <QTreeWidget>

#include <algorithm>
#include <optional>
#include <variant>

namespace tql {

ProgramPanel::ProgramPanel(Program& program, SessionClient& session, QWidget* client)
    : QObject(client),
      m_program(program),
      m_session(session),
      m_prompter(session.session().prompter()) {
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

void ProgramPanel::disarm() {
    // An open row dialog will store with the armed mode: dropping it under the dialog would
    // lose the row its 確認 is about to store.
    if (m_openRowDialog == nullptr || !m_openRowDialog->isVisible()) {
        m_program.ClearEditModes();
    }
}

void ProgramPanel::announce() {
    paintRows();
    emit stateShown(armedModeText());
}

// Where the next stored row lands, while an entry is on its way.
QString ProgramPanel::armedModeText() const {
    if (m_program.AppendMode()) {
        return tr("加在第 %1 列").arg(m_program.RowCounter() + 1);
    }
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
    // two a line; the buttons without a dialog store their row at once (directEntry).
    using Direct = DirectEntryKind;
    using Dialog = RowDialogKind;
    const std::array<std::tuple<const char*, const char*, std::variant<Dialog, Direct>>, 15>
        entries = {{
            {"Command19", QT_TR_NOOP("絕對移動"), Dialog::AbsoluteMove},
            {"Command5", QT_TR_NOOP("相對移動"), Dialog::RelativeMove},
            {"Command1", QT_TR_NOOP("速度"), Dialog::Speed},
            {"Command2", QT_TR_NOOP("延遲"), Direct::Delay},
            {"LOP", QT_TR_NOOP("迴圈"), Direct::Loop},
            {"LOOPEND", QT_TR_NOOP("迴圈結束"), Direct::LoopEnd},
            {"標籤", QT_TR_NOOP("標籤"), Direct::Label},
            {"跳至標籤", QT_TR_NOOP("跳至標籤"), Direct::JumpToLabel},
            {"Command14", QT_TR_NOOP("呼叫標籤"), Direct::Call},
            {"Command9", QT_TR_NOOP("返回"), Direct::Return},
            {"Command4", QT_TR_NOOP("回原點"), Direct::Home},
            {"Command13", QT_TR_NOOP("座標歸零"), Direct::ZeroPosition},
            {"Command10", QT_TR_NOOP("IN"), Dialog::Input},
            {"Command11", QT_TR_NOOP("OUT"), Dialog::Output},
            {"Command15", QT_TR_NOOP("自設步驟"), Dialog::CustomStep},
        }};
    constexpr int kPitch = 32;
    m_editStart = placed(new QPushButton(tr("編輯開始"), page), QStringLiteral("Command12"),
                         QRect(6, 6, 153, 28));
    connect(m_editStart, &QPushButton::clicked, this, &ProgramPanel::Command12_Click);
    for (int i = 0; i < int(entries.size()); ++i) {
        const auto& [name, caption, action] = entries[i];
        const bool last = i + 1 == int(entries.size());  // 自設步驟 spans the line
        const QRect geometry = last ? QRect(6, 6 + 8 * kPitch, 153, 28)
                                    : QRect(6 + (i % 2) * 78, 6 + (1 + i / 2) * kPitch, 75, 28);
        QPushButton* button =
            placed(new QPushButton(tr(caption), page), QString::fromUtf8(name), geometry);
        m_entryButtons[i] = button;
        if (const Dialog* dialog = std::get_if<Dialog>(&action)) {
            connect(button, &QPushButton::clicked, this,
                    [this, kind = *dialog] { rowDialogButton(kind); });
        } else {
            connect(button, &QPushButton::clicked, this,
                    [this, &entry = directEntry(std::get<Direct>(action))] {
                        storeDirectEntry(entry);
                    });
        }
    }
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

void ProgramPanel::storeDirectEntry(const DirectEntry& entry) {
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
// One row dialog at a time: another entry brings the open one to the front and arms
// nothing, so two dialogs never wait to store with one mode.
void ProgramPanel::rowDialogButton(RowDialogKind dialog) {
    if (m_openRowDialog != nullptr && m_openRowDialog->isVisible()) {
        m_openRowDialog->raise();
        m_openRowDialog->activateWindow();
        return;
    }
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
    m_openRowDialog = opened;
    opened->show();
    if (dialog == RowDialogKind::Speed) {
        setMainWindowEnabled(false);
    }
    m_session.post([](ControllerSession& s) { s.restartPoll(); });
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
// Several rows highlighted go together, one step.
void ProgramPanel::Command7_Click() {
    setEditButtonsEnabled(false);
    if (const std::set<int> rows = highlightedRows(); rows.size() > 1) {
        m_program.deleteRows(rows);
        keepChoice(0);
        sayUnpairedRows();
        return;
    }
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
