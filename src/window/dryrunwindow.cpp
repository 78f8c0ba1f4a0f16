#include "window/dryrunwindow.h"

#include "session/fieldtext.h"
#include "window/chartpoints.h"
#include "window/controls.h"
#include "window/prompter.h"

#include <QChart>
#include <QChartView>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLineSeries>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QVBoxLayout>

namespace tql {
namespace {

constexpr std::chrono::milliseconds kFrame{16};

QPushButton* button(const QString& caption, const char* name) {
    auto* pressed = new QPushButton(caption);
    pressed->setObjectName(QString::fromLatin1(name));
    return pressed;
}

}  // namespace

DryRunWindow::DryRunWindow(const Program& program, Prompter& prompter, Context context,
                           SessionClient* session, QWidget* parent)
    : QWidget(parent, Qt::Window),
      m_program(program),
      m_prompter(prompter),
      m_context(std::move(context)),
      m_session(session) {
    setObjectName(QStringLiteral("DryRun"));
    setWindowTitle(tr("模擬執行"));
    buildControls();
    newChart();
    // Esc closes the window at any time; out of sight a playing run pauses.
    connect(new QShortcut(Qt::Key_Escape, this), &QShortcut::activated, this, &QWidget::close);
    m_frames.setInterval(kFrame);
    connect(&m_frames, &QTimer::timeout, this, &DryRunWindow::playOn);
    connect(&m_program, &Program::tableChanged, this, &DryRunWindow::programEdited);
    showEnabling();
}

void DryRunWindow::buildControls() {
    auto* inputs = new QGroupBox(tr("輸入 (開始時; 暫停時可切換)"));
    auto* inputRow = new QHBoxLayout(inputs);
    for (int k = 0; k < kInputs; ++k) {
        QCheckBox* input = m_inputs[size_t(k)] = new QCheckBox(QString::number(k + 1));
        input->setObjectName(QStringLiteral("DryInput(%1)").arg(k + 1));
        inputRow->addWidget(input);
        // While a run is paused the boxes are its inputs: a hand on a sensor.
        connect(input, &QCheckBox::clicked, this, [this, k](bool on) {
            if (m_runner && !m_runner->ended()) {
                m_runner->setInput(k + 1, on);
                showWatch();
            }
        });
    }
    m_start = new QLineEdit(QStringLiteral("0"));
    m_start->setObjectName(QStringLiteral("DryStart"));
    m_changes = new QPlainTextEdit;
    m_changes->setObjectName(QStringLiteral("DryChanges"));
    m_changes->setPlaceholderText(tr("輸入 3 在 2.0 秒時變 1\n輸入 3 在等待 0.5 秒後變 1"));
    m_changes->setMaximumHeight(64);
    m_runButton = button(tr("執行"), "DryRunStart");
    m_pauseButton = button(tr("暫停"), "DryPause");
    m_stepButton = button(tr("單步"), "DryStep");
    m_toRowButton = button(tr("執行到此列"), "DryToRow");
    m_resetButton = button(tr("重設"), "DryReset");
    m_speed = new QComboBox;
    m_speed->setObjectName(QStringLiteral("DrySpeed"));
    m_speed->addItem(tr("最快"), 0.0);
    for (const double times : {1.0, 2.0, 5.0, 10.0}) {
        m_speed->addItem(tr("%1 倍").arg(times), times);
    }
    auto* save = button(tr("儲存圖表..."), "DrySave");
    m_summary = new QListWidget;
    m_summary->setObjectName(QStringLiteral("DrySummary"));
    m_summary->setMaximumHeight(120);
    m_watch = new QListWidget;
    m_watch->setObjectName(QStringLiteral("DryWatch"));
    m_watch->setAccessibleName(tr("機器狀態"));
    // As wide as its longest lines, in the language shown.
    Watch widest;
    widest.seconds = widest.position = widest.speed = -99999.999;
    widest.speedSetting = 1000000;
    widest.acceleration = 10000000;
    widest.row = kMaxProgramRows;
    widest.loops = {{kMaxProgramRows, 1, 999999}};
    widest.calls = {kMaxProgramRows};
    int width = 0;
    for (const QString& line : watchText(widest)) {
        width = std::max(width, m_watch->fontMetrics().horizontalAdvance(line));
    }
    m_watch->setFixedWidth(width + 2 * m_watch->frameWidth() + 16);
    auto* assumption = new QLabel(
        tr("模型的假設: 移動以 VM 速度、VA 加速度的梯形曲線進行; 實際控制器的曲線可能不同."));
    assumption->setWordWrap(true);
    m_chart = new QChartView(new QChart);
    m_chart->setObjectName(QStringLiteral("DryChart"));
    m_chart->setRenderHint(QPainter::Antialiasing);
    m_chart->setMinimumSize(520, 260);
    m_chart->chart()->legend()->hide();

    auto* settings = new QGridLayout;
    settings->addWidget(inputs, 0, 0, 1, 3);
    settings->addWidget(new QLabel(tr("起始位置:")), 1, 0);
    settings->addWidget(m_start, 1, 1);
    settings->addWidget(new QLabel(tr("輸入變化 (一行一個):")), 2, 0);
    settings->addWidget(m_changes, 2, 1, 1, 2);
    auto* buttons = new QHBoxLayout;
    for (QWidget* control : std::initializer_list<QWidget*>{
             m_runButton, m_pauseButton, m_stepButton, m_toRowButton, m_resetButton, m_speed}) {
        buttons->addWidget(control);
    }
    buttons->addStretch();
    buildMeasuring(buttons);
    buttons->addWidget(save);
    auto* view = new QHBoxLayout;
    view->addWidget(m_chart, 1);
    view->addWidget(m_watch);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(settings);
    layout->addLayout(buttons);
    layout->addLayout(view, 1);
    layout->addWidget(m_summary);
    layout->addWidget(assumption);

    const auto withBreakpoints = [this] {
        RunLimits limits;
        limits.breakpoints = m_program.breakpoints();
        return limits;
    };
    connect(m_runButton, &QPushButton::clicked, this, [=, this] { play(withBreakpoints()); });
    connect(m_stepButton, &QPushButton::clicked, this, [=, this] {
        RunLimits limits = withBreakpoints();
        limits.step = true;
        play(limits);
    });
    connect(m_toRowButton, &QPushButton::clicked, this, [=, this] {
        RunLimits limits = withBreakpoints();
        limits.toRow = m_context.chosenRow();
        if (limits.toRow == 0) {
            m_prompter.message(this, tr("請先在程式列表中選取要執行到的列."), applicationTitle());
            return;
        }
        play(limits);
    });
    connect(m_pauseButton, &QPushButton::clicked, this, &DryRunWindow::pause);
    connect(m_resetButton, &QPushButton::clicked, this, &DryRunWindow::reset);
    connect(save, &QPushButton::clicked, this, &DryRunWindow::saveChart);
    connect(m_summary, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem* item) {
        if (const int row = item->data(Qt::UserRole).toInt(); row > 0) {
            emit rowChosen(row);
        }
    });
}

