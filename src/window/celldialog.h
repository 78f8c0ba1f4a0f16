#pragma once

#include "session/cell.h"

#include <QDialog>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTreeWidget;

namespace tql {

// 設定 > 控制器: the controllers of the cell, each a name and a port; a controller is added
// with a name and a port of its own and removed when chosen. The first, on DATA.TXT's port,
// is listed but stays. The dialog only shows the cell and forwards what the operator asks:
// the main window adds, refuses or removes and shows the cell again.
class CellDialog final : public QDialog {
    Q_OBJECT

public:
    explicit CellDialog(QWidget* parent);

    // The cell as it now stands, and why the last addition was refused (empty: it was not).
    void showCell(const Cell& cell, const QString& refusal = {});
    // When the command line named the cell: changes last for this run only.
    void showForThisRun();

signals:
    void addWanted(const CellController& controller);
    void removeWanted(const QString& name);

private:
    void listPorts();

    QTreeWidget* m_list;
    QLineEdit* m_name;
    QComboBox* m_port;
    QPushButton* m_add;
    QPushButton* m_remove;
    QLabel* m_note;
    QLabel* m_forThisRun;
};

}  // namespace tql
