#include "session/controllersession.h"

#include "link/commands.h"
#include "link/portname.h"
#include "session/fieldtext.h"
#include "session/holdingprompter.h"
#include "session/usersettings.h"

#include <QCoreApplication>
#include <QMutexLocker>
#include <QThread>

namespace tql {
namespace {

constexpr std::chrono::milliseconds kConsoleTick{500};

// 立即指令's history lives in the operator's own settings, across restarts, one for each
// controller.
QString historyKey(const QString& session) {
    return session.isEmpty() ? QStringLiteral("console/history")
                             : QStringLiteral("console/%1/history").arg(session);
}

}  // namespace

ControllerSession::ControllerSession(Prompter& prompter, SerialLine& line, Sleeper& sleeper,
                                     const QString& name)
    : m_historyKey(historyKey(name)),
      m_prompter(std::make_unique<HoldingPrompter>(prompter, *this)),
      m_monitored(line, m_wireLog),
      m_link(m_monitored, sleeper),
      m_history(userSettings().value(m_historyKey).toStringList()),
      m_timer1(this),
      m_measureTimer(this) {
    setObjectName(name);
    m_timer1.setObjectName(QStringLiteral("Timer1"));
    m_timer1.setInterval(kConsoleTick);
    m_timer1.setTimerType(Qt::PreciseTimer);  // a coarse timer drifts to 520-530 ms
    connect(&m_timer1, &QTimer::timeout, this, &ControllerSession::Timer1_Timer);
    m_measureTimer.setObjectName(QStringLiteral("MeasureTimer"));
    m_measureTimer.setInterval(kMeasureTick);
    m_measureTimer.setTimerType(Qt::PreciseTimer);
    connect(&m_measureTimer, &QTimer::timeout, this, &ControllerSession::measureTick);
}

ControllerSession::~ControllerSession() = default;

Prompter& ControllerSession::prompter() {
    return *m_prompter;
}

ControllerSession::Hold::Hold(ControllerSession& session) : m_session(session) {
    ++m_session.m_holds;
    m_session.applyHolds();
}

ControllerSession::Hold::~Hold() {
    --m_session.m_holds;
    m_session.applyHolds();
}

// A tick that was due comes after the hold: also the start-up tick that shows a closed
// port disconnected, when a box (a file named on the command line that cannot be loaded)
// came first. A hold taken on another thread reaches the poll a moment later, on this one.
void ControllerSession::applyHolds() {
    if (QThread::currentThread() != thread()) {
        QMetaObject::invokeMethod(
            this, [this] { applyHolds(); }, Qt::QueuedConnection);
        return;
    }
    const bool held = m_holds > 0;
    if (held && !m_pollHeld) {
        m_pollHeld = true;
        m_tickDue = m_timer1.isActive();
        m_timer1.stop();
    } else if (!held && m_pollHeld) {
        m_pollHeld = false;
        if (m_link.isOpen() || m_tickDue) {
            m_timer1.start();
        }
    }
}

bool ControllerSession::isConnected() const {
    return QThread::currentThread() == thread() ? m_link.isOpen() : m_connected.load();
}

void ControllerSession::syncConnected() {
    m_connected = m_link.isOpen();
}

QString ControllerSession::portNumber() const {
    const QMutexLocker locked(&m_shared);
    return m_portNumber;
}

void ControllerSession::setPortNumber(const QString& portNumber) {
    const QMutexLocker locked(&m_shared);
    m_portNumber = portNumber;
}

QString lineHeldMessage() {
    return ControllerSession::tr("控制器通訊中 (上傳或詢問), 請稍後再試!");
}

void ControllerSession::startPoll() {
    if (!m_pollHeld) {
        m_timer1.start();
    } else {
        m_tickDue = true;  // the hold's end starts it
    }
}

void ControllerSession::restartPoll() {
    if (m_timer1.isActive()) {
        m_timer1.start();
    }
}

QString ControllerSession::portName() const {
    return portDisplayName(portNumber());
}

QString ControllerSession::noAnswer() const {
    return ControllerSession::tr("通訊有誤!\n連接埠 %1 在 200 ms 內沒有任何回應.").arg(portName());
}

void ControllerSession::notice(const QString& text) {
    prompter().message(nullptr, text, ControllerSession::tr("訊息"));
}

bool ControllerSession::ask(const QString& question, Prompter::Icon icon) {
    return prompter().message(nullptr, question, ControllerSession::tr("訊息"),
                              Prompter::Buttons::YesNo, icon) == Prompter::Answer::Yes;
}

bool ControllerSession::checkSendable(const QString& text) {
    if (sendable(text)) {
        return true;
    }
    prompter().message(nullptr,
                       ControllerSession::tr("指令有 Big5 無法表示的字元, 未送出: %1").arg(text),
                       applicationTitle(), Prompter::Buttons::Ok, Prompter::Icon::Warning);
    return false;
}

bool ControllerSession::checkNumberField(const QString& value, bool emptyAllowed) {
    if ((emptyAllowed && value.isEmpty()) || isNumberText(value)) {
        return true;
    }
    notice(notNumberMessage(value));
    return false;
}

Exchange ControllerSession::ConnectController() {
    if (lineHeld()) {
        return Exchange::LineHeld;
    }
    connectController();
    return m_link.isOpen() ? Exchange::Done : Exchange::NotSent;
}

void ControllerSession::connectController() {
    notice(ControllerSession::tr(" 準備連線終止運作中程式"));
    if (!m_link.isOpen()) {
        if (const auto failure = m_link.open(portNumber())) {
            notice(*failure);
            return;
        }
    }
    if (!probeController(m_link)) {
        notice(noAnswer());
        m_link.close();
        syncConnected();
        return;
    }
    greetController(m_link);
    m_slideFree = false;  // the greeting holds the slide
    // A line that went away while greeting is no connection to show.
    if (m_link.lostReason()) {
        lostPort();
        return;
    }
    ShowConnected();
}

void ControllerSession::ShowConnected() {
    m_shownConnected = true;
    syncConnected();
    emit connectedChanged(true);
    ReadInternalValues();
    if (!m_pollHeld) {
        m_timer1.start();
    }
    emit connectionShown(ControllerSession::tr("連線中"));
}

void ControllerSession::ReadInternalValues() {
    emit internalValuesRead(readInternalValues(m_link));
}

Exchange ControllerSession::ShowDisconnected() {
    if (lineHeld()) {
        return Exchange::LineHeld;
    }
    showDisconnected();
    return Exchange::Done;
}

void ControllerSession::showDisconnected() {
    stopMeasuring();
    emit connectedChanged(false);
    m_timer1.stop();
    m_tickDue = false;  // the console shows the closed port now
    if (m_link.isOpen()) {
        holdFreedSlide();
        m_link.close();
    }
    m_slideFree = false;  // a lost line took nothing more; the next greeting holds it
    syncConnected();
    emit connectionShown(ControllerSession::tr("未連線"));
    emit disconnected();
    // Nobody may read an old position or input as live; the start-up values are no reading
    // and stay until the first connection.
    if (std::exchange(m_shownConnected, false)) {
        {
            const QMutexLocker locked(&m_shared);
            m_lastPositionReply.clear();
        }
        emit readingsCleared();
    }
}

void ControllerSession::lostPort(const QString& consequence) {
    const QString reason = m_link.lostReason().value_or(QString());
    showDisconnected();
    QString text = ControllerSession::tr("連接埠 %1 已中斷, 連線結束: %2").arg(portName(), reason);
    if (!consequence.isEmpty()) {
        text += u'\n' + consequence;
    }
    notice(text);
}

void ControllerSession::Timer1_Timer() {
    if (lineHeld()) {
        return;  // a box of the window's came up just now; its hold stops the poll next
    }
    if (!m_link.isOpen()) {
        showDisconnected();
        return;
    }
    if (m_link.lostReason()) {
        lostPort();
        return;
    }
    // Every indicator is written on every poll; no answer clears them all.
    const double at = m_measuring ? double(m_runClock.elapsed()) / 1000 : 0;
    const PollReading reading = pollPositionAndInputs(m_link);
    if (m_measuring) {
        tellRunPosition(at, reading.position);
        // "?INP" goes out once the reply to "?PE" was waited for.
        emit runInputs(at + std::chrono::duration<double>(commands::kQueryWait).count(),
                       reading.inputs);
    }
    {
        const QMutexLocker locked(&m_shared);
        m_lastPositionReply = reading.position;
    }
    emit pollRead(reading);
    if (const std::optional<double> position = lastPosition()) {
        emit positionRead(*position);
    }
    syncOutputs(m_link, m_outputsWanted, m_outputsSent);
    if (m_link.lostReason()) {
        lostPort();  // gone during this tick: do not show it connected until the next
    }
}

std::optional<double> ControllerSession::lastPosition() const {
    const QMutexLocker locked(&m_shared);
    return isConnected() ? positionIn(m_lastPositionReply) : std::nullopt;
}

void ControllerSession::setOutput(int output, bool on) {
    m_outputsWanted.at(std::size_t(output - 1)) = on;
}

void ControllerSession::inputsTouched() {
    if (!m_link.isOpen()) {
        prompter().message(nullptr, ControllerSession::tr(" Not Response !!  連線錯誤 !"),
                           applicationTitle());
        emit connectionShown(ControllerSession::tr("未連線"));
    }
}

// Its button is on only while connected: a closed port says nothing.
Exchange ControllerSession::stopProgram() {
    if (lineHeld()) {
        return Exchange::LineHeld;
    }
    if (!m_link.isOpen()) {
        return Exchange::NotSent;
    }
    stopControllerProgram(m_link);
    stopMeasuring();
    return Exchange::Done;
}

Exchange ControllerSession::home() {
    return lineHeld() ? Exchange::LineHeld : RS232(commands::kHome);
}

Exchange ControllerSession::positionSlide(const QString& target) {
    return sendSetting(commands::kMoveTo, target);
}

Exchange ControllerSession::setAcceleration(const QString& value) {
    return sendSetting(commands::kSetAcceleration, value);
}

Exchange ControllerSession::setSpeed(const QString& value) {
    return sendSetting(commands::kSetSpeed, value);
}

// 定位's target, 加速度 and 速度 as one write with their prefix, then CR; the last two then
// show what the controller now holds. An empty 定位 has always sent "MA " alone; the
// settings need a value.
Exchange ControllerSession::sendSetting(const QString& prefix, const QString& value) {
    if (lineHeld()) {
        return Exchange::LineHeld;
    }
    const Hold hold(*this);
    const bool move = prefix == commands::kMoveTo;
    if (!checkNumberField(value, move)) {
        return Exchange::NotSent;
    }
    m_link.write(prefix + value);
    m_link.writeCarriageReturn();
    if (!move) {
        ReadInternalValues();
    }
    return Exchange::Done;
}

Exchange ControllerSession::sendImmediate(const QString& command) {
    if (lineHeld()) {
        return Exchange::LineHeld;
    }
    const Hold hold(*this);
    if (!checkSendable(command)) {
        return Exchange::NotSent;
    }
    m_history.add(command);
    userSettings().setValue(m_historyKey, m_history.commands());
    emit historyChanged(m_history.commands());
    const Exchange sent = RS232(command);
    // A typed "HOFF" frees the slide as the teach dialog's does.
    if (m_link.isOpen() &&
        (command.trimmed() == commands::kHoldOff || command.trimmed() == commands::kHoldOn)) {
        m_slideFree = command.trimmed() == commands::kHoldOff;
    }
    m_link.sleep(commands::kCommandReplyWait);
    emit replyRead(m_link.readAll());
    return sent;
}

Exchange ControllerSession::saveParameters() {
    if (lineHeld()) {
        return Exchange::LineHeld;
    }
    if (!m_link.isOpen()) {
        return RS232(commands::kSaveParameters);  // " 連線錯誤 !", nothing sent: no question
    }
    const Hold hold(*this);  // the question lets events run
    if (!ask(ControllerSession::tr("是否儲存參數?"), Prompter::Icon::Question)) {
        return Exchange::NotSent;
    }
    return RS232(commands::kSaveParameters);
}

Exchange ControllerSession::RS232(const QString& text) {
    if (!m_link.isOpen()) {
        prompter().message(nullptr, ControllerSession::tr(" 連線錯誤 !"), applicationTitle());
        return Exchange::NotSent;
    }
    if (!checkSendable(text)) {
        return Exchange::NotSent;
    }
    m_link.writeLine(text);
    return Exchange::Done;
}

Exchange ControllerSession::signOff() {
    if (lineHeld()) {
        return Exchange::LineHeld;
    }
    if (m_link.isOpen()) {
        m_timer1.stop();
        holdFreedSlide();
        RS232(commands::kEchoOn);
        m_link.close();
        syncConnected();
    }
    return Exchange::Done;
}

}  // namespace tql
