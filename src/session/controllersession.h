#pragma once

#include "link/commandhistory.h"
#include "link/console.h"
#include "link/link.h"
#include "link/wirelog.h"
#include "program/programtable.h"
#include "session/prompter.h"
#include "session/teachline.h"

#include <QElapsedTimer>
#include <QMutex>
#include <QObject>
#include <QTimer>

#include <atomic>
#include <optional>

namespace tql {

// What the operator is told after 取消 of the upload: sent of total lines reached the
// controller, which holds them as an incomplete program.
QString uploadCancelledMessage(int sent, int total);

// One controller on one line, without any window: the Link with its wire log, Timer1 and
// the poll, the output memory, 立即指令's history, the connection state and the handling
// of a port the system takes away, and every exchange the console and the teach dialog
// make, with their waits and texts. It tells the windows what to show by signal and asks
// the operator through the Prompter it is given.
//
// It is the one owner of the line: while anything holds it (an exchange that lets events
// run, such as the upload with its progress and questions, or any modal box, since every
// box asked through prompter() holds it), the poll pauses and nothing else talks: every
// verb that writes asks the guard first and is refused (Exchange::LineHeld) while it is
// held. Timer1, the poll, is started and stopped by the session's own verbs only.
//
// It may run on a thread of its own: then its verbs are called on that thread (the
// windows post them), its boxes are shown by the window's thread while it waits for the
// answer, and what the windows read directly (lineHeld, isConnected, slideFree,
// lastPosition, portNumber, the wire log) is safe to read from any thread.
class ControllerSession final : public QObject {
    Q_OBJECT

public:
    // name: which controller of the workshop this session is, as its objectName; it keeps
    // its own 立即指令 history in the user's settings. The first has none and keeps the
    // settings it always had.
    ControllerSession(Prompter& prompter, SerialLine& line, Sleeper& sleeper,
                      const QString& name = {});
    ~ControllerSession() override;

    // The boxes of every window go through here, so a box anywhere holds the line.
    Prompter& prompter();

    // While any Hold lives the line is held: Timer1 stops, and starts again when the last
    // one goes while the port is open. A Hold may be taken on any thread (a box of the
    // window's holds it too); the poll follows on the session's own thread.
    class Hold {
    public:
        explicit Hold(ControllerSession& session);
        ~Hold();
        Hold(const Hold&) = delete;
        Hold& operator=(const Hold&) = delete;

    private:
        ControllerSession& m_session;
    };
    bool lineHeld() const { return m_holds > 0; }
    // A running poll starts afresh: its next tick comes a whole period from now (after the
    // editor puts up a row dialog, whose own exchanges came first).
    void restartPoll();

    // The port the console connects on: "1".."4" name COM1..COM4, other text is a port name.
    QString portNumber() const;
    void setPortNumber(const QString& portNumber);
    // The port as it stands on the session's thread; as the session last saw it elsewhere.
    bool isConnected() const;
    // The poll from the start: its first tick shows a closed port disconnected.
    void startPoll();
    // Every byte on the line, for the wire monitor.
    WireLog& wireLog() { return m_wireLog; }
    // 立即指令's commands sent before, kept in the user's settings.
    CommandHistory& history() { return m_history; }
    // The position last read while connected, when it was a number.
    std::optional<double> lastPosition() const;

    // The verbs that write. Each is refused with nothing sent while the line is held.
    //
    // 連線: the controller probed, stopped and greeted, the internal values read, the poll
    // started; a port that cannot be opened or a silent controller is said so.
    Exchange ConnectController();
    // 斷線: the console shows the truth of a closed port (a slide left free is held first).
    Exchange ShowDisconnected();
    // 結束 and the close box: a connected controller gets "EC 1", then the port closes.
    Exchange signOff();
    // 停止: ESC ESC, the controller's stop, and nothing else.
    Exchange stopProgram();
    // 原點.
    Exchange home();
    // 定位 ("MA " and the target; an empty target too), 加速度 ("VA=") and 速度 ("VM="): the
    // prefix and the number as one write, then CR; the settings are then read back.
    Exchange positionSlide(const QString& target);
    Exchange setAcceleration(const QString& value);
    Exchange setSpeed(const QString& value);
    // 立即指令: the command, 100 ms, the reply (replyRead).
    Exchange sendImmediate(const QString& command);
    // 儲存參數: asked first, then "SAVE C".
    Exchange saveParameters();
    // An OUTPUT switch: the next tick sends what differs from what was last sent.
    void setOutput(int output, bool on);
    // The INPUT indicators are the controller's: touched while disconnected, the operator
    // is told that nothing answers.
    void inputsTouched();
    // 上傳: translated and checked before anything is sent, connected if need be, the
    // trace written, then downloaded with its progress (uploadProgress) and the questions.
    Exchange upload(const ProgramTable& table, int rowCounter);
    // The progress window's 取消, from any thread: the upload stops after the line on the
    // wire.
    void cancelUpload() { m_uploadCancelled = true; }

