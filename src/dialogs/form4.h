#pragma once

#include "dialogs/rowdialog.h"

class QLabel;
class QLineEdit;
class QSlider;

namespace tql {

// The speed dialog: one "VM" row set on a slider, or typed beside it. The main window is disabled
// while it is open; it has no cancel button, and its close box stores nothing.
class Form4 final : public RowDialog {
    Q_OBJECT

public:
    explicit Form4(RowDialogHost& host);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void Command1_Click();
    bool takeTyped();

    QSlider* m_slider;
    QLabel* m_label1;
    QLineEdit* m_typed;
};

}  // namespace tql
