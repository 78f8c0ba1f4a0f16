#pragma once

#include <QDialog>

class QHBoxLayout;
class QPushButton;

namespace tql {

class FORM1;

// What the six row dialogs share: opened from the main window without blocking it, parented
// to it so they stay in front, discarded when closed, and reading and writing the main
// window's shared state directly.
class RowDialog : public QDialog {
    Q_OBJECT

public:
    RowDialog(FORM1& form, const QString& name, const QString& title);

    // Cancels the entry: all three edit modes cleared, the main window enabled, the dialog
    // closed (the cancel of the input-condition, output and absolute-move dialogs).
    void ret();

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
    QPushButton* button(const QString& caption, const QString& name);
    // The buttons side by side, as the bottom line of every dialog.
    static QHBoxLayout* buttonRow(std::initializer_list<QPushButton*> buttons);

    FORM1& m_form;
};

}  // namespace tql
