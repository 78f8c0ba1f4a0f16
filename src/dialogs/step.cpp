#include "dialogs/step.h"

#include "dialogs/rowdialoghost.h"
#include "program/dialogrows.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace tql {

STEP::STEP(RowDialogHost& host) : RowDialog(host, QStringLiteral("STEP"), QStringLiteral("STEP")) {
    auto* stepCaption = named(new QLabel(tr("輸入步驟 :")), QStringLiteral("Label1(2)"));
    // Eight leading blanks: the caption has always been set in line with the one above.
    auto* commentCaption = named(new QLabel(tr("        註解 :")), QStringLiteral("Label1(5)"));
    m_step = named(new QLineEdit, QStringLiteral("Text1"));
    m_comment = named(new QLineEdit, QStringLiteral("Text2"));
    m_step->setMinimumWidth(200);
    auto* confirm = confirmButton(QStringLiteral("Command1"));
    auto* cancel = cancelButton(QStringLiteral("Command2"));
    auto* grid = new QGridLayout(this);
    grid->addWidget(stepCaption, 0, 0, Qt::AlignRight);
    grid->addWidget(m_step, 0, 1);
    grid->addWidget(commentCaption, 1, 0, Qt::AlignRight);
    grid->addWidget(m_comment, 1, 1);
    grid->addLayout(buttonRow({confirm, cancel}), 2, 0, 1, 2);
    connect(confirm, &QPushButton::clicked, this, &STEP::Command1_Click);
    // 取消 leaves the edit modes and EntryArmed as they are: a pending insert stays pending.
    connect(cancel, &QPushButton::clicked, this, &QWidget::close);

    if (const std::optional<Row> modified = m_host.program().rowBeingModified()) {
        m_step->setText((*modified)[1]);
        m_comment->setText((*modified)[2]);
    }
}

void STEP::Command1_Click() {
    const StoreOutcome outcome =
        m_host.program().StoreArmedRow(customStepRow(m_step->text(), m_comment->text()));
    m_host.reportStore(outcome);
    finish(outcome);
}

}  // namespace tql
