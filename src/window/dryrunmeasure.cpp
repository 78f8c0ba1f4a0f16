// 量測執行 in the dry-run window: the controller asked to start its stored program, the
// model's run drawn, the slide's polled positions over it, the measured times beside.
#include "session/portrecords.h"
#include "session/usersettings.h"
#include "window/controls.h"
#include "window/dryrunwindow.h"
#include "window/sessionclient.h"

#include <QChart>
#include <QChartView>
#include <QCheckBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QLineSeries>
#include <QListWidget>
#include <QPushButton>
#include <QValueAxis>

#include <algorithm>
#include <utility>

namespace tql {

// 量測執行 and its choice of polls beside the run's buttons, shown only with a controller;
// the window follows whatever run the session measures, also one an upload started.
void DryRunWindow::buildMeasuring(QHBoxLayout* buttons) {
    m_measureButton = new QPushButton(tr("量測執行"));
    m_measureButton->setObjectName(QStringLiteral("DryMeasure"));
    m_measureButton->setToolTip(
        tr("控制器執行它存有的程式, 滑台的位置畫在模擬的曲線上, 實測時間與模擬的並列"));
    m_fastPoll = new QCheckBox(tr("每 50 ms 取樣"));
    m_fastPoll->setObjectName(QStringLiteral("DryFastPoll"));
    m_fastPoll->setChecked(true);
    m_fastPoll->setToolTip(tr("不勾選: 只用連線時每 500 ms 的讀取"));
    m_calibrateButton = new QPushButton(tr("校正"));
    m_calibrateButton->setObjectName(QStringLiteral("DryCalibrate"));
    m_calibrateButton->setToolTip(tr("以量測到的移動求出速度與加速度的係數, 存為這個連接埠的校正"));
    m_calibrateButton->setEnabled(false);
    m_useCalibration = new QCheckBox(tr("使用校正"));
    m_useCalibration->setObjectName(QStringLiteral("DryUseCalibration"));
    m_useCalibration->setToolTip(tr("模擬執行採用這個連接埠存下的校正"));
    for (QWidget* control : std::initializer_list<QWidget*>{m_measureButton, m_fastPoll,
                                                            m_calibrateButton, m_useCalibration}) {
        buttons->addWidget(control);
        control->setVisible(m_session != nullptr);
    }
    if (m_session == nullptr) {
        return;
    }
    connect(m_measureButton, &QPushButton::clicked, this, &DryRunWindow::measure);
    connect(m_calibrateButton, &QPushButton::clicked, this,
            &DryRunWindow::calibrateFromMeasurement);
    const ControllerSession* controller = &m_session->session();
    connect(controller, &ControllerSession::runStarted, this, &DryRunWindow::beginMeasurement);
    connect(controller, &ControllerSession::runPosition, this, &DryRunWindow::followMeasurement);
    connect(controller, &ControllerSession::runUnread, this,
            [this](double at, const QString& reply) {
                if (m_measured && m_measuring) {
                    m_measured->unread(at, reply);
                    m_shadow->unread(at, reply);
                    showMeasurement();
                    followShadow();
                }
            });
    connect(controller, &ControllerSession::runInputs, this,
            [this](double at, const InputStates& inputs) {
                if (m_shadow && m_measuring) {
                    m_shadow->inputs(at, inputs);
                    followShadow();
                }
            });
    connect(controller, &ControllerSession::pollRead, this,
            [this](const PollReading& reading) { m_polledInputs = reading.inputs; });
    connect(controller, &ControllerSession::runStopped, this, &DryRunWindow::endMeasurement);
}

void DryRunWindow::measure() {
    if (m_session == nullptr || !measureDespiteOtherProgram()) {
        return;
    }
    m_session->post(
        [fast = m_fastPoll->isChecked()](ControllerSession& s) { s.setFastMeasuring(fast); });
    m_session->perform([](ControllerSession& s) { return s.measureRun(); },
                       [this](Exchange done) {
                           if (done == Exchange::LineHeld) {
                               m_session->session().notice(lineHeldMessage());
                           }
                       });
}

// The model of the run from the live position, to its end, drawn; the measurement follows
// it. A program the model cannot run (none in the editor, a start it cannot read) is said,
// and the session stops measuring.
void DryRunWindow::beginMeasurement() {
    show();
    raise();
    if (const std::optional<double> live = m_context.livePosition()) {
        m_start->setText(QString::number(*live));
    }
    m_measuring = false;
    if (!startRun(true)) {
        m_session->post([](ControllerSession& s) { s.stopMeasuring(); });  // nothing to follow
        return;
    }
    m_runner->run();
    present(Pause::Ended);
    m_measured.emplace(MeasuredRun::following(m_program.table(), *m_runner));
    m_measuring = true;
    m_measuredProgram.when = QDateTime::currentDateTimeUtc();
    m_measuredProgram.file = m_context.programFile();
    m_measuredProgram.hash = programHash(m_program.table(), m_program.RowCounter());
    m_measuredProgram.port = m_session->session().portNumber();
    m_measuredProgram.calibration =
        m_calibrationUsed ? calibrationText(*m_calibrationUsed) : QString();
    m_polled = new QLineSeries;
    m_polled->setObjectName(QStringLiteral("DryPolled"));
    m_polled->setColor(kMeasuredColour);
    m_chart->chart()->addSeries(m_polled);
    m_polled->attachAxis(m_timeAxis);
    m_polled->attachAxis(m_positionAxis);
    m_modelLines = m_summary->count();
    beginShadow(m_start->text().toDouble());
    showMeasurement();
}

void DryRunWindow::followMeasurement(double seconds, double position) {
    if (!m_measured || !m_measuring) {
        return;
    }
    m_measured->add(seconds, position);
    m_shadow->position(seconds, position);
    if (m_polled != nullptr) {
        m_polled->append(seconds, position);
        m_timeAxis->setRange(0, std::max(m_timeAxis->max(), seconds));
    }
    showMeasurement();
    followShadow();
    // The end as the measurement sees it and as the shadow run does: both are told.
    if (m_measured->ended() && !m_shadow->following() && m_session != nullptr) {
        m_session->post([](ControllerSession& s) { s.stopMeasuring(); });
    }
}

void DryRunWindow::endMeasurement() {
    if (std::exchange(m_measuring, false)) {
        endShadow();
        showMeasurement();
        recordMeasurement();
    }
    m_calibrateButton->setEnabled(m_measured && m_runner &&
                                  m_measured->measuredMoves().size() >= 2);
}

void DryRunWindow::recordMeasurement() {
    const RunOutcome outcome = m_measured->ended()                  ? RunOutcome::Ended
                               : m_session->session().isConnected() ? RunOutcome::Stopped
                                                                    : RunOutcome::LinkLost;
    RunRecord record = recordOf(*m_measured, outcome);
    record.when = m_measuredProgram.when;
    record.file = m_measuredProgram.file;
    record.hash = m_measuredProgram.hash;
    record.port = m_measuredProgram.port;
    record.calibration = m_measuredProgram.calibration;
    if (const std::optional<QString> failure = RunHistory(m_context.historyPath).add(record)) {
        m_summary->addItem(*failure);
        m_summary->item(m_summary->count() - 1)->setForeground(kErrorColour);
        m_summary->scrollToBottom();
        return;
    }
    emit runRecorded();
}

// The fit of the measured run's moves, kept for the port it was measured on, and shown; a
// run whose moves cannot be fitted is said so.
void DryRunWindow::calibrateFromMeasurement() {
    if (!m_measured || !m_runner) {
        return;
    }
    const std::optional<Calibration> fitted = calibrate(m_program.table(), m_program.RowCounter(),
                                                        m_runner->setup(), m_measured->readings());
    if (!fitted) {
        m_summary->addItem(tr("校正需要至少兩個量測到的移動."));
        m_summary->scrollToBottom();
        return;
    }
    QSettings settings = userSettings();
    storeCalibration(settings, m_session->session().portNumber(), *fitted);
    m_summary->addItem(tr("校正: %1").arg(calibrationText(*fitted)));
    m_summary->scrollToBottom();
    m_calibrateButton->setEnabled(false);
}

std::optional<Calibration> DryRunWindow::calibrationToUse() const {
    if (m_session == nullptr || !m_useCalibration->isChecked()) {
        return std::nullopt;
    }
    return storedCalibration(userSettings(), m_session->session().portNumber());
}

// The model's summary, then the measurement's lines as they stand.
void DryRunWindow::showMeasurement() {
    while (m_summary->count() > m_modelLines) {
        delete m_summary->takeItem(int(m_modelLines));
    }
    if (m_measured) {
        m_summary->addItems(m_measured->summary(!m_measuring && !m_measured->ended()));
    }
    showShadowVerdict();
}

}  // namespace tql
