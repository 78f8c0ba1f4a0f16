#include "window/consolepanel.h"

#include "session/controllersession.h"
#include "window/controls.h"
#include "window/sessionclient.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QProgressDialog>
#include <QPushButton>

#include <optional>

namespace tql {
namespace {

constexpr int kRowY[] = {18, 40, 62, 84, 106};
constexpr int kRowH = 21;

}  // namespace

// The upload's progress window, made when the first line has gone out. Its 取消, and Esc
// however it reaches the window (its shortcut, or the dialog's own reject while the window
// is not yet active), stop the upload after the line on the wire at once, whichever thread
// the upload runs on: the window is never merely hidden while the upload goes on unseen.
class ConsolePanel::UploadProgressWindow {
public:
    UploadProgressWindow(QWidget* window, QString title, std::function<void()> cancel)
        : m_window(window), m_title(std::move(title)), m_cancel(std::move(cancel)) {}

    // Shows sent of total lines.
    void show(int sent, int total) {
        if (m_cancelled) {
            return;
        }
        if (!m_dialog) {
            m_dialog.emplace(ConsolePanel::tr("上傳中..."), ConsolePanel::tr("取消"), 0, total,
                             m_window);
            m_dialog->setObjectName(QStringLiteral("UploadProgress"));
            m_dialog->setWindowTitle(m_title);
            m_dialog->setWindowModality(Qt::WindowModal);
            m_dialog->setMinimumDuration(0);
            QObject::connect(&*m_dialog, &QDialog::rejected, [this] { cancel(); });
            QObject::connect(&*m_dialog, &QProgressDialog::canceled, [this] { cancel(); });
        }
        m_dialog->setLabelText(ConsolePanel::tr("上傳中... 第 %1 / %2 行").arg(sent).arg(total));
        m_dialog->setValue(sent);  // lets events run: a press of 取消 lands here
        if (sent == total && !m_cancelled) {
            hide();  // the questions come next
        }
    }
    void hide() {
        if (m_dialog) {
            m_dialog->hide();
        }
    }

private:
    // The word on the cancel comes next.
    void cancel() {
        if (!std::exchange(m_cancelled, true)) {
            m_cancel();
            hide();
        }
    }

