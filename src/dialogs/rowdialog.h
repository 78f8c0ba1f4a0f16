#pragma once

#include <QDialog>

class QGridLayout;

namespace tql {

class FORM1;

// What the six row dialogs share: opened from the main window without blocking it, parented
// to it so they stay in front, discarded when closed, and reading and writing the main
// window's shared state directly.
class RowDialog : public QDialog {
    Q_OBJECT

public:
    RowDialog(FORM1& form, const QString& name, const QString& title);

protected:
    // Ends a confirmation: the list is rebuilt from the table, the main window enabled, the
    // dialog closed.
    void finish();
    // However the dialog closes (a button, Esc, its close box), the main window is usable.
    void closeEvent(QCloseEvent* event) override;
    void reject() override { close(); }
    template <typename T>
    T* named(T* widget, const QString& name) {
        widget->setObjectName(name);
        return widget;
    }

    FORM1& m_form;
};

}  // namespace tql