void DryRunWindow::showEvent(QShowEvent* event) {
    // Beside the main window, so the list whose rows it marks stays in sight.
    if (!std::exchange(m_placed, true) && parentWidget() != nullptr) {
        const QWidget* main = parentWidget()->window();
        const QScreen* screen = main->screen();
        move(besideWindow(main->frameGeometry(), frameGeometry().size().expandedTo(sizeHint()),
                          screen->availableGeometry()));
    }
    if (const std::optional<double> live = m_context.livePosition(); live && !m_runner) {
        m_start->setText(QString::number(*live));
    }
    if (m_runner && !m_runner->ended()) {
        emit executingRow(m_runner->watch().row);
    }
    QWidget::showEvent(event);
}

// Out of sight, a run neither plays on nor marks the list; shown again, it stands where it
// paused.
void DryRunWindow::hideEvent(QHideEvent* event) {
    if (m_frames.isActive()) {
        pause();
    }
    emit executingRow(0);
    QWidget::hideEvent(event);
}

void DryRunWindow::run() {
    reset();
    m_runButton->click();
}

// A fresh run from the settings, paused before the first row; false when a setting is not
// understood (said).
bool DryRunWindow::startRun(bool trace) {
    // A measurement is of the run it was started with, calibrated from that run only.
    m_measured.reset();
    m_calibrateButton->setEnabled(false);
    if (m_program.RowCounter() == 0) {
        m_summary->clear();
        m_summary->addItem(tr("程式沒有任何列, 沒有可模擬執行的內容."));
        return false;
    }
    DryRunSetup setup;
    setup.trace = trace;
    if (!isNumberText(m_start->text())) {
        m_prompter.message(this, tr("起始位置「%1」不是數字!").arg(m_start->text()),
                           applicationTitle());
        return false;
    }
    setup.startPosition = m_start->text().trimmed().toDouble();
    for (int k = 0; k < kInputs; ++k) {
        setup.inputs[size_t(k)] = m_inputs[size_t(k)]->isChecked();
    }
    const QStringList lines = m_changes->toPlainText().split(u'\n', Qt::SkipEmptyParts);
    for (const QString& line : lines) {
        const std::optional<InputChange> change = parseInputChange(line);
        if (!change) {
            m_prompter.message(this,
                               tr("看不懂「%1」; 請寫成「輸入 3 在 2.0 秒時變 1」.").arg(line),
                               applicationTitle());
            return false;
        }
        setup.changes.push_back(*change);
    }
    m_startInputs = setup.inputs;
    m_calibrationUsed = calibrationToUse();
    if (m_calibrationUsed) {
        setup.motion = m_calibrationUsed->motion;
    }
    m_runner = std::make_unique<DryRunner>(m_program.table(), m_program.RowCounter(), setup);

    newChart();
    return true;
}

