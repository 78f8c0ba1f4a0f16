#pragma once

#include "dialogs/rowdialog.h"

class QComboBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace tql {

// The input-condition dialog: wait for an input, or jump to / call a label on it.
class XIN final : public RowDialog {
    Q_OBJECT

public:
    explicit XIN(RowDialogHost& host);

private:
    void Form_Load();
    void Option1_Click(int index);
    void Command1_Click();
    void escape() override { ret(); }

    SenseButton* m_sense;
    QComboBox* m_input;
    QLineEdit* m_label;
    std::array<QRadioButton*, 3> m_kinds{};
};

}  // namespace tql
