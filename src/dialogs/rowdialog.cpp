#include "dialogs/rowdialog.h"

#include "dialogs/rowdialoghost.h"

#include <QHBoxLayout>
#include <QPushButton>

namespace tql {

RowDialog::RowDialog(RowDialogHost& host, const QString& name, const QString& title)
    : QDialog(host.hostWindow()), m_host(host) {
    setObjectName(name);
    setWindowTitle(title);
    setAttribute(Qt::WA_DeleteOnClose);
    setModal(false);
}

void RowDialog::ret() {
    m_host.program().ClearEditModes();
    close();
}

SenseButton::SenseButton(const QString& name) : QPushButton(QStringLiteral("+")) {
    setObjectName(name);
    setAutoDefault(false);  // Enter in a field never flips it
    setFixedWidth(36);
    connect(this, &QPushButton::clicked, this, [this] { setOn(!m_on); });
}

void SenseButton::setOn(bool on) {
    m_on = on;
    setText(on ? QStringLiteral("+") : QStringLiteral("-"));
}

QPushButton* RowDialog::button(const QString& caption, const QString& name) {
    auto* b = named(new QPushButton(caption), name);
    // Enter in a field confirms; it never flips a sense button or sends a move.
    b->setAutoDefault(false);
    return b;
}

QPushButton* RowDialog::confirmButton(const QString& name) {
    QPushButton* confirm = button(tr("確認"), name);
    confirm->setDefault(true);
    return confirm;
}

QPushButton* RowDialog::cancelButton(const QString& name) {
    return button(tr("取消"), name);
}

QHBoxLayout* RowDialog::buttonRow(std::initializer_list<QPushButton*> buttons) {
    auto* row = new QHBoxLayout;
    for (QPushButton* b : buttons) {
        row->addWidget(b);
    }
    return row;
}

void RowDialog::finish(StoreOutcome outcome) {
    if (outcome == StoreOutcome::ControlCharacter) {
        return;
    }
    close();
}

}  // namespace tql
