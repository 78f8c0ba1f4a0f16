#include "dialogs/mr.h"

#include "dialogs/rowdialoghost.h"
#include "program/dialogrows.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace tql {

MR::MR(RowDialogHost& host) : RowDialog(host, QStringLiteral("MR"), tr("相對移動")) {
    auto* caption = named(new QLabel(tr(" X軸距離 :")), QStringLiteral("Label1"));
    m_distance = named(new QLineEdit, QStringLiteral("Text1"));
    auto* confirm = confirmButton(QStringLiteral("Command1"));
    auto* cancel = cancelButton(QStringLiteral("Command2"));
    auto* grid = new QGridLayout(this);
    grid->addWidget(caption, 0, 0);
    grid->addWidget(m_distance, 0, 1);
    grid->addLayout(buttonRow({confirm, cancel}), 1, 0, 1, 2);
    connect(confirm, &QPushButton::clicked, this, &MR::Command1_Click);
    // 取消 leaves the edit modes and EntryArmed as they are: a pending insert stays pending.
    connect(cancel, &QPushButton::clicked, this, &QWidget::close);

    const std::optional<Row> modified = m_host.program().rowBeingModified();
    m_distance->setText(modified ? (*modified)[2] : QStringLiteral("0"));
}

void MR::Command1_Click() {
    const QString distance = m_distance->text();
    const StoreOutcome outcome = m_host.program().StoreArmedRow(relativeMoveRow(distance));
    if (m_host.reportStore(outcome)) {
        m_host.entryMemory().MoveValue = distance;  // the absolute-move dialog opens with it
    }
    finish(outcome);
}

}  // namespace tql
