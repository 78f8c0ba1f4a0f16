#include "window/celldialog.h"

#include "link/portname.h"
#include "link/qtserialline.h"
#include "window/controls.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSerialPortInfo>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace tql {

CellDialog::CellDialog(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("CellDialog"));
    setWindowTitle(tr("控制器"));
    m_list = new QTreeWidget;
    m_list->setObjectName(QStringLiteral("CellList"));
    m_list->setHeaderLabels({tr("名稱"), tr("連接埠")});
    m_list->setRootIsDecorated(false);
    m_list->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    m_list->setAccessibleName(tr("控制器"));
    m_name = new QLineEdit;
    m_name->setObjectName(QStringLiteral("CellName"));
    m_port = new QComboBox;
    m_port->setObjectName(QStringLiteral("CellPort"));
    m_port->setEditable(true);
    m_port->setMinimumContentsLength(16);
    m_add = new QPushButton(tr("新增"));
    m_add->setObjectName(QStringLiteral("CellAdd"));
    m_remove = new QPushButton(tr("移除"));
    m_remove->setObjectName(QStringLiteral("CellRemove"));
    m_note = new QLabel;
    m_note->setObjectName(QStringLiteral("CellNote"));
    m_note->setWordWrap(true);
    QPalette palette = m_note->palette();
    palette.setColor(QPalette::WindowText, kErrorColour);
    m_note->setPalette(palette);
    m_forThisRun = new QLabel(tr("這次執行的控制器由命令列指定, 變更不會儲存."));
    m_forThisRun->setWordWrap(true);
    m_forThisRun->hide();

    auto* fields = new QFormLayout;
    fields->addRow(tr("名稱:"), m_name);
    fields->addRow(tr("連接埠:"), m_port);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_add);
    buttons->addWidget(m_remove);
    buttons->addStretch();
    auto* close = new QDialogButtonBox(QDialogButtonBox::Close);
    close->button(QDialogButtonBox::Close)->setText(tr("關閉"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_list);
    layout->addLayout(fields);
    layout->addLayout(buttons);
    layout->addWidget(m_note);
    layout->addWidget(m_forThisRun);
    layout->addWidget(close);

    connect(close, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_add, &QPushButton::clicked, this, [this] {
        emit addWanted({m_name->text().trimmed(), m_port->currentText().trimmed()});
    });
    connect(m_name, &QLineEdit::returnPressed, m_add, &QPushButton::click);
    // The first stays: it is DATA.TXT's controller.
    connect(m_list, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* item) {
        m_remove->setEnabled(item != nullptr && m_list->indexOfTopLevelItem(item) > 0);
    });
    connect(m_remove, &QPushButton::clicked, this, [this] {
        if (const QTreeWidgetItem* item = m_list->currentItem()) {
            emit removeWanted(item->text(0));
        }
    });
    listPorts();
}

// COM1..COM4 as 設定 > COM_PORT names them, and the ports the system reports now.
void CellDialog::listPorts() {
    for (int n = 1; n <= 4; ++n) {
        m_port->addItem(QStringLiteral("COM%1").arg(n));
    }
    for (const QSerialPortInfo& port : QSerialPortInfo::availablePorts()) {
        const QString name = systemPortName(port);
        if (m_port->findText(name) < 0) {
            m_port->addItem(name);
        }
    }
    m_port->setCurrentText({});
}

void CellDialog::showCell(const Cell& cell, const QString& refusal) {
    m_list->clear();
    for (const CellController& controller : cell.controllers()) {
        auto* item =
            new QTreeWidgetItem(m_list, {controller.name, portDisplayName(controller.port)});
        item->setToolTip(1, portDeviceName(controller.port));
    }
    m_list->topLevelItem(0)->setToolTip(0, tr("DATA.TXT 的連接埠 (設定 > COM_PORT)"));
    m_remove->setEnabled(false);
    m_note->setText(refusal);
    if (refusal.isEmpty()) {
        m_name->clear();
        m_port->setCurrentText({});
    }
}

void CellDialog::showForThisRun() {
    m_forThisRun->show();
}

}  // namespace tql
