#pragma once

#include "program/program.h"

#include <QDialog>
#include <QPushButton>

class QHBoxLayout;

namespace tql {

class RowDialogHost;

// The "+"/"-" button of the input and output dialogs: it holds the sense it shows, so the
// dialog reads the sense, not the caption; a press turns it round.
class SenseButton final : public QPushButton {
public:
    explicit SenseButton(const QString& name);
    bool on() const { return m_on; }
    void setOn(bool on);

private:
    bool m_on = true;
};

// What the six row dialogs share: opened from the main window without blocking it, parented
// to it so they stay in front, discarded when closed, and storing their row through the
// program their RowDialogHost hands them. Only the speed dialog disables the main window, so only
// it enables it again (whichever way it closes); the others leave that alone, so closing
// one of them never frees the main window while a speed dialog is still up.
class RowDialog : public QDialog {
    Q_OBJECT

public:
    RowDialog(RowDialogHost& host, const QString& name, const QString& title);

    // Cancels the entry: all three edit modes cleared, the dialog closed (the cancel of the
    // input-condition, output and absolute-move dialogs).
    void ret();

protected:
    // Ends a confirmation: the list is rebuilt from the table and the dialog closed. A text
    // refused for a control character leaves the dialog open with the operator's typing.
    void finish(StoreOutcome outcome = StoreOutcome::Stored);
    // QDialog's own close handling would go through reject() and close again.
    void closeEvent(QCloseEvent* event) override { QWidget::closeEvent(event); }
    // Esc: what escape() does.
    void reject() override { escape(); }
    // Closes like the close box; a dialog with a 取消 that clears the edit modes makes Esc
    // its 取消, so Esc never leaves a mode armed that 取消 would have cleared.
    virtual void escape() { close(); }
    template <typename T>
    T* named(T* widget, const QString& name) {
        widget->setObjectName(name);
        return widget;
    }
    // A push button that Enter in a field never presses.
    QPushButton* button(const QString& caption, const QString& name);
    // 確認, the dialog's one default button, and 取消.
    QPushButton* confirmButton(const QString& name);
    QPushButton* cancelButton(const QString& name);
    // The buttons side by side, as the bottom line of every dialog.
    static QHBoxLayout* buttonRow(std::initializer_list<QPushButton*> buttons);

    RowDialogHost& m_host;
};

}  // namespace tql
