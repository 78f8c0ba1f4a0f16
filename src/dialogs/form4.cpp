#include "dialogs/form4.h"

#include "dialogs/rowdialoghost.h"
#include "program/dialogrows.h"

#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QSlider>

namespace tql {
namespace {

constexpr int kMaxSpeed = 500;

}  // namespace

Form4::Form4(RowDialogHost& host) : RowDialog(host, QStringLiteral("Form4"), tr("速度")) {
    m_slider = named(new QSlider(Qt::Horizontal), QStringLiteral("Slider1"));
    m_slider->setRange(0, kMaxSpeed);
    m_slider->setMinimumWidth(260);
    m_label1 = named(new QLabel, QStringLiteral("Label1"));
    m_label1->setMinimumWidth(36);
    m_label1->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    auto* unit = named(new QLabel(QStringLiteral("MM/SEC")), QStringLiteral("Label2"));
    auto* confirm = confirmButton(QStringLiteral("Command1"));
    auto* grid = new QGridLayout(this);
    grid->addWidget(m_slider, 0, 0, 1, 3);
    grid->addWidget(m_label1, 1, 0);
    grid->addWidget(unit, 1, 1);
    grid->addWidget(confirm, 1, 2);
    connect(confirm, &QPushButton::clicked, this, &Form4::Command1_Click);
    // The label follows every move of the slider (mouse, keys, wheel), so it always shows
    // the speed that 確認 stores.
    connect(m_slider, &QSlider::valueChanged, m_label1,
            [this](int value) { m_label1->setText(QString::number(value)); });

    m_slider->setValue(m_host.entryMemory().SpeedValue.toInt());
    m_label1->setText(m_host.entryMemory().SpeedValue);
}

void Form4::closeEvent(QCloseEvent* event) {
    m_host.setMainWindowEnabled(true);  // by 確認 or the close box, storing nothing
    RowDialog::closeEvent(event);
}

void Form4::Command1_Click() {
    QString& speed = m_host.entryMemory().SpeedValue;
    speed = QString::number(m_slider->value());
    m_host.reportStore(m_host.program().StoreRow(speedRow(speed)));
    finish();
}

}  // namespace tql
