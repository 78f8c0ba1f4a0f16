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

protected:
    // However the dialog closes (確認, 取消, Esc, the close box), a slide it freed is held.
    void closeEvent(QCloseEvent* event) override;
    void escape() override { cancel(); }

private:
    void Form_Load();
    void Option2_Click(int index);
    void Timer1_Timer();
    void Command2_Click();
    // The jog: "MA " and the last read position plus or minus the step, as 定位 sends it; the
    // target becomes the jogged one, so 確認 stores where the slide was sent.
    void jog(bool up);
    // 取目前位置: the live position, read with the slide held, becomes the target.
    void takePosition();
    // The buttons that move the slide or read it for the target act only in numeric entry
    // while connected; otherwise they are off and say why.
    void showMoveButtons();
    bool sendMove(const QString& target);
    void confirm();
    void cancel();
    bool lineHeld();

    QTimer m_timer1;
    bool m_reading = false;               // a teach reading on its way
    std::array<QLineEdit*, 2> m_text1{};  // 0: target, 1: live coordinate
    std::array<QRadioButton*, 2> m_entry{};
    QComboBox* m_step;
    QLabel* m_panel1;
    std::array<QPushButton*, 4> m_moveButtons{};  // −, +, 定位, 取目前位置
};

}  // namespace tql
