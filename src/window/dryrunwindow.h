#pragma once

#include "program/program.h"
#include "session/runhistory.h"
#include "translator/dryrun.h"
#include "translator/measuredrun.h"
#include "translator/shadowrun.h"
#include "window/rowmarks.h"

#include <QElapsedTimer>
#include <QTimer>
#include <QWidget>

#include <array>
#include <functional>
#include <memory>
#include <optional>

class QCheckBox;
class QChartView;
class QComboBox;
class QHBoxLayout;
class QLineEdit;
class QLineSeries;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QValueAxis;

namespace tql {

class Prompter;
class SessionClient;

// 模擬執行: the program run on the controller model, nothing sent on any line. The operator
// sets the inputs at the start and schedules changes; the window charts the position over
// time and sums up one run. It is a debugger too: 執行 (to the end or a breakpoint), 暫停,
// 單步 (one row), 執行到此列 (the row chosen in the list), 重設, as fast as it goes or in
// real time; at every pause it shows the machine, and the inputs may be switched by hand. A
// window of its own beside the main window. With a controller it measures a real run too
// (量測執行): the model's run is drawn, the slide's polled positions over it, and the
// measured times beside the model's.
class DryRunWindow final : public QWidget {
    Q_OBJECT

public:
    // What the window asks of the main window, when it needs it.
    struct Context {
        // The slide's position while connected, where the run starts.
        std::function<std::optional<double>()> livePosition;
        // The row the program list highlights (0: none), where 執行到此列 runs to.
        std::function<int()> chosenRow;
        // The program's file, for the run history; empty for a program never saved.
        std::function<QString()> programFile;
        // Where the measured runs are kept.
        QString historyPath;
    };
    // session: the controller whose runs it measures; none: no measuring.
    DryRunWindow(const Program& program, Prompter& prompter, Context context,
                 SessionClient* session, QWidget* parent);

    // 模擬執行 (F8): a fresh run, to its end or the first breakpoint.
    void run();
    // 量測執行: the controller asked to start its stored program, and the run measured.
    void measure();

signals:
    // A double-click on the summary's first line: the row the run stopped at.
    void rowChosen(int row);
    // The row the run stands at, for the program list to show; 0 when no run stands.
    void executingRow(int row);
    // A measured run was kept in the run history.
    void runRecorded();
    // The row the machine runs as the shadow run tells it, or where it parted; 0: none.
    void machineRow(int row, tql::MachineMark mark);
    // The shadow run's verdict, for the status bar.
    void machineNote(const QString& note);

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void buildControls();
    // trace: the run keeps every row it ran, as a measurement follows them.
    bool startRun(bool trace = false);
    void buildMeasuring(QHBoxLayout* buttons);
    // A measured run: from "G" (the model drawn), each polled position, the end.
    void beginMeasurement();
    void followMeasurement(double seconds, double position);
    void endMeasurement();
    void showMeasurement();
    // The measurement kept in the run history; a history that cannot keep it is said.
    void recordMeasurement();
    // 校正 from the measured run; the calibration of the controller's port, when chosen.
    void calibrateFromMeasurement();
    std::optional<Calibration> calibrationToUse() const;
    // The shadow run of a measurement (dryrunshadow.cpp): from "G" at the slide's position,
    // after each reading, at the measurement's end.
    void beginShadow(double start);
    void followShadow();
    void offerStop();
    void endShadow();
    void showShadowVerdict();
    bool measureDespiteOtherProgram();
    void play(RunLimits limits);
    void playOn();
    void pause();
    void reset();
    void present(Pause pause);
    // The boxes show the inputs the last run started with.
    void restoreStartInputs();
    // A fresh chart with its axes, empty.
    void newChart();
    void showChart();
    void showWatch();
    void showEnabling();
    void programEdited();
    void saveChart();

    const Program& m_program;
    Prompter& m_prompter;
    Context m_context;
    bool m_placed = false;                // beside the main window, at the first showing
    std::unique_ptr<DryRunner> m_runner;  // the run that stands; none before 執行 or after 重設
    InputStates m_startInputs{};
    RunLimits m_playing;
    QTimer m_frames;  // real-time playback, a frame at a time
    QElapsedTimer m_clock;
    double m_playedFrom = 0;  // simulated seconds when the playback started

    std::array<QCheckBox*, kInputs> m_inputs{};
    QLineEdit* m_start;
    QPlainTextEdit* m_changes;
    QPushButton* m_runButton;
    QPushButton* m_pauseButton;
    QPushButton* m_stepButton;
    QPushButton* m_toRowButton;
    QPushButton* m_resetButton;
    QComboBox* m_speed;
    QListWidget* m_summary;
    QListWidget* m_watch;
    QChartView* m_chart;
    SessionClient* m_session;
    std::optional<MeasuredRun> m_measured;
    bool m_measuring = false;
    qsizetype m_modelLines = 0;  // the summary's lines of the model, the measurement's after
    QPushButton* m_measureButton = nullptr;
    QCheckBox* m_fastPoll = nullptr;
    QPushButton* m_calibrateButton = nullptr;
    QCheckBox* m_useCalibration = nullptr;
    std::optional<Calibration> m_calibrationUsed;  // by the run that stands
    RunRecord m_measuredProgram;  // what the measurement is of, as it was at its start
    std::optional<ShadowRun> m_shadow;
    InputStates m_polledInputs{};  // as the console's poll last read them
    int m_shadowRow = 0;           // the row marked for the machine, and how
    MachineMark m_shadowMark = MachineMark::None;
    bool m_shadowJudged = false;      // its verdict shown
    bool m_shadowStopped = false;     // and the controller's program stopped for it
    QLineSeries* m_polled = nullptr;  // of the chart the measurement was started on
    QLineSeries* m_motion = nullptr;
    QLineSeries* m_cursor = nullptr;
    QValueAxis* m_timeAxis = nullptr;
    QValueAxis* m_positionAxis = nullptr;
};

}  // namespace tql
