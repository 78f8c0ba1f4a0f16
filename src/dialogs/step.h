#pragma once

#include "dialogs/rowdialog.h"

class QLineEdit;

namespace tql {

// The custom-step dialog: a line of free controller text with a comment beside it.
class STEP final : public RowDialog {
    Q_OBJECT

public:
    explicit STEP(RowDialogHost& host);

private:
    void Command1_Click();

    QLineEdit* m_step;
    QLineEdit* m_comment;
};

}  // namespace tql