// A run goes on as the limits say: at once as fast as it goes, or a frame at a time at the
// chosen multiple of real time. A run that ended starts afresh.
void DryRunWindow::play(RunLimits limits) {
    const bool standing = m_runner && !m_runner->ended();
    if (!standing) {
        if (!startRun()) {
            return;
        }
        // A first 單步 shows the run ready at its first row.
        if (limits.step) {
            present(Pause::Step);
            return;
        }
    }
    // Walking through a run, a wait nothing releases holds it for a hand on the input; a
    // run from the start to its end reports the wait as its end.
    limits.holdEndlessWaits = standing || limits.step || limits.toRow != 0;
    m_playing = limits;
    m_summary->clear();  // the word of the last pause is no longer true
    if (m_speed->currentData().toDouble() == 0) {
        present(m_runner->run(limits));
        return;
    }
    m_playedFrom = m_runner->watch().seconds;
    m_clock.start();
    m_frames.start();
    showEnabling();
}

void DryRunWindow::playOn() {
    RunLimits limits = m_playing;
    limits.until =
        m_playedFrom + double(m_clock.elapsed()) / 1000 * m_speed->currentData().toDouble();
    const Pause pause = m_runner->run(limits);
    if (pause == Pause::Time) {
        showChart();
        showWatch();
        emit executingRow(m_runner->watch().row);
        return;
    }
    m_frames.stop();
    present(pause);
}

void DryRunWindow::pause() {
    m_frames.stop();
    present(Pause::Time);
}

void DryRunWindow::reset() {
    m_frames.stop();
    m_runner.reset();
    m_calibrateButton->setEnabled(false);
    restoreStartInputs();
    m_summary->clear();
    m_watch->clear();
    newChart();
    emit executingRow(0);
    showEnabling();
}

void DryRunWindow::restoreStartInputs() {
    for (int k = 0; k < kInputs; ++k) {
        m_inputs[size_t(k)]->setChecked(m_startInputs[size_t(k)]);
    }
}

// Where the run stands: paused at a row, or ended with its summary.
void DryRunWindow::present(Pause pause) {
    showChart();
    showWatch();
    showEnabling();
    m_summary->clear();
    const Watch watch = m_runner->watch();
    emit executingRow(watch.ended ? 0 : watch.row);
    if (pause != Pause::Ended) {
        const QString why =
            pause == Pause::Breakpoint ? tr("暫停於第 %1 列 (中斷點)").arg(watch.row)
            : pause == Pause::Waiting ? tr("暫停於第 %1 列: %2, 沒有排定的變化; 切換輸入後繼續")
                                            .arg(watch.row)
                                            .arg(watch.waitsFor)
                                      : tr("暫停於第 %1 列").arg(watch.row);
        m_summary->addItem(why);
        m_summary->item(0)->setData(Qt::UserRole, watch.row);
        for (int k = 0; k < kInputs; ++k) {
            m_inputs[size_t(k)]->setChecked(watch.inputs[size_t(k)]);
        }
        return;
    }
    restoreStartInputs();  // the next run starts from what this one started from
    const DryRunResult& result = m_runner->result();
    m_summary->addItems(dryRunSummary(result));
    m_summary->item(0)->setData(Qt::UserRole, result.row);
    if (result.end != DryRunEnd::Finished) {
        m_summary->item(0)->setForeground(kErrorColour);
    }
    if (m_calibrationUsed) {
        m_summary->addItem(tr("使用校正: %1").arg(calibrationText(*m_calibrationUsed)));
    }
}

// While a run is measured, the model that follows it beside the polled position.
void DryRunWindow::showWatch() {
    m_watch->clear();
    if (m_shadow && m_measuring) {
        if (const std::optional<double> machine = m_shadow->machinePosition()) {
            m_watch->addItem(tr("實機位置: %1").arg(*machine, 0, 'f', 3));
        }
        m_watch->addItem(tr("模型:"));
        m_watch->addItems(watchText(m_shadow->model()));
    } else if (m_runner) {
        m_watch->addItems(watchText(m_runner->watch()));
    }
}

void DryRunWindow::showEnabling() {
    const bool playing = m_frames.isActive();
    const bool standing = m_runner && !m_runner->ended();
    // A control going grey would pass the keyboard on to the next one, perhaps the speed
    // box that a typed key sets: the watch takes it instead, where typing does nothing.
    const auto enable = [this](QWidget* control, bool on) {
        if (!on && control->hasFocus()) {
            m_watch->setFocus();
        }
        control->setEnabled(on);
    };
    for (QPushButton* control : {m_runButton, m_stepButton, m_toRowButton}) {
        enable(control, !playing);
    }
    enable(m_pauseButton, playing);
    enable(m_resetButton, m_runner != nullptr);
    enable(m_speed, !playing);
    // What the run started from holds until 重設.
    enable(m_start, !standing);
    enable(m_changes, !standing);
    for (QCheckBox* input : m_inputs) {
        enable(input, !playing);
    }
}

// A run is of the program as it was: an edit (or another program opened) ends it, and
// its results go with it, never shown beside rows they are not of.
void DryRunWindow::programEdited() {
    if (!m_runner) {
        return;
    }
    const bool standing = !m_runner->ended();
    reset();
    if (standing) {
        m_summary->addItem(tr("程式已修改: 模擬執行已結束."));
    }
}

}  // namespace tql
