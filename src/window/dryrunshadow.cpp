// The shadow run in the dry-run window: while a run is measured, the model follows the
// machine on its clock; the list marks the row it says the machine runs, the watch shows
// the model beside the polled position, and a difference is said and 停止 offered.
#include "session/portrecords.h"
#include "session/usersettings.h"
#include "window/controls.h"
#include "window/dryrunwindow.h"
#include "window/prompter.h"
#include "window/sessionclient.h"

#include <QListWidget>

namespace tql {

void DryRunWindow::beginShadow(double start) {
    ShadowSetup setup;
    setup.startPosition = start;
    setup.inputs = m_polledInputs;
    if (m_calibrationUsed) {
        setup.motion = m_calibrationUsed->motion;
        setup.residual = m_calibrationUsed->residual;
    }
    m_shadow.emplace(m_program.table(), m_program.RowCounter(), setup);
    m_shadowRow = -1;
    m_shadowJudged = false;
    m_shadowStopped = false;
    followShadow();
}

// After each reading: the mark follows the model's row; a judgement is shown once.
void DryRunWindow::followShadow() {
    if (!m_shadow) {
        return;
    }
    showWatch();
    const ShadowState state = m_shadow->state();
    const bool parted = state == ShadowState::Differs || state == ShadowState::StoppedEarly;
    const int row = m_shadow->following() || parted ? m_shadow->row() : 0;
    const MachineMark mark = parted ? MachineMark::Parted : MachineMark::Running;
    if (row != m_shadowRow || mark != m_shadowMark) {
        m_shadowRow = row;
        m_shadowMark = mark;
        emit machineRow(row, mark);
    }
    if (m_shadow->following() || std::exchange(m_shadowJudged, true)) {
        return;
    }
    emit machineNote(m_shadow->verdict());
    showMeasurement();
    if (!parted) {
        return;
    }
    if (userSettings().value(QStringLiteral("shadow/stopOnDifference")).toBool()) {
        m_shadowStopped = true;
        showMeasurement();
        m_session->post([](ControllerSession& s) { s.stopProgram(); });
        return;
    }
    // Asked once this reading is done: the box waits while the readings go on.
    QMetaObject::invokeMethod(this, &DryRunWindow::offerStop, Qt::QueuedConnection);
}

void DryRunWindow::offerStop() {
    const QString text = m_shadow->verdict() + tr("\n可能的原因:\n") +
                         m_shadow->causes().join(u'\n') + tr("\n\n停止控制器的程式?");
    if (m_prompter.message(this, text, tr("訊息"), Prompter::Buttons::YesNo,
                           Prompter::Icon::Warning) == Prompter::Answer::Yes) {
        m_session->post([](ControllerSession& s) { s.stopProgram(); });
    }
}

// The measurement is over: a run still followed is followed no further, and a lost port
// is said.
void DryRunWindow::endShadow() {
    if (m_shadow && m_shadow->following()) {
        if (!m_session->session().isConnected()) {
            m_shadow->lost();
            followShadow();
            return;
        }
        m_shadowJudged = true;
        m_shadowRow = 0;
        m_shadowMark = MachineMark::None;
        emit machineRow(0, MachineMark::None);
    }
}

// The verdict under the measurement's lines, a difference in red with what may cause it.
void DryRunWindow::showShadowVerdict() {
    if (!m_shadow || m_shadow->following()) {
        return;
    }
    const QStringList causes = m_shadow->causes();
    m_summary->addItem(m_shadow->verdict() +
                       (m_shadowStopped ? tr(": 已停止控制器的程式") : QString()));
    if (!causes.isEmpty()) {
        m_summary->item(m_summary->count() - 1)->setForeground(kErrorColour);
        for (const QString& cause : causes) {
            m_summary->addItem(tr("  可能: %1").arg(cause));
        }
    }
}

// Before the controller runs what it holds: a program other than the one in the editor
// (as this tool last uploaded it there) is said, and the operator decides.
bool DryRunWindow::measureDespiteOtherProgram() {
    const std::optional<QString> differs =
        programDiffers(userSettings(), m_session->session().portNumber(), m_program.table(),
                       m_program.RowCounter());
    return !differs || m_prompter.message(this, *differs + tr("\n仍要執行控制器中的程式並量測?"),
                                          tr("訊息"), Prompter::Buttons::YesNo,
                                          Prompter::Icon::Question) == Prompter::Answer::Yes;
}

}  // namespace tql
