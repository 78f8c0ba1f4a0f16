#pragma once

#include "session/runhistory.h"

#include <QWidget>

#include <vector>

class QChartView;
class QComboBox;
class QLabel;
class QTableWidget;

namespace tql {

class Prompter;

// 執行紀錄: the measured runs kept, a line each, with the estimate beside what was measured,
// charted over time; for one program or all. 匯出 CSV writes the runs listed.
class RunHistoryWindow final : public QWidget {
    Q_OBJECT

public:
    RunHistoryWindow(Prompter& prompter, QString path, QWidget* parent);

    // The runs read afresh, as the database holds them now.
    void reload();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void showRuns();
    void exportCsv();
    std::vector<RunRecord> chosenRuns() const;

    Prompter& m_prompter;
    const QString m_path;
    std::vector<RunRecord> m_runs;
    QComboBox* m_programs;
    QTableWidget* m_table;
    QChartView* m_chart;
    QLabel* m_error;
};

}  // namespace tql
