#include "dialogs/form4.h"

#include "dialogs/rowdialoghost.h"
#include "program/dialogrows.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
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
    // A value typed beside the slider, within the slider's limits: 200 needs no ten
    // PageUp presses.
    m_typed = named(new QLineEdit, QStringLiteral("SpeedTyped"));
    m_typed->setMaximumWidth(64);
    m_typed->setToolTip(tr("輸入 0 到 %1 的速度").arg(kMaxSpeed));
    auto* confirm = confirmButton(QStringLiteral("Command1"));
    auto* grid = new QGridLayout(this);
    grid->addWidget(m_slider, 0, 0, 1, 3);
    grid->addWidget(m_typed, 0, 3);
    grid->addWidget(m_label1, 1, 0);
    grid->addWidget(unit, 1, 1);
    grid->addWidget(confirm, 1, 2, 1, 2);
    // The slider follows what is typed while it is a speed; Enter is 確認, as in the
    // other dialogs, and says what is not.
    connect(m_typed, &QLineEdit::textEdited, this, [this](const QString& text) {
        bool number = false;
        const int value = text.trimmed().toInt(&number);
        if (number && value >= 0 && value <= kMaxSpeed) {
            m_slider->setValue(value);
        }
    });
    connect(confirm, &QPushButton::clicked, this, &Form4::Command1_Click);
    // The label follows every move of the slider (mouse, keys, wheel), so it always shows
    // the speed that 確認 stores.
    connect(m_slider, &QSlider::valueChanged, m_label1, [this](int value) {
        m_label1->setText(QString::number(value));
        if (m_typed->text().trimmed() != QString::number(value)) {  // not while typing it
            m_typed->setText(QString::number(value));
        }
    });

    m_slider->setValue(m_host.entryMemory().SpeedValue.toInt());
    m_label1->setText(m_host.entryMemory().SpeedValue);
    m_typed->setText(QString::number(m_slider->value()));
}

// The typed value, taken by 確認: one outside the slider's limits, or no whole number, is
// refused with the limits named, the slider left where it was.
bool Form4::takeTyped() {
    const QString text = m_typed->text().trimmed();
    bool number = false;
    const int value = text.toInt(&number);
    if (!number || value < 0 || value > kMaxSpeed) {
        m_host.notice(tr("速度「%1」不是 0 到 %2 之間的整數!").arg(text).arg(kMaxSpeed));
        m_typed->setFocus();
        m_typed->selectAll();
        return false;
    }
    m_slider->setValue(value);
    return true;
}

void Form4::closeEvent(QCloseEvent* event) {
    m_host.setMainWindowEnabled(true);  // by 確認 or the close box, storing nothing
    RowDialog::closeEvent(event);
}

// A value typed and not yet taken is taken first: 確認 stores what the operator sees.
void Form4::Command1_Click() {
    if (m_typed->text().trimmed() != QString::number(m_slider->value()) && !takeTyped()) {
        return;
    }
    QString& speed = m_host.entryMemory().SpeedValue;
    speed = QString::number(m_slider->value());
    m_host.reportStore(m_host.program().StoreRow(speedRow(speed)));
    finish();
}

}  // namespace tql
