#pragma once

#include "dialogs/rowdialog.h"
#include "program/switches.h"

#include <array>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace tql {

// The output dialog: all four outputs from a bit pattern, or one output on, off or pulsed.
class XOUT final : public RowDialog {
    Q_OBJECT

public:
    explicit XOUT(RowDialogHost& host);

    void SETPON();
    void SETPOFF();
    void OUTPON();
    void OUTPOFF();

private:
    void Form_Load();
    void Option1_Click(int index);
    void Command1_Click();
    void escape() override { ret(); }
    void setSingleGroupEnabled(bool enabled);
    void setBitsEnabled(bool enabled);

    std::array<QRadioButton*, 2> m_modes{};
    SenseButton* m_sense;
    QComboBox* m_output;
    QCheckBox* m_pulse;
    QLineEdit* m_time;
    std::array<QCheckBox*, kOutputs> m_bits{};
};

}  // namespace tql
