#include "dialogs/form3.h"

#include "dialogs/rowdialoghost.h"
#include "program/dialogrows.h"
#include "session/fieldtext.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>

namespace tql {
namespace {

constexpr std::chrono::milliseconds kTeachTick{200};

}  // namespace

// The title has always been eleven blanks.
Form3::Form3(RowDialogHost& host)
    : RowDialog(host, QStringLiteral("Form3"), QString(11, u' ')), m_timer1(this) {
    m_timer1.setObjectName(QStringLiteral("Timer1"));
    m_timer1.setInterval(kTeachTick);
    m_timer1.setTimerType(Qt::PreciseTimer);
    const QString captions[] = {tr(" X軸距離 :"), tr(" X軸座標 :")};
    auto* grid = new QGridLayout(this);
    for (int i = 0; i < 2; ++i) {
        m_text1[i] = named(new QLineEdit, QStringLiteral("Text1(%1)").arg(i));
        grid->addWidget(new QLabel(captions[i]), i, 0);
        grid->addWidget(m_text1[i], i, 1);
    }
    const QString entries[] = {tr("數值輸入"), tr("教導輸入")};
    for (int i = 0; i < 2; ++i) {
        m_entry[i] = named(new QRadioButton(entries[i]), QStringLiteral("Option2(%1)").arg(i));
        grid->addWidget(m_entry[i], i, 2);
        connect(m_entry[i], &QRadioButton::clicked, this, [this, i] { Option2_Click(i); });
    }
    // The jog, as on a teach pendant: creep up to a position, then take it by teaching.
    auto* minus = button(QStringLiteral("−"), QStringLiteral("JogMinus"));
    auto* plus = button(QStringLiteral("+"), QStringLiteral("JogPlus"));
    m_step = named(new QComboBox, QStringLiteral("JogStep"));
    m_step->setEditable(true);
    m_step->addItems({QStringLiteral("0.1"), QStringLiteral("1"), QStringLiteral("10")});
    m_step->setCurrentIndex(1);
    auto* take = button(tr("取目前位置"), QStringLiteral("TakePosition"));
    QHBoxLayout* jogRow = buttonRow({minus, plus});
    jogRow->insertWidget(0, new QLabel(tr(" 寸動 :")));
    jogRow->insertWidget(2, m_step);
    jogRow->addStretch();
    jogRow->addWidget(take);
    grid->addLayout(jogRow, 2, 0, 1, 3);
    auto* position = button(tr("定位"), QStringLiteral("Command2"));
    m_moveButtons = {minus, plus, position, take};
    auto* ok = confirmButton(QStringLiteral("Command3(0)"));
    auto* no = cancelButton(QStringLiteral("Command3(1)"));
    QHBoxLayout* buttons = buttonRow({position, ok, no});
    buttons->insertStretch(1);
    grid->addLayout(buttons, 3, 0, 1, 3);
    auto* status = named(new QStatusBar, QStringLiteral("StatusBar1"));
    status->setSizeGripEnabled(false);
    m_panel1 = named(new QLabel, QStringLiteral("StatusBar1(1)"));
    status->addWidget(m_panel1);
    grid->addWidget(status, 4, 0, 1, 3);
    connect(minus, &QPushButton::clicked, this, [this] { jog(false); });
    connect(plus, &QPushButton::clicked, this, [this] { jog(true); });
    connect(take, &QPushButton::clicked, this, &Form3::takePosition);

    connect(&m_timer1, &QTimer::timeout, this, &Form3::Timer1_Timer);
    connect(position, &QPushButton::clicked, this, &Form3::Command2_Click);
    connect(ok, &QPushButton::clicked, this, &Form3::confirm);
    connect(no, &QPushButton::clicked, this, &Form3::cancel);
    Form_Load();
}

void Form3::Form_Load() {
    EntryMemory& memory = m_host.entryMemory();
    if (m_host.teach().isConnected()) {
        m_panel1->setText(tr("連線中"));
        m_timer1.start();
        const int entry = memory.NumericEntry ? 0 : 1;
        m_entry[entry]->setChecked(true);
        Option2_Click(entry);
    } else {
        memory.NumericEntry = true;
        m_panel1->setText(tr("未連線"));
        m_timer1.stop();
        m_entry[1]->setEnabled(false);  // teaching needs the controller
        m_entry[0]->setChecked(true);
    }
    m_text1[1]->setEnabled(false);
    m_text1[1]->setText(QStringLiteral("0"));
    const std::optional<Row> modified = m_host.program().rowBeingModified();
    m_text1[0]->setText(modified ? (*modified)[2] : memory.MoveValue);
    showMoveButtons();
}

void Form3::showMoveButtons() {
    const bool connected = m_host.teach().isConnected();
    const bool numeric = m_host.entryMemory().NumericEntry;
    const QString why = !connected ? tr("未連線: 無法移動滑台.")
                        : !numeric ? tr("教導輸入: 滑台已放開, 請用手推動; 改選數值輸入才能移動.")
                                   : QString();
    for (QPushButton* b : m_moveButtons) {
        b->setEnabled(why.isEmpty());
        b->setToolTip(why);
    }
}

void Form3::closeEvent(QCloseEvent* event) {
    if (m_host.teach().slideFree()) {
        if (m_host.teach().holdSlide(true) == Exchange::LineHeld) {
            m_host.notice(lineHeldMessage());
            event->ignore();  // open until the slide can be held
            return;
        }
        m_timer1.stop();
    }
    RowDialog::closeEvent(event);
}

// The upload or a question holds the line: an exchange of this dialog would land inside
// it. The operator's choice is refused as a whole, so nothing is half done.
bool Form3::lineHeld() {
    if (!m_host.teach().isConnected() || !m_host.teach().lineHeld()) {
        return false;
    }
    m_host.notice(lineHeldMessage());
    return true;
}

void Form3::Option2_Click(int index) {
    if (!m_host.teach().isConnected()) {
        return;
    }
    const bool numeric = index == 0;
    // Hold off lets the operator push the slide by hand while teaching.
    const Exchange sent = m_host.teach().holdSlide(numeric);
    if (sent != Exchange::Done) {
        if (sent == Exchange::LineHeld) {
            m_host.notice(lineHeldMessage());
        }
        m_entry[m_host.entryMemory().NumericEntry ? 0 : 1]->setChecked(true);
        return;
    }
    m_host.entryMemory().NumericEntry = numeric;
    m_text1[0]->setEnabled(numeric);
    showMoveButtons();
}

void Form3::Timer1_Timer() {
    if (m_host.teach().lineHeld()) {
        return;  // the upload or a question holds the line
    }
    if (!m_host.teach().isConnected()) {
        m_timer1.stop();  // for good: the dialog does not restart it
        m_panel1->setText(tr("未連線"));
        showMoveButtons();
        return;
    }
    m_panel1->setText(tr("連線中"));
    ReadTeachPosition();
}

// One reading at a time: a tick while the last is still on its way asks nothing more.
void Form3::ReadTeachPosition() {
    if (m_reading) {
        return;
    }
    m_reading = true;
    m_host.teach().readPosition([dialog = QPointer(this)](const std::optional<QString>& read) {
        if (!dialog) {
            return;
        }
        dialog->m_reading = false;
        if (!read) {
            return;  // the upload or a question holds the line: the next tick reads
        }
        dialog->m_text1[1]->setText(*read);
        if (!dialog->m_host.entryMemory().NumericEntry) {
            dialog->m_text1[0]->setText(teachReading(*read));
        }
    });
}

void Form3::Command2_Click() {
    // A text Big5 cannot hold is no number either: it is refused with the same words.
    const QString target = m_text1[0]->text();
    if (!target.isEmpty() && !isNumberText(target)) {
        m_host.notice(notNumberMessage(target));
        return;
    }
    sendMove(target);
}

void Form3::jog(bool up) {
    const std::optional<QString> target = jogTarget(m_text1[1]->text(), m_step->currentText(), up);
    if (!target) {
        m_host.notice(tr("寸動需要讀到的座標與數字的寸動量!"));
        return;
    }
    if (sendMove(*target)) {
        m_text1[0]->setText(*target);
    }
}

void Form3::takePosition() {
    if (!m_host.entryMemory().NumericEntry || lineHeld()) {
        return;
    }
    m_host.teach().readPosition([dialog = QPointer(this)](const std::optional<QString>& read) {
        if (!dialog) {
            return;
        }
        if (!read) {
            dialog->m_host.notice(lineHeldMessage());
            return;
        }
        dialog->m_text1[1]->setText(*read);
        const QString reading = teachReading(*read);
        if (!isNumberText(reading)) {
            dialog->m_host.notice(tr("無法讀取滑台座標!"));
            return;
        }
        dialog->m_text1[0]->setText(reading.trimmed());
    });
}

// Only in numeric entry, only while connected, and never while another exchange holds
// the line; true when sent.
bool Form3::sendMove(const QString& target) {
    if (!m_host.entryMemory().NumericEntry || !m_host.teach().isConnected() || lineHeld()) {
        return false;
    }
    const Exchange sent = m_host.teach().moveTo(target);
    if (sent == Exchange::LineHeld) {
        m_host.notice(lineHeldMessage());
    }
    return sent == Exchange::Done;
}

void Form3::confirm() {
    if (lineHeld()) {
        return;  // 確認 stores and sends HON together, or not at all
    }
    const QString target = m_text1[0]->text();
    // A taught target is one position read from the controller, or nothing is stored.
    if (!m_host.entryMemory().NumericEntry && !isNumberText(target)) {
        m_host.notice(tr("無法讀取滑台座標, 未儲存!"));
        return;
    }
    m_timer1.stop();
    if (m_host.reportStore(m_host.program().StoreArmedRow(absoluteMoveRow(target)))) {
        m_host.entryMemory().MoveValue = target;
    }
    m_host.teach().holdSlide(true);
    finish();
}

void Form3::cancel() {
    if (lineHeld()) {
        return;
    }
    m_timer1.stop();
    m_host.teach().holdSlide(true);
    ret();
}

}  // namespace tql
