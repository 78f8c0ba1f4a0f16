#pragma once

#include "link/console.h"
#include "program/program.h"
#include "session/teachline.h"

#include <QObject>

#include "link/commandhistory.h"

#include <array>
#include <functional>
#include <memory>
#include <vector>

class QCheckBox;
class QGroupBox;
class QLineEdit;
class QPushButton;

namespace tql {

class ControllerSession;
class SessionClient;

// The controller console as the operator sees it: the upload button, the console frame
// with its immediate commands and displays, and the OUTPUT and INPUT frames. It shows what
// the controller session reports and forwards the operator's presses to it; the session
// owns the line, Timer1 and every exchange.
class ConsolePanel final : public QObject {
    Q_OBJECT

public:
    ConsolePanel(SessionClient& session, const Program& program, QWidget* client);
    ~ConsolePanel() override;

    // The frames the main window places.
    QGroupBox* uploadFrame() const { return m_uploadFrame; }
    // 檢查, beside 上傳: the frame connects it to the program's checks.
    QPushButton* checkButton() const { return m_check; }
    QGroupBox* consoleFrame() const { return m_consoleFrame; }
    QGroupBox* outputFrame() const { return m_outputFrame; }
    QGroupBox* inputFrame() const { return m_inputFrame; }
    // The controls of the frames, at their design places, for the frame to stretch.
    std::vector<QWidget*> placedControls() const;
    // 停止, which F12 presses wherever the operator works: the frame holds the one key for
    // every controller of the cell.
    QPushButton* stopButton() const { return m_stop; }
    // 上傳: the program in the editor to this console's controller, with its own progress.
    void upload();

    // The console's part of start-up: disabled fields, start texts, "未連線".
    void Form_Load();

protected:
    // Up and Down in 立即指令's field walk the commands sent before.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    class UploadProgressWindow;

    void buildUploadFrame(QWidget* client);
    void buildConsoleFrame(QWidget* client);
    void buildDisplays();
    void buildInputsAndOutputs(QWidget* client);
    void connectSession();
    // The controls that exist only for a connected controller, and 連線 opposite them.
    void enableConnectedControls(bool connected);
    void showReading(const PollReading& reading);
    void clearReadings();
    void Command17_Click();
    // The verb on the session's thread; the operator is told of it refused while the line
    // is held, and `done` hears that it went on the line.
    void perform(std::function<Exchange(ControllerSession&)> verb, std::function<void()> done = {});
    void tell(Exchange exchange);

    SessionClient& m_client;
    ControllerSession& m_session;  // its signals
    CommandHistory m_history;      // 立即指令's commands as the session last told them
    std::unique_ptr<UploadProgressWindow> m_progress;  // of the last upload
    const Program& m_program;
    QGroupBox* m_uploadFrame = nullptr;
    QGroupBox* m_consoleFrame = nullptr;
    QGroupBox* m_outputFrame = nullptr;
    QGroupBox* m_inputFrame = nullptr;
    QPushButton* m_upload = nullptr;               // Command3
    QPushButton* m_check = nullptr;                // 檢查
    QPushButton* m_connect = nullptr;              // 連線鍵
    QPushButton* m_disconnect = nullptr;           // Command22
    QPushButton* m_stop = nullptr;                 // 停止
    QPushButton* m_home = nullptr;                 // 原點
    QPushButton* m_saveParameters = nullptr;       // Command21
    QPushButton* m_acceleration = nullptr;         // Command18
    QPushButton* m_speed = nullptr;                // Command20
    QPushButton* m_position = nullptr;             // Command16
    QPushButton* m_immediate = nullptr;            // Command17
    QLineEdit* m_accelerationField = nullptr;      // Text1
    QLineEdit* m_speedField = nullptr;             // Text3
    QLineEdit* m_positionField = nullptr;          // Text6
    QLineEdit* m_commandField = nullptr;           // Text7
    QLineEdit* m_slidePosition = nullptr;          // Text5
    QLineEdit* m_internalAcceleration = nullptr;   // Text2
    QLineEdit* m_internalSpeed = nullptr;          // Text4
    QLineEdit* m_reply = nullptr;                  // Text8
    std::array<QCheckBox*, kOutputs> m_outputs{};  // Check4(1..4)
    std::array<QCheckBox*, kInputs> m_inputs{};    // Check1(1..8)
};

}  // namespace tql
