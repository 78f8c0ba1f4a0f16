// 量測執行 in the dry-run window: the controller asked to start its stored program, the
// model's run drawn, the slide's polled positions over it, the measured times beside.
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
    buttons->addWidget(m_measureButton);
    buttons->addWidget(m_fastPoll);
    m_measureButton->setVisible(m_session != nullptr);
    m_fastPoll->setVisible(m_session != nullptr);
    if (m_session == nullptr) {
        return;
    }
    connect(m_measureButton, &QPushButton::clicked, this, &DryRunWindow::measure);
    const ControllerSession* controller = &m_session->session();
    connect(controller, &ControllerSession::runStarted, this, &DryRunWindow::beginMeasurement);
    connect(controller, &ControllerSession::runPosition, this, &DryRunWindow::followMeasurement);
    connect(controller, &ControllerSession::runStopped, this, &DryRunWindow::endMeasurement);
}

void DryRunWindow::measure() {
    if (m_session == nullptr) {
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
    if (const std::optional<double> live = m_livePosition()) {
        m_start->setText(QString::number(*live));
    }
    m_measured.reset();
    m_measuring = false;
    if (!startRun(true)) {
        m_session->post([](ControllerSession& s) { s.stopMeasuring(); });  // nothing to follow
        return;
    }
    m_runner->run();
    present(Pause::Ended);
    m_measured.emplace(MeasuredRun::following(m_program.table(), *m_runner));
    m_measuring = true;
    m_polled = new QLineSeries;
    m_polled->setObjectName(QStringLiteral("DryPolled"));
    m_polled->setColor(kMeasuredColour);
    m_chart->chart()->addSeries(m_polled);
    m_polled->attachAxis(m_timeAxis);
    m_polled->attachAxis(m_positionAxis);
    m_modelLines = m_summary->count();
    showMeasurement();
}

void DryRunWindow::followMeasurement(double seconds, double position) {
    if (!m_measured || !m_measuring) {
        return;
    }
    m_measured->add(seconds, position);
    if (m_polled != nullptr) {
        m_polled->append(seconds, position);
        m_timeAxis->setRange(0, std::max(m_timeAxis->max(), seconds));
    }
    showMeasurement();
    if (m_measured->ended() && m_session != nullptr) {
        m_session->post([](ControllerSession& s) { s.stopMeasuring(); });
    }
}

void DryRunWindow::endMeasurement() {
    if (std::exchange(m_measuring, false)) {
        showMeasurement();
    }
}

// The model's summary, then the measurement's lines as they stand.
void DryRunWindow::showMeasurement() {
    while (m_summary->count() > m_modelLines) {
        delete m_summary->takeItem(int(m_modelLines));
    }
    if (m_measured) {
        m_summary->addItems(m_measured->summary(!m_measuring && !m_measured->ended()));
    }
}

}  // namespace tql
