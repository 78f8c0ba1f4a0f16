#pragma once

#include "dialogs/rowdialog.h"

class QLineEdit;

namespace tql {

// The relative-move dialog: one "MR" row per opening from the editor.
class MR final : public RowDialog {
    Q_OBJECT

public:
    explicit MR(RowDialogHost& host);

private:
    void Command1_Click();

    QLineEdit* m_distance;
};

}  // namespace tql
