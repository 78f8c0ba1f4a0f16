#include "dialogs/xin.h"

#include "dialogs/rowdialoghost.h"
#include "program/inputconditionrows.h"
#include "program/switches.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

namespace tql {

XIN::XIN(RowDialogHost& host) : RowDialog(host, QStringLiteral("XIN"), QStringLiteral("IN")) {
    m_sense = new SenseButton(QStringLiteral("Command3"));
    m_input = named(new QComboBox, QStringLiteral("Combo1"));
    m_input->setEditable(true);
    m_input->setMinimumWidth(64);
    for (int n = 1; n <= kInputs; ++n) {
        m_input->addItem(QString::number(n));
    }
    const QString captions[] = {QStringLiteral("IN"), tr("跳至標籤(JP)"), tr("呼叫標籤(CALL)")};
    for (int i = 0; i < 3; ++i) {
        m_kinds[i] = named(new QRadioButton(captions[i]), QStringLiteral("Option1(%1)").arg(i));
        connect(m_kinds[i], &QRadioButton::clicked, this, [this, i] { Option1_Click(i); });
    }
    // Two marks that say nothing by themselves.
    m_sense->setToolTip(tr("+: 等待輸入變 1 (ON); -: 等待輸入變 0 (OFF); 按一下切換"));
    m_kinds[0]->setToolTip(tr("等待輸入, 不跳躍"));
    m_label = named(new QLineEdit, QStringLiteral("Text1"));
    auto* labelCaption = named(new QLabel(tr("標籤 : ")), QStringLiteral("Label1"));
    auto* confirm = confirmButton(QStringLiteral("Command1"));
    auto* cancel = cancelButton(QStringLiteral("Command2"));

    auto* grid = new QGridLayout(this);
    grid->addWidget(m_sense, 0, 0);
    grid->addWidget(m_input, 0, 1);
    for (int i = 0; i < 3; ++i) {
        grid->addWidget(m_kinds[i], i, 2, 1, 2);
    }
    grid->addWidget(labelCaption, 3, 2);
    grid->addWidget(m_label, 3, 3);
    grid->addLayout(buttonRow({confirm, cancel}), 4, 0, 1, 4);

    connect(confirm, &QPushButton::clicked, this, &XIN::Command1_Click);
    connect(cancel, &QPushButton::clicked, this, &RowDialog::ret);
    Form_Load();
}

void XIN::Form_Load() {
    m_sense->setOn(true);
    m_kinds[0]->setChecked(true);
    Option1_Click(0);
    m_kinds[2]->setEnabled(false);  // calls on an input are shown, never chosen
    m_label->clear();
    m_input->setEditText(QString());
    const std::optional<Row> modified = m_host.program().rowBeingModified();
    if (!modified) {
        return;
    }
    if (const auto condition = inputConditionOf(*modified)) {
        m_sense->setOn(condition->on);
        const int kind = int(condition->kind);
        m_kinds[kind]->setChecked(true);
        Option1_Click(kind);
        m_input->setEditText(condition->input);
        if (condition->kind != InputConditionKind::Wait) {
            m_label->setText(condition->label);
        }
    }
}

void XIN::Option1_Click(int index) {
    m_label->setEnabled(index != 0);
}

void XIN::Command1_Click() {
    if (m_input->currentText().isEmpty()) {
        ret();
        return;
    }
    InputCondition condition;
    condition.kind = m_kinds[2]->isChecked()   ? InputConditionKind::Call
                     : m_kinds[1]->isChecked() ? InputConditionKind::Jump
                                               : InputConditionKind::Wait;
    condition.on = m_sense->on();
    condition.input = m_input->currentText();
    condition.label = m_label->text();
    const StoreOutcome outcome = m_host.program().StoreRow(inputConditionRow(condition));
    m_host.reportStore(outcome);
    finish(outcome);
}

}  // namespace tql
