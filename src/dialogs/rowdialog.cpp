#include "dialogs/rowdialog.h"

#include "window/form1.h"

#include <QHBoxLayout>
#include <QPushButton>

namespace tql {

RowDialog::RowDialog(FORM1& form, const QString& name, const QString& title)
    : QDialog(&form), m_form(form) {
    setObjectName(name);
    setWindowTitle(title);
    setAttribute(Qt::WA_DeleteOnClose);
    setModal(false);
}

void RowDialog::ret() {
    ClearEditModes(m_form.shared);
    close();
}

QPushButton* RowDialog::button(const QString& caption, const QString& name) {
    auto* b = named(new QPushButton(caption), name);
    // Enter in a field confirms; it never flips a sense button or sends a move.
    b->setAutoDefault(false);
    b->setDefault(caption == u"確認");
    return b;
}

QHBoxLayout* RowDialog::buttonRow(std::initializer_list<QPushButton*> buttons) {
    auto* row = new QHBoxLayout;
    for (QPushButton* b : buttons) {
        row->addWidget(b);
    }
    return row;
}

void RowDialog::finish() {
    m_form.show_it();
    close();
}

}  // namespace tql
