#pragma once

#include "link/commandhistory.h"
#include "link/link.h"
#include "link/wirelog.h"
#include "program/program.h"
#include "window/controls.h"

#include <QObject>
#include <QTimer>

#include <array>

class QCheckBox;
class QGroupBox;

namespace tql {

class Prompter;

// What the operator is told after 取消 of the upload: sent of total lines reached the
// controller, which holds them as an incomplete program.
QString uploadCancelledMessage(int sent, int total);

// The controller console: the upload button, the console frame with its immediate
// commands and displays, the OUTPUT and INPUT frames, and Timer1, the 500 ms console timer
// whose tick polls the controller. It owns the line the whole window talks on, and stops
// Timer1 around every exchange and modal box so that a tick never talks in the middle of
// another exchange. The exchanges themselves live in link/console.* and translator/upload.*.
class ConsolePanel final : public QObject {
    Q_OBJECT

public:
    ConsolePanel(const Program& program, Prompter& prompter, SerialLine& line, Sleeper& sleeper,
                 QWidget* client);

    // The frames the main window places.
    QGroupBox* uploadFrame() const { return m_uploadFrame; }
    // 檢查, beside 上傳: the frame connects it to the program's checks.
    QPushButton* checkButton() const { return m_controls.button("檢查"); }
    QGroupBox* consoleFrame() const { return m_consoleFrame; }
    QGroupBox* outputFrame() const { return m_outputFrame; }
    QGroupBox* inputFrame() const { return m_inputFrame; }

    // The console's part of start-up: disabled fields, start texts, "未連線".
    void Form_Load();

    QTimer& Timer1() { return m_timer1; }
    // The port the console connects on (DATA.TXT's setting).
    const QString& portNumber() const { return m_portNumber; }
    void setPortNumber(const QString& portNumber) { m_portNumber = portNumber; }
    Link& link() { return m_link; }
    // Every byte on the line, for the wire monitor.
    WireLog& wireLog() { return m_wireLog; }

    void ConnectController();
    void ShowConnected();
    void ShowDisconnected();
    void ReadInternalValues();
    // Sends one command line (text, then CR) when the port is open; says " 連線錯誤 !"
    // and sends nothing when it is closed.
    void RS232(const QString& text);
    // A message titled "訊息", the title of the console's and the upload's messages.
    void notice(const QString& text);
    // A 定位, 加速度 or 速度 value must be a number before it goes out; says so when it is
    // not. true when it may be sent.
    bool checkNumberField(const QString& value, bool emptyAllowed);
    // 結束 and the close box: a connected controller gets "EC 1", then the port closes.
    void signOff();
    // The position last read while connected, when it was a number.
    std::optional<double> lastPosition() const;

    // Stops Timer1 for a modal exchange while connected, and starts it again afterwards.
    class Pause {
    public:
        explicit Pause(ConsolePanel& console);
        ~Pause();
        Pause(const Pause&) = delete;
        Pause& operator=(const Pause&) = delete;

    private:
        ConsolePanel& m_console;
    };

signals:
    // Panel 1 of the status bar: "連線中" or "未連線".
    void connectionShown(const QString& state);
    // The upload after each program line: lines sent, lines in all.
    void uploadProgress(int sent, int total);
    // A poll read the slide's position as a number.
    void positionRead(double position);
    // The console left the connected state.
    void disconnected();

protected:
    // Up and Down in 立即指令's field walk the commands sent before.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildFrames(QWidget* client);
    // The controls that exist only for a connected controller, and 連線 opposite them.
    void enableConnectedControls(bool connected);
    void Timer1_Timer();
    void PollPositionAndInputs();
    void SyncOutputs();
    void inputIndicatorClicked();
    // 上傳 (consoleupload.cpp).
    void Command3_Click();
    bool uploadDespiteErrors();
    void sendFieldCommand(const QString& prefix, const char* field);
    void Command17_Click();
    void Command21_Click();
    // 停止: ESC ESC, the controller's stop, and nothing else.
    void stopProgram();
    // The port as connection messages name it.
    QString portName() const;
    // "通訊有誤!" as it has always read, and on a second line which port stayed silent.
    QString noAnswer() const;
    // The port the system took away: the console disconnects and says why.
    void lostPort();
    // Refuses, with a message, a text Big5 cannot hold; true when it may be sent.
    bool checkSendable(const QString& text);
    QWidget* window() const;

    const Program& m_program;
    QString m_portNumber = QStringLiteral("1");  // "1".."4" names COM1..COM4, else a port
    std::array<bool, 4> m_outputSent{};         // output states last sent to the controller
    Prompter& m_prompter;
    WireLog m_wireLog;
    MonitoredLine m_monitored;
    Link m_link;
    CommandHistory m_history;
    QTimer m_timer1;
    Controls m_controls;
    QGroupBox* m_uploadFrame = nullptr;
    QGroupBox* m_consoleFrame = nullptr;
    QGroupBox* m_outputFrame = nullptr;
    QGroupBox* m_inputFrame = nullptr;
    std::array<QCheckBox*, 4> m_outputs{};
    std::array<QCheckBox*, 8> m_inputs{};
    bool m_shownConnected = false;  // since the last ShowDisconnected
};

}  // namespace tql
