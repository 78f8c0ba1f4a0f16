#pragma once

#include "dialogs/rowdialog.h"

#include <QTimer>

#include <array>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace tql {

// The absolute-move and teach dialog: the target is typed, or taught by moving the slide
// by hand (hold off) while the live coordinate is read every 200 ms.
class Form3 final : public RowDialog {
    Q_OBJECT

public:
    explicit Form3(RowDialogHost& host);

    void ReadTeachPosition();

private:
    void Form_Load();
    void Option2_Click(int index);
    void Timer1_Timer();
    void Command2_Click();
    // The jog: "MA " and the last read position plus or minus the step, as 定位 sends it.
    void jog(bool up);
    bool mayMove();
    void sendMove(const QString& target);
    void confirm();
    void cancel();
    bool lineHeld();

    QTimer m_timer1;
    std::array<QLineEdit*, 2> m_text1{};  // 0: target, 1: live coordinate
    std::array<QRadioButton*, 2> m_entry{};
    QComboBox* m_step;
    QLabel* m_panel1;
};

}  // namespace tql