    QWidget* m_window;
    QString m_title;
    std::function<void()> m_cancel;
    std::optional<QProgressDialog> m_dialog;
    bool m_cancelled = false;
};

ConsolePanel::ConsolePanel(SessionClient& session, const Program& program, QWidget* client)
    : QObject(client),
      m_client(session),
      m_session(session.session()),
      m_history(session.session().history().commands()),
      m_program(program) {
    buildUploadFrame(client);
    buildConsoleFrame(client);
    buildDisplays();
    buildInputsAndOutputs(client);
    connectSession();
}

void ConsolePanel::buildUploadFrame(QWidget* client) {
    m_uploadFrame = new QGroupBox(tr("功能"), client);
    m_upload = placed(new QPushButton(tr("上傳"), m_uploadFrame), QStringLiteral("Command3"),
                      QRect(8, 17, 48, 24));
    m_check = placed(new QPushButton(tr("檢查"), m_uploadFrame), QStringLiteral("檢查"),
                     QRect(59, 17, 48, 24));
    connect(m_upload, &QPushButton::clicked, this, &ConsolePanel::upload);
}

// The console frame has always been titled "加速度": a first row of buttons, then the
// settings and commands, each a button with its field. Enter in a field does what its
// button does, and only while the button could.
void ConsolePanel::buildConsoleFrame(QWidget* client) {
    m_consoleFrame = new QGroupBox(tr("加速度", "the console frame's title"), client);
    m_consoleFrame->setObjectName(QStringLiteral("ConsoleFrame"));
    using Button = QPushButton* ConsolePanel::*;
    using Field = QLineEdit* ConsolePanel::*;
    const auto button = [this](Button member, const char* name, const char* caption,
                               const QRect& geometry) {
        return this->*member = placed(new QPushButton(tr(caption), m_consoleFrame),
                                      QString::fromUtf8(name), geometry);
    };
    const std::array<std::tuple<Button, const char*, const char*, int, int>, 5> firstRow = {{
        {&ConsolePanel::m_connect, "連線鍵", QT_TR_NOOP("連線"), 8, 42},
        {&ConsolePanel::m_disconnect, "Command22", QT_TR_NOOP("斷線"), 52, 42},
        {&ConsolePanel::m_stop, "停止", QT_TR_NOOP("停止"), 96, 42},
        {&ConsolePanel::m_home, "原點", QT_TR_NOOP("原點"), 140, 42},
        {&ConsolePanel::m_saveParameters, "Command21", QT_TR_NOOP("儲存參數"), 184, 56},
    }};
    for (const auto& [member, name, caption, x, width] : firstRow) {
        button(member, name, caption, QRect(x, kRowY[0], width, kRowH));
    }
    const std::array<std::tuple<Button, const char*, const char*, Field, const char*, int>, 4>
        withFields = {{
            {&ConsolePanel::m_acceleration, "Command18", QT_TR_NOOP("加速度"),
             &ConsolePanel::m_accelerationField, "Text1", 80},
            {&ConsolePanel::m_speed, "Command20", QT_TR_NOOP("速度"), &ConsolePanel::m_speedField,
             "Text3", 80},
            {&ConsolePanel::m_position, "Command16", QT_TR_NOOP("定位"),
             &ConsolePanel::m_positionField, "Text6", 80},
            {&ConsolePanel::m_immediate, "Command17", QT_TR_NOOP("立即指令"),
             &ConsolePanel::m_commandField, "Text7", 158},
        }};
    for (int row = 1;
         const auto& [member, name, caption, fieldMember, fieldName, width] : withFields) {
        QPushButton* pressed = button(member, name, caption, QRect(8, kRowY[row], 62, kRowH));
        QLineEdit* field = this->*fieldMember =
                               placed(new QLineEdit(m_consoleFrame), QString::fromUtf8(fieldName),
                                      QRect(74, kRowY[row], width, kRowH));
        field->setAccessibleName(pressed->text());  // a screen reader names it by its button
        connect(field, &QLineEdit::returnPressed, pressed, [pressed] {
            if (pressed->isEnabled()) {
                pressed->click();
            }
        });
        ++row;
    }
    m_commandField->installEventFilter(this);
    m_stop->setToolTip(tr("停止控制器執行中的程式 (F12)"));
}

// The displays stay disabled, yet the operator reads them all the time: their text is as
// dark as an enabled field's.
void ConsolePanel::buildDisplays() {
    const std::array<std::tuple<QLineEdit * ConsolePanel::*, const char*, const char*, int>, 4>
        displays = {{{&ConsolePanel::m_slidePosition, QT_TR_NOOP("滑台座標"), "Text5", 0},
                     {&ConsolePanel::m_internalAcceleration, QT_TR_NOOP("內部加速度"), "Text2", 1},
                     {&ConsolePanel::m_internalSpeed, QT_TR_NOOP("內部速度"), "Text4", 2},
                     {&ConsolePanel::m_reply, QT_TR_NOOP("控制回應"), "Text8", 4}}};
    for (const auto& [member, caption, name, row] : displays) {
        auto* label = new QLabel(tr(caption), m_consoleFrame);
        label->setGeometry(244, kRowY[row], 72, kRowH);
        label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        QLineEdit* display = placed(new QLineEdit(m_consoleFrame), QString::fromUtf8(name),
                                    QRect(320, kRowY[row], 138, kRowH));
        label->setBuddy(display);
        display->setAccessibleName(label->text());
        display->setReadOnly(true);
        QPalette palette = display->palette();
        palette.setColor(QPalette::Disabled, QPalette::Text,
                         palette.color(QPalette::Active, QPalette::Text));
        display->setPalette(palette);
        this->*member = display;
    }
}

void ConsolePanel::buildInputsAndOutputs(QWidget* client) {
    m_outputFrame = new QGroupBox(QStringLiteral("OUTPUT"), client);
    for (int k = 1; k <= kOutputs; ++k) {
        QCheckBox* output =
            placed(new QCheckBox(QString::number(k), m_outputFrame),
                   QStringLiteral("Check4(%1)").arg(k), QRect(12 + (k - 1) * 48, 24, 44, 22));
        connect(output, &QCheckBox::toggled, this, [this, k](bool on) {
            m_client.post([k, on](ControllerSession& s) { s.setOutput(k, on); });
        });
        m_outputs[k - 1] = output;
    }
    m_inputFrame = new QGroupBox(QStringLiteral("INPUT"), client);
    for (int k = 1; k <= kInputs; ++k) {
        m_inputs[k - 1] =
            placed(new QCheckBox(QString::number(k), m_inputFrame),
                   QStringLiteral("Check1(%1)").arg(k), QRect(12 + (k - 1) * 43, 22, 40, 22));
        connect(m_inputs[k - 1], &QCheckBox::clicked, &m_session,
                &ControllerSession::inputsTouched);
        // The controller's inputs, shown: nothing for the keyboard to switch.
        m_inputs[k - 1]->setFocusPolicy(Qt::NoFocus);
        m_inputs[k - 1]->setAccessibleName(tr("輸入 %1").arg(k));
    }
}

void ConsolePanel::connectSession() {
    ControllerSession* session = &m_session;
    const auto button = [this](QPushButton* pressed, Exchange (ControllerSession::*verb)()) {
        connect(pressed, &QPushButton::clicked, this,
                [this, verb] { perform([verb](ControllerSession& s) { return (s.*verb)(); }); });
    };
    button(m_connect, &ControllerSession::ConnectController);
    button(m_disconnect, &ControllerSession::ShowDisconnected);
    button(m_stop, &ControllerSession::stopProgram);
    button(m_home, &ControllerSession::home);
    button(m_saveParameters, &ControllerSession::saveParameters);
    const auto field = [this](QPushButton* pressed, QLineEdit* value,
                              Exchange (ControllerSession::*verb)(const QString&)) {
        connect(pressed, &QPushButton::clicked, this, [this, value, verb] {
            perform([verb, text = value->text()](ControllerSession& s) { return (s.*verb)(text); });
        });
    };
    field(m_acceleration, m_accelerationField, &ControllerSession::setAcceleration);
    field(m_speed, m_speedField, &ControllerSession::setSpeed);
    field(m_position, m_positionField, &ControllerSession::positionSlide);
    connect(m_immediate, &QPushButton::clicked, this, &ConsolePanel::Command17_Click);

    connect(session, &ControllerSession::connectedChanged, this,
            &ConsolePanel::enableConnectedControls);
    connect(session, &ControllerSession::internalValuesRead, this,
            [this](const InternalValues& values) {
                m_internalAcceleration->setText(values.acceleration);
                m_internalSpeed->setText(values.speed);
            });
    connect(session, &ControllerSession::pollRead, this, &ConsolePanel::showReading);
    connect(session, &ControllerSession::readingsCleared, this, &ConsolePanel::clearReadings);
    connect(session, &ControllerSession::replyRead, m_reply, &QLineEdit::setText);
    connect(session, &ControllerSession::historyChanged, this,
            [this](const QStringList& commands) { m_history = CommandHistory(commands); });
    connect(session, &ControllerSession::uploadProgress, this, [this](int sent, int total) {
        if (m_progress) {
            m_progress->show(sent, total);
        }
    });
    // Before any word on how it ended (a lost port): never a progress window behind it.
    connect(session, &ControllerSession::uploadEnded, this, [this] {
        if (m_progress) {
            m_progress->hide();
        }
    });
}

ConsolePanel::~ConsolePanel() = default;

std::vector<QWidget*> ConsolePanel::placedControls() const {
    std::vector<QWidget*> controls;
    for (const QWidget* frame : {m_uploadFrame, m_consoleFrame, m_outputFrame, m_inputFrame}) {
        const QList<QWidget*> placed = frame->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
        controls.insert(controls.end(), placed.begin(), placed.end());
    }
    return controls;
}

void ConsolePanel::Form_Load() {
    for (QWidget* control : std::initializer_list<QWidget*>{
             m_home, m_position, m_stop, m_accelerationField, m_internalAcceleration, m_speedField,
             m_internalSpeed, m_slidePosition, m_positionField, m_reply}) {
        control->setEnabled(false);
    }
    m_accelerationField->setText(QStringLiteral("2000"));
    m_speedField->setText(QStringLiteral("200"));
    for (QLineEdit* field :
         {m_internalAcceleration, m_internalSpeed, m_slidePosition, m_positionField}) {
        field->setText(QStringLiteral("0"));
    }
    m_commandField->clear();
    m_reply->clear();
}

bool ConsolePanel::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_commandField && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Up || key == Qt::Key_Down) {
            CommandHistory& history = m_history;
            const std::optional<QString> shown =
                key == Qt::Key_Up ? history.older(m_commandField->text()) : history.newer();
            if (shown) {
                m_commandField->setText(*shown);
            }
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}

