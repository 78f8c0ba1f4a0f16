#pragma once

#include "program/program.h"
#include "translator/dryrun.h"

#include <QWidget>

#include <array>
#include <functional>
#include <optional>

class QCheckBox;
class QChartView;
class QLabel;
class QListWidget;
class QLineEdit;
class QPlainTextEdit;

namespace tql {

class Prompter;

// 模擬執行: the program run on the controller model, nothing sent on any line. The operator
// sets the inputs at the start and schedules changes; the window charts the position over
// time and sums up one run. A window of its own beside the main window.
class DryRunWindow final : public QWidget {
    Q_OBJECT

public:
    // livePosition: the slide's position while connected, where the run starts.
    DryRunWindow(const Program& program, Prompter& prompter,
                 std::function<std::optional<double>()> livePosition, QWidget* parent);

    void run();

signals:
    // A double-click on the summary's first line: the row the run stopped at.
    void rowChosen(int row);

protected:
    void showEvent(QShowEvent* event) override;

private:
    void saveChart();

    const Program& m_program;
    Prompter& m_prompter;
    std::function<std::optional<double>()> m_livePosition;
    std::array<QCheckBox*, kInputs> m_inputs{};
    QLineEdit* m_start;
    QPlainTextEdit* m_changes;
    QListWidget* m_summary;
    QChartView* m_chart;
};

}  // namespace tql