    // 量測執行: "現在執行程式?" asked, then the stored program started as the upload starts
    // it ("HON", 100 ms, "G"), and measured. The upload that starts the program measures it
    // too. While measuring, runPosition tells every position read, with the seconds since
    // "G": every 50 ms ("?PE" alone, beside the console's poll) or, told so, only with the
    // console's poll.
    Exchange measureRun();
    void setFastMeasuring(bool fast) { m_fastMeasuring = fast; }
    // The measurement ends (the run seen to its end, 停止, the port closed): runStopped.
    void stopMeasuring();
    bool measuring() const { return m_measuring; }

    // A message titled "訊息", the title of the console's and the upload's messages.
    void notice(const QString& text);

    // The teach dialog's exchanges (TeachLine says what each does). The slide is never left
    // free: 斷線 and 結束 hold it first, and the next connection's greeting holds it after
    // a lost port.
    Exchange holdSlide(bool held);
    bool slideFree() const { return m_slideFree; }
    std::optional<QString> readPosition();
    Exchange moveTo(const QString& target);

signals:
    // Panel 1 of the status bar: "連線中" or "未連線".
    void connectionShown(const QString& state);
    // The controls of a connected console are to be enabled (true) or disabled.
    void connectedChanged(bool connected);
    void internalValuesRead(const tql::InternalValues& values);
    // Every poll, answered or not: the position reply and the eight inputs.
    void pollRead(const tql::PollReading& reading);
    // A poll read the slide's position as a number.
    void positionRead(double position);
    // The console left a connection: no old reading may stay on show as live.
    void readingsCleared();
    // The reply to an immediate command.
    void replyRead(const QString& reply);
    // The upload after each program line: lines sent, lines in all.
    void uploadProgress(int sent, int total);
    // The download is over, sent whole or not: its progress goes before any word about it.
    void uploadEnded();
    // The console left the connected state.
    void disconnected();
    // 立即指令's commands, after one more was sent.
    void historyChanged(const QStringList& commands);
    // A measured run: "G" went out; a position read, seconds after it; the measurement over.
    void runStarted();
    void runPosition(double seconds, double position);
    // A poll while measuring whose reply is no position: silence, or text.
    void runUnread(double seconds, const QString& reply);
    // The inputs the console's poll read while measuring, seconds after "G".
    void runInputs(double seconds, const tql::InputStates& inputs);
    void runStopped();

private:
    class HoldingPrompter;

    // A measured run's positions: fine enough to time a move within a few milliseconds.
    static constexpr std::chrono::milliseconds kMeasureTick{50};

    void Timer1_Timer();
    void startMeasuring();
    void measureTick();
    // A position read while measuring, when it is a number.
    void tellRunPosition(double seconds, const QString& reply);
    // The poll as the holds say, on the session's own thread.
    void applyHolds();
    // isConnected as the port now stands.
    void syncConnected();
    // What the verbs do once the guard let them: the session's own exchanges call these
    // while they hold the line themselves.
    void connectController();
    void showDisconnected();
    void writeHold(bool held);
    // One command line when the port is open; " 連線錯誤 !" and nothing sent when closed.
    Exchange RS232(const QString& text);
    void ShowConnected();
    void ReadInternalValues();
    Exchange sendSetting(const QString& prefix, const QString& value);
    // The port as connection messages name it.
    QString portName() const;
    // "通訊有誤!" as it has always read, and on a second line which port stayed silent.
    QString noAnswer() const;
    // The port the system took away: the console disconnects and says why, and what it
    // leaves behind on the controller, if anything.
    void lostPort(const QString& consequence = {});
    // "HON" when the slide was left free.
    void holdFreedSlide();
    // Refuses, with a message, a text Big5 cannot hold; true when it may be sent.
    bool checkSendable(const QString& text);
    bool checkNumberField(const QString& value, bool emptyAllowed);
    bool uploadDespiteErrors(const ProgramTable& table, int rowCounter);
    // hash: the rows' (programHash), kept for the port once the program is whole there.
    void download(const QStringList& text, const QString& hash);
    bool ask(const QString& question, Prompter::Icon icon);

    const QString m_historyKey;
    std::unique_ptr<HoldingPrompter> m_prompter;
    WireLog m_wireLog;
    MonitoredLine m_monitored;
    Link m_link;
    CommandHistory m_history;
    QTimer m_timer1;
    QTimer m_measureTimer;
    QElapsedTimer m_runClock;  // from "G" of the measured run
    bool m_measuring = false;
    bool m_fastMeasuring = true;
    OutputStates m_outputsWanted{};
    OutputStates m_outputsSent{};
    mutable QMutex m_shared;  // guards the two below, read by the windows
    QString m_lastPositionReply;
    QString m_portNumber = QStringLiteral("1");
    std::atomic<int> m_holds = 0;
    std::atomic<bool> m_connected = false;
    std::atomic<bool> m_uploadCancelled = false;
    std::atomic<bool> m_slideFree = false;  // "HOFF" sent, no "HON" since
    bool m_pollHeld = false;                // the holds have stopped the poll
    bool m_tickDue = false;                 // Timer1 ran when the first hold came
    bool m_shownConnected = false;          // since the last ShowDisconnected
};

}  // namespace tql
