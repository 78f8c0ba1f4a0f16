#include "window/consolepanel.h"

#include "link/commands.h"
#include "link/console.h"
#include "link/portname.h"
#include "window/prompter.h"
#include "window/usersettings.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QShortcut>

namespace tql {
namespace {

constexpr std::chrono::milliseconds kConsoleTick{500};

// Console controls that exist only for a connected controller.
const std::array<const char*, 8> kConnectedButtons = {
    "原點", "Command16", "Command17", "Command18", "Command20", "Command21", "Command22", "停止"};

// 立即指令's history lives in the operator's own settings, across restarts.
const QString kHistoryKey = QStringLiteral("console/history");

const std::array<const char*, 4> kConnectedFields = {"Text1", "Text3", "Text6", "Text7"};

}  // namespace

ConsolePanel::ConsolePanel(const Program& program, Prompter& prompter, SerialLine& line,
                           Sleeper& sleeper, QWidget* client)
    : QObject(client),
      m_program(program),
      m_prompter(prompter),
      m_monitored(line, m_wireLog),
      m_link(m_monitored, sleeper),
      m_history(userSettings().value(kHistoryKey).toStringList()),
      m_timer1(this) {
    m_timer1.setObjectName(QStringLiteral("Timer1"));
    m_timer1.setInterval(kConsoleTick);
    m_timer1.setTimerType(Qt::PreciseTimer);  // a coarse timer drifts to 520-530 ms
    connect(&m_timer1, &QTimer::timeout, this, &ConsolePanel::Timer1_Timer);
    buildFrames(client);
}

void ConsolePanel::buildFrames(QWidget* client) {
    m_uploadFrame = new QGroupBox(QStringLiteral("功能"), client);
    m_controls.button(m_uploadFrame, "Command3", "上傳", QRect(8, 17, 48, 24));
    m_controls.button(m_uploadFrame, "檢查", "檢查", QRect(59, 17, 48, 24));

    // The console frame has always been titled "加速度".
    m_consoleFrame = new QGroupBox(QStringLiteral("加速度"), client);
    m_consoleFrame->setObjectName(QStringLiteral("ConsoleFrame"));
    QGroupBox* console = m_consoleFrame;
    constexpr int kRowY[] = {18, 40, 62, 84, 106};
    constexpr int kRowH = 21;
    m_controls.button(console, "連線鍵", "連線", QRect(8, kRowY[0], 42, kRowH));
    m_controls.button(console, "Command22", "斷線", QRect(52, kRowY[0], 42, kRowH));
    QPushButton* stop = m_controls.button(console, "停止", "停止", QRect(96, kRowY[0], 42, kRowH));
    m_controls.button(console, "原點", "原點", QRect(140, kRowY[0], 42, kRowH));
    m_controls.button(console, "Command21", "儲存參數", QRect(184, kRowY[0], 56, kRowH));
    m_controls.button(console, "Command18", "加速度", QRect(8, kRowY[1], 62, kRowH));
    m_controls.field(console, "Text1", QRect(74, kRowY[1], 80, kRowH));
    m_controls.button(console, "Command20", "速度", QRect(8, kRowY[2], 62, kRowH));
    m_controls.field(console, "Text3", QRect(74, kRowY[2], 80, kRowH));
    m_controls.button(console, "Command16", "定位", QRect(8, kRowY[3], 62, kRowH));
    m_controls.field(console, "Text6", QRect(74, kRowY[3], 80, kRowH));
    m_controls.button(console, "Command17", "立即指令", QRect(8, kRowY[4], 62, kRowH));
    m_controls.field(console, "Text7", QRect(74, kRowY[4], 158, kRowH));
    const std::array<std::pair<const char*, const char*>, 4> displays = {{{"滑台座標", "Text5"},
                                                                          {"內部加速度", "Text2"},
                                                                          {"內部速度", "Text4"},
                                                                          {"控制回應", "Text8"}}};
    constexpr int kDisplayRow[] = {0, 1, 2, 4};
    for (int i = 0; i < int(displays.size()); ++i) {
        const int y = kRowY[kDisplayRow[i]];
        auto* label = new QLabel(QString::fromUtf8(displays[i].first), console);
        label->setGeometry(244, y, 72, kRowH);
        label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        QLineEdit* display = m_controls.field(console, QString::fromUtf8(displays[i].second),
                                              QRect(320, y, 138, kRowH));
        display->setReadOnly(true);
        // The displays stay disabled, yet the operator reads them all the time: keep their
        // text as dark as an enabled field's.
        QPalette palette = display->palette();
        palette.setColor(QPalette::Disabled, QPalette::Text,
                         palette.color(QPalette::Active, QPalette::Text));
        display->setPalette(palette);
    }

    m_outputFrame = new QGroupBox(QStringLiteral("OUTPUT"), client);
    for (int k = 1; k <= 4; ++k) {
        m_outputs[k - 1] =
            placed(new QCheckBox(QString::number(k), m_outputFrame),
                   QStringLiteral("Check4(%1)").arg(k), QRect(12 + (k - 1) * 48, 24, 44, 22));
    }
    m_inputFrame = new QGroupBox(QStringLiteral("INPUT"), client);
    for (int k = 1; k <= 8; ++k) {
        m_inputs[k - 1] =
            placed(new QCheckBox(QString::number(k), m_inputFrame),
                   QStringLiteral("Check1(%1)").arg(k), QRect(12 + (k - 1) * 43, 22, 40, 22));
        connect(m_inputs[k - 1], &QCheckBox::clicked, this, &ConsolePanel::inputIndicatorClicked);
    }

    connect(m_controls.button("Command22"), &QPushButton::clicked, this,
            &ConsolePanel::ShowDisconnected);
    connect(m_controls.button("連線鍵"), &QPushButton::clicked, this,
            &ConsolePanel::ConnectController);
    connect(m_controls.button("Command3"), &QPushButton::clicked, this,
            &ConsolePanel::Command3_Click);
    connect(m_controls.button("Command16"), &QPushButton::clicked, this,
            [this] { sendFieldCommand(commands::kMoveTo, "Text6"); });
    connect(m_controls.button("Command17"), &QPushButton::clicked, this,
            &ConsolePanel::Command17_Click);
    connect(m_controls.button("Command18"), &QPushButton::clicked, this,
            [this] { sendFieldCommand(commands::kSetAcceleration, "Text1"); });
    connect(m_controls.button("Command20"), &QPushButton::clicked, this,
            [this] { sendFieldCommand(commands::kSetSpeed, "Text3"); });
    connect(m_controls.button("Command21"), &QPushButton::clicked, this,
            &ConsolePanel::Command21_Click);
    connect(m_controls.button("原點"), &QPushButton::clicked, this,
            [this] { RS232(commands::kHome); });
    // A stop must be at hand wherever the operator is working.
    stop->setToolTip(QStringLiteral("停止控制器執行中的程式 (F12)"));
    auto* stopKey = new QShortcut(Qt::Key_F12, client, nullptr, nullptr, Qt::ApplicationShortcut);
    connect(stopKey, &QShortcut::activated, stop, [stop] {
        if (stop->isEnabled()) {
            stop->click();
        }
    });
    connect(stop, &QPushButton::clicked, this, &ConsolePanel::stopProgram);
    m_controls.field("Text7")->installEventFilter(this);
    // Enter in a console field does what its button does, and only while the button could.
    for (const auto& [field, button] : {std::pair{"Text7", "Command17"},
                                        {"Text1", "Command18"},
                                        {"Text3", "Command20"},
                                        {"Text6", "Command16"}}) {
        QPushButton* target = m_controls.button(button);
        connect(m_controls.field(field), &QLineEdit::returnPressed, target, [target] {
            if (target->isEnabled()) {
                target->click();
            }
        });
    }
}

void ConsolePanel::Form_Load() {
    m_controls.button("原點")->setEnabled(false);
    m_controls.button("Command16")->setEnabled(false);
    m_controls.button("停止")->setEnabled(false);
    for (const char* name : {"Text1", "Text2", "Text3", "Text4", "Text5", "Text6", "Text8"}) {
        m_controls.field(name)->setEnabled(false);
    }
    m_controls.field("Text1")->setText(QStringLiteral("2000"));
    m_controls.field("Text3")->setText(QStringLiteral("200"));
    m_controls.field("Text2")->setText(QStringLiteral("0"));
    for (const char* name : {"Text4", "Text5", "Text6"}) {
        m_controls.field(name)->setText(QStringLiteral("0"));
    }
    m_controls.field("Text7")->clear();
    m_controls.field("Text8")->clear();
    emit connectionShown(QStringLiteral("未連線"));
}

QWidget* ConsolePanel::window() const {
    return m_consoleFrame->window();
}

bool ConsolePanel::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        QLineEdit* field = m_controls.field("Text7");
        if (watched == field && (key == Qt::Key_Up || key == Qt::Key_Down)) {
            const std::optional<QString> shown =
                key == Qt::Key_Up ? m_history.older(field->text()) : m_history.newer();
            if (shown) {
                field->setText(*shown);
            }
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}

QString ConsolePanel::portName() const {
    return portDisplayName(m_portNumber);
}

QString ConsolePanel::noAnswer() const {
    return QStringLiteral("通訊有誤!\n連接埠 %1 在 200 ms 內沒有任何回應.").arg(portName());
}

void ConsolePanel::stopProgram() {
    if (m_link.isOpen() && !m_link.busy()) {
        m_link.write(QString(QChar(commands::kEscape)));
        m_link.write(QString(QChar(commands::kEscape)));
    }
}

void ConsolePanel::Timer1_Timer() {
    if (!m_link.isOpen()) {
        ShowDisconnected();
        return;
    }
    if (m_link.lostReason()) {
        lostPort();
        return;
    }
    PollPositionAndInputs();
    SyncOutputs();
    if (m_link.lostReason()) {
        lostPort();  // gone during this tick: do not show it connected until the next
    }
}

// Every indicator is written on every poll; no answer clears them all.
void ConsolePanel::PollPositionAndInputs() {
    const PollReading reading = pollPositionAndInputs(m_link);
    m_controls.field("Text5")->setText(reading.position);
    if (const std::optional<double> position = lastPosition()) {
        emit positionRead(*position);
    }
    for (int k = 0; k < 8; ++k) {
        m_inputs[k]->setChecked(reading.inputs[k]);
    }
}

void ConsolePanel::SyncOutputs() {
    std::array<bool, 4> wanted{};
    for (int k = 0; k < 4; ++k) {
        wanted[k] = m_outputs[k]->isChecked();
    }
    syncOutputs(m_link, wanted, m_outputSent);
}

void ConsolePanel::inputIndicatorClicked() {
    if (!m_link.isOpen()) {
        m_prompter.message(window(), QStringLiteral(" Not Response !!  連線錯誤 !"),
                           applicationTitle());
        emit connectionShown(QStringLiteral("未連線"));
    }
}

void ConsolePanel::notice(const QString& text) {
    m_prompter.message(window(), text, QStringLiteral("訊息"));
}

bool ConsolePanel::checkSendable(const QString& text) {
    if (sendable(text)) {
        return true;
    }
    m_prompter.message(window(), QStringLiteral("指令有 Big5 無法表示的字元, 未送出: %1").arg(text),
                       applicationTitle(), Prompter::Buttons::Ok, Prompter::Icon::Warning);
    return false;
}

bool ConsolePanel::checkNumberField(const QString& value, bool emptyAllowed) {
    if ((emptyAllowed && value.isEmpty()) || isNumberText(value)) {
        return true;
    }
    notice(QStringLiteral("「%1」不是數字, 指令未送出!").arg(value));
    return false;
}

void ConsolePanel::ConnectController() {
    notice(QStringLiteral(" 準備連線終止運作中程式"));
    if (!m_link.isOpen()) {
        if (const auto failure = m_link.open(m_portNumber)) {
            notice(*failure);
            return;
        }
    }
    if (!probeController(m_link)) {
        notice(noAnswer());
        m_link.close();
        return;
    }
    greetController(m_link);
    // A line that went away while greeting is no connection to show.
    if (m_link.lostReason()) {
        lostPort();
        return;
    }
    ShowConnected();
}

void ConsolePanel::enableConnectedControls(bool connected) {
    for (const char* name : kConnectedButtons) {
        m_controls.button(name)->setEnabled(connected);
    }
    m_controls.button("連線鍵")->setEnabled(!connected);
    for (const char* name : kConnectedFields) {
        m_controls.field(name)->setEnabled(connected);
    }
}

void ConsolePanel::ShowConnected() {
    m_shownConnected = true;
    enableConnectedControls(true);
    ReadInternalValues();
    m_timer1.start();
    emit connectionShown(QStringLiteral("連線中"));
}

void ConsolePanel::ReadInternalValues() {
    const InternalValues values = readInternalValues(m_link);
    m_controls.field("Text2")->setText(values.acceleration);
    m_controls.field("Text4")->setText(values.speed);
}

// 定位, 加速度 and 速度: the prefix and the field's number as one write, then CR; the last
// two then show what the controller now holds. An empty 定位 has always sent "MA " alone;
// the settings need a value.
void ConsolePanel::sendFieldCommand(const QString& prefix, const char* field) {
    if (m_link.busy()) {
        return;
    }
    m_timer1.stop();
    const QString value = m_controls.field(field)->text();
    const bool move = prefix == commands::kMoveTo;
    if (checkNumberField(value, move)) {
        m_link.write(prefix + value);
        m_link.writeCarriageReturn();
        if (!move) {
            ReadInternalValues();
        }
    }
    m_timer1.start();
}

void ConsolePanel::Command17_Click() {
    m_timer1.stop();
    m_controls.field("Text8")->clear();
    const QString command = m_controls.field("Text7")->text();
    if (checkSendable(command)) {
        m_history.add(command);
        userSettings().setValue(kHistoryKey, m_history.commands());
        RS232(command);
        m_link.sleep(commands::kCommandReplyWait);
        m_controls.field("Text8")->setText(m_link.readAll());
        // The next typing replaces the command sent instead of gluing onto it, whether it
        // went by Enter or by the button.
        m_controls.field("Text7")->setFocus();
        m_controls.field("Text7")->selectAll();
    }
    m_timer1.start();
}

void ConsolePanel::Command21_Click() {
    const Link::Exclusive exclusive(m_link);  // the question lets events run
    m_timer1.stop();
    if (m_prompter.message(window(), QStringLiteral("是否儲存參數?"), QStringLiteral("訊息"),
                           Prompter::Buttons::YesNo,
                           Prompter::Icon::Question) == Prompter::Answer::Yes) {
        RS232(commands::kSaveParameters);
    }
    m_timer1.start();
}

void ConsolePanel::lostPort() {
    const QString reason = m_link.lostReason().value_or(QString());
    ShowDisconnected();
    notice(QStringLiteral("連接埠 %1 已中斷, 連線結束: %2").arg(portName(), reason));
}

void ConsolePanel::ShowDisconnected() {
    enableConnectedControls(false);
    m_timer1.stop();
    if (m_link.isOpen()) {
        m_link.close();
    }
    emit connectionShown(QStringLiteral("未連線"));
    emit disconnected();
    // Nobody may read an old position or input as live; the start-up values are no reading
    // and stay until the first connection.
    if (!std::exchange(m_shownConnected, false)) {
        return;
    }
    for (const char* name : {"Text5", "Text2", "Text4"}) {
        m_controls.field(name)->clear();
    }
    for (QCheckBox* box : m_inputs) {
        box->setChecked(false);
    }
}

void ConsolePanel::RS232(const QString& text) {
    if (!m_link.isOpen()) {
        m_prompter.message(window(), QStringLiteral(" 連線錯誤 !"), applicationTitle());
        return;
    }
    if (checkSendable(text)) {
        m_link.writeLine(text);
    }
}

std::optional<double> ConsolePanel::lastPosition() const {
    const QString reading = teachReading(m_controls.field("Text5")->text());
    if (!m_link.isOpen() || !isNumberText(reading)) {
        return std::nullopt;
    }
    return reading.trimmed().toDouble();
}

void ConsolePanel::signOff() {
    if (m_link.isOpen()) {
        m_timer1.stop();
        RS232(commands::kEchoOn);
        m_link.close();
    }
}

ConsolePanel::Pause::Pause(ConsolePanel& console) : m_console(console) {
    if (m_console.m_link.isOpen()) {
        m_console.m_timer1.stop();
    }
}

ConsolePanel::Pause::~Pause() {
    if (m_console.m_link.isOpen()) {
        m_console.m_timer1.start();
    }
}

}  // namespace tql