void ConsolePanel::enableConnectedControls(bool connected) {
    for (QWidget* control : std::initializer_list<QWidget*>{
             m_home, m_position, m_immediate, m_acceleration, m_speed, m_saveParameters,
             m_disconnect, m_stop, m_accelerationField, m_speedField, m_positionField,
             m_commandField}) {
        control->setEnabled(connected);
    }
    m_connect->setEnabled(!connected);
}

void ConsolePanel::showReading(const PollReading& reading) {
    m_slidePosition->setText(reading.position);
    for (int k = 0; k < kInputs; ++k) {
        m_inputs[k]->setChecked(reading.inputs[k]);
    }
}

void ConsolePanel::clearReadings() {
    for (QLineEdit* display : {m_slidePosition, m_internalAcceleration, m_internalSpeed}) {
        display->clear();
    }
    for (QCheckBox* box : m_inputs) {
        box->setChecked(false);
    }
}

// The next typing replaces the command sent instead of gluing onto it, whether it went by
// Enter or by the button.
void ConsolePanel::Command17_Click() {
    m_reply->clear();
    perform([command =
                 m_commandField->text()](ControllerSession& s) { return s.sendImmediate(command); },
            [this] {
                m_commandField->setFocus();
                m_commandField->selectAll();
            });
}

void ConsolePanel::perform(std::function<Exchange(ControllerSession&)> verb,
                           std::function<void()> done) {
    m_client.perform(std::move(verb), [this, done = std::move(done)](Exchange exchange) {
        tell(exchange);
        if (done && exchange == Exchange::Done) {
            done();
        }
    });
}

// The session says why a verb sent nothing, but for a line another exchange holds: that
// is the window's to say.
void ConsolePanel::tell(Exchange exchange) {
    if (exchange == Exchange::LineHeld) {
        m_session.notice(lineHeldMessage());
    }
}

// The progress window stays until the upload has ended, however it ended. In a cell it
// names the controller: several may be uploading at once.
void ConsolePanel::upload() {
    const QString name = m_session.objectName();
    m_progress = std::make_unique<UploadProgressWindow>(
        m_uploadFrame->window(), name.isEmpty() ? tr("上傳") : tr("上傳 - %1").arg(name),
        [this] { m_session.cancelUpload(); });
    perform([table = m_program.table(), rows = m_program.RowCounter()](ControllerSession& s) {
        return s.upload(table, rows);
    });
}

}  // namespace tql
