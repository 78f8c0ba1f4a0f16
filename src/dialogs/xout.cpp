#include "dialogs/xout.h"

#include "controller/limits.h"
#include "dialogs/rowdialoghost.h"
#include "program/outputrows.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

namespace tql {

XOUT::XOUT(RowDialogHost& host) : RowDialog(host, QStringLiteral("XOUT"), QStringLiteral("OUT")) {
    m_modes[0] = named(new QRadioButton(tr("單位元")), QStringLiteral("Option1(0)"));
    m_modes[1] = named(new QRadioButton(tr("全部位元")), QStringLiteral("Option1(1)"));
    m_sense = new SenseButton(QStringLiteral("Command3"));
    m_output = named(new QComboBox, QStringLiteral("Combo1"));
    m_output->setEditable(true);
    m_output->setMinimumWidth(64);
    // Every output a program may name; the slide table wires the first four.
    for (int n = 1; n <= int(controller::kOutputLimit.high); ++n) {
        m_output->addItem(QString::number(n));
    }
    m_pulse = named(new QCheckBox(tr("脈波輸出")), QStringLiteral("Check1"));
    m_time = named(new QLineEdit, QStringLiteral("Text1"));
    m_time->setFixedWidth(70);
    auto* unit = named(new QLabel(tr("千分秒")), QStringLiteral("Label1"));
    auto* frame = new QGroupBox(QStringLiteral("OUTPUT"));
    auto* frameRow = new QHBoxLayout(frame);
    for (int n = 1; n <= kOutputs; ++n) {
        m_bits[n - 1] =
            named(new QCheckBox(QString::number(n)), QStringLiteral("Check4(%1)").arg(n));
        frameRow->addWidget(m_bits[n - 1]);
    }
    auto* confirm = confirmButton(QStringLiteral("Command1"));
    auto* cancel = cancelButton(QStringLiteral("Command2"));

    auto* grid = new QGridLayout(this);
    grid->addWidget(m_modes[0], 0, 0);
    grid->addWidget(m_sense, 0, 1);
    grid->addWidget(m_output, 0, 2);
    grid->addWidget(m_pulse, 0, 3);
    grid->addWidget(m_time, 0, 4);
    grid->addWidget(unit, 0, 5);
    grid->addWidget(m_modes[1], 1, 0);
    grid->addWidget(frame, 1, 1, 1, 5);
    grid->addLayout(buttonRow({confirm, cancel}), 2, 0, 1, 6);

    for (int i = 0; i < 2; ++i) {
        connect(m_modes[i], &QRadioButton::clicked, this, [this, i] { Option1_Click(i); });
    }
    connect(confirm, &QPushButton::clicked, this, &XOUT::Command1_Click);
    connect(cancel, &QPushButton::clicked, this, &RowDialog::ret);
    Form_Load();
}

void XOUT::Form_Load() {
    SETPOFF();
    OUTPOFF();
    m_sense->setOn(true);
    m_output->setEditText(QString());
    m_time->setText(OutputChoice{}.pulseTime);
    const std::optional<Row> modified = m_host.program().rowBeingModified();
    if (!modified) {
        return;
    }
    const OutputChoice choice = outputChoiceOf(*modified);
    const int mode = choice.allOutputs ? 1 : 0;
    m_modes[mode]->setChecked(true);
    Option1_Click(mode);
    if (choice.allOutputs) {
        for (int n = 0; n < kOutputs; ++n) {
            m_bits[n]->setChecked(choice.bits[n]);
        }
        return;
    }
    m_sense->setOn(choice.on);
    m_pulse->setChecked(choice.pulse);
    if (choice.pulse) {
        m_time->setText(choice.pulseTime);
    }
    m_output->setEditText(choice.output);
}

void XOUT::setSingleGroupEnabled(bool enabled) {
    for (QWidget* w : std::initializer_list<QWidget*>{m_sense, m_output, m_pulse, m_time}) {
        w->setEnabled(enabled);
    }
}

void XOUT::setBitsEnabled(bool enabled) {
    for (QCheckBox* box : m_bits) {
        box->setEnabled(enabled);
    }
}

void XOUT::SETPON() {
    setSingleGroupEnabled(true);
}
void XOUT::SETPOFF() {
    setSingleGroupEnabled(false);
}
void XOUT::OUTPON() {
    setBitsEnabled(true);
}
void XOUT::OUTPOFF() {
    setBitsEnabled(false);
}

void XOUT::Option1_Click(int index) {
    if (index == 0) {
        SETPON();
        OUTPOFF();
    } else {
        SETPOFF();
        OUTPON();
    }
}

void XOUT::Command1_Click() {
    OutputChoice choice;
    choice.allOutputs = m_modes[1]->isChecked();
    if (!choice.allOutputs && m_output->currentText().isEmpty()) {
        ret();
        return;
    }
    choice.on = m_sense->on();
    choice.output = m_output->currentText();
    choice.pulse = m_pulse->isChecked();
    choice.pulseTime = m_time->text();
    for (int n = 0; n < kOutputs; ++n) {
        choice.bits[n] = m_bits[n]->isChecked();
    }
    const StoreOutcome outcome = m_host.program().StoreRow(outputRow(choice));
    m_host.reportStore(outcome);
    finish(outcome);
}

}  // namespace tql
