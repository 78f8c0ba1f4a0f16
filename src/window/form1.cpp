#include "window/form1.h"

#include "dialogs/form3.h"
#include "dialogs/form4.h"
#include "dialogs/mr.h"
#include "dialogs/step.h"
#include "dialogs/xin.h"
#include "dialogs/xout.h"
#include "files/big5.h"
#include "files/programfile.h"
#include "files/settingsfile.h"
#include "files/tracefile.h"
#include "link/commands.h"
#include "link/console.h"
#include "link/portname.h"
#include "link/serialline.h"
#include "program/directentries.h"
#include "translator/upload.h"
#include "window/prompter.h"
#include "window/rowicons.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QSerialPortInfo>
#include <QStatusBar>
#include <QTabWidget>
#include <QTreeWidget>

namespace tql {
namespace {

constexpr std::chrono::milliseconds kConsoleTick{500};

// The file dialog's filter as the operator has always known it.
const QString kProgramFilter = QStringLiteral("TQL400程式檔(*.tq4) | *.tq4");
const QString kUnsavedQuestion = QStringLiteral("尚未存檔, 是否要存檔 ?");

// The fifteen entry buttons switched as one group; 編輯開始 is always in the opposite state.
const std::array<const char*, 15> kEntryButtons = {
    "Command19", "Command1",  "Command2",  "LOP",       "LOOPEND",
    "標籤",      "跳至標籤",  "Command4",  "Command5",  "Command9",
    "Command10", "Command11", "Command13", "Command14", "Command15"};

const std::array<const char*, 3> kEditButtons = {"Command6", "Command7", "Command8"};

// Console controls that exist only for a connected controller.
const std::array<const char*, 7> kConnectedButtons = {
    "原點", "Command16", "Command17", "Command18", "Command20", "Command21", "Command22"};
const std::array<const char*, 4> kConnectedFields = {"Text1", "Text3", "Text6", "Text7"};

}  // namespace

FORM1::FORM1(Prompter& prompter, SerialLine& line, Sleeper& sleeper, QDir workingDir,
             QWidget* parent)
    : QMainWindow(parent),
      m_timer1(this),
      m_prompter(prompter),
      m_link(line, sleeper),
      m_workingDir(std::move(workingDir)) {
    setObjectName(QStringLiteral("FORM1"));
    setWindowTitle(applicationTitle());
    for (int i = 1; i < int(m_icons.size()); ++i) {
        m_icons[i] = rowIcon(i);
    }
    m_timer1.setObjectName(QStringLiteral("Timer1"));
    m_timer1.setInterval(kConsoleTick);
    m_timer1.setTimerType(Qt::PreciseTimer);  // a coarse timer drifts to 520-530 ms
    connect(&m_timer1, &QTimer::timeout, this, &FORM1::Timer1_Timer);
    buildWindow();
    buildMenu();
    setFixedSize(sizeHint());  // the controls stand at fixed places
    Form_Load();
    m_timer1.start();
}

QString FORM1::applicationTitle() {
    return QStringLiteral("PALDOR");
}

QPushButton* FORM1::makeButton(QWidget* parent, const QString& name, const QString& caption,
                               const QRect& geometry) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(name);
    button->setGeometry(geometry);
    m_buttons[name] = button;
    return button;
}

QLineEdit* FORM1::makeField(QWidget* parent, const QString& name, const QRect& geometry) {
    auto* field = new QLineEdit(parent);
    field->setObjectName(name);
    field->setGeometry(geometry);
    m_fields[name] = field;
    return field;
}

void FORM1::buildWindow() {
    auto* client = new QWidget(this);
    client->setFixedSize(646, 540);
    setCentralWidget(client);

    auto* upload = new QGroupBox(QStringLiteral("功能"), client);
    upload->setGeometry(26, 4, 115, 47);
    makeButton(upload, "Command3", "上傳", QRect(10, 17, 95, 24));

    // The console frame has always been titled "加速度".
    auto* console = new QGroupBox(QStringLiteral("加速度"), client);
    console->setObjectName(QStringLiteral("ConsoleFrame"));
    console->setGeometry(148, 4, 466, 131);
    constexpr int kRowY[] = {18, 40, 62, 84, 106};
    constexpr int kRowH = 21;
    makeButton(console, "連線鍵", "連線", QRect(8, kRowY[0], 52, kRowH));
    makeButton(console, "Command22", "斷線", QRect(62, kRowY[0], 52, kRowH));
    makeButton(console, "原點", "原點", QRect(116, kRowY[0], 52, kRowH));
    makeButton(console, "Command21", "儲存參數", QRect(170, kRowY[0], 62, kRowH));
    makeButton(console, "Command18", "加速度", QRect(8, kRowY[1], 62, kRowH));
    makeField(console, "Text1", QRect(74, kRowY[1], 80, kRowH));
    makeButton(console, "Command20", "速度", QRect(8, kRowY[2], 62, kRowH));
    makeField(console, "Text3", QRect(74, kRowY[2], 80, kRowH));
    makeButton(console, "Command16", "定位", QRect(8, kRowY[3], 62, kRowH));
    makeField(console, "Text6", QRect(74, kRowY[3], 80, kRowH));
    makeButton(console, "Command17", "立即指令", QRect(8, kRowY[4], 62, kRowH));
    makeField(console, "Text7", QRect(74, kRowY[4], 158, kRowH));
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
        QLineEdit* display = makeField(console, displays[i].second, QRect(320, y, 138, kRowH));
        display->setReadOnly(true);
        // The displays stay disabled, yet the operator reads them all the time: keep their
        // text as dark as an enabled field's.
        QPalette palette = display->palette();
        palette.setColor(QPalette::Disabled, QPalette::Text,
                         palette.color(QPalette::Active, QPalette::Text));
        display->setPalette(palette);
    }

    auto* edit = new QGroupBox(QStringLiteral("修改"), client);
    edit->setGeometry(24, 56, 117, 81);
    makeButton(edit, "Command6", "插入", QRect(8, 20, 49, 26));
    makeButton(edit, "Command7", "刪除", QRect(60, 20, 49, 26));
    makeButton(edit, "Command8", "修改", QRect(8, 49, 101, 26));

    auto* entryTab = new QTabWidget(client);
    entryTab->setObjectName(QStringLiteral("SSTab2"));
    entryTab->setGeometry(24, 144, 171, 325);
    auto* entryPage = new QWidget;
    entryTab->addTab(entryPage, QStringLiteral("功能鍵"));
    // Grouped by what the rows do: moves, timing, loops, labels and calls, homing, I/O.
    const std::array<std::pair<const char*, const char*>, 14> pairs = {{{"Command19", "絕對移動"},
                                                                        {"Command5", "相對移動"},
                                                                        {"Command1", "速度"},
                                                                        {"Command2", "延遲"},
                                                                        {"LOP", "迴圈"},
                                                                        {"LOOPEND", "迴圈結束"},
                                                                        {"標籤", "標籤"},
                                                                        {"跳至標籤", "跳至標籤"},
                                                                        {"Command14", "呼叫標籤"},
                                                                        {"Command9", "返回"},
                                                                        {"Command4", "回原點"},
                                                                        {"Command13", "座標歸零"},
                                                                        {"Command10", "IN"},
                                                                        {"Command11", "OUT"}}};
    constexpr int kPitch = 32;
    makeButton(entryPage, "Command12", "編輯開始", QRect(6, 6, 153, 28));
    for (int i = 0; i < int(pairs.size()); ++i) {
        const int x = 6 + (i % 2) * 78;
        const int y = 6 + (1 + i / 2) * kPitch;
        makeButton(entryPage, QString::fromUtf8(pairs[i].first), QString::fromUtf8(pairs[i].second),
                   QRect(x, y, 75, 28));
    }
    makeButton(entryPage, "Command15", "自設步驟", QRect(6, 6 + 8 * kPitch, 153, 28));

    auto* listTab = new QTabWidget(client);
    listTab->setObjectName(QStringLiteral("SSTab1"));
    listTab->setGeometry(200, 143, 416, 322);
    m_list = new QTreeWidget;
    m_list->setObjectName(QStringLiteral("ListView1"));
    listTab->addTab(m_list, QStringLiteral("座標點"));

    auto* outputs = new QGroupBox(QStringLiteral("OUTPUT"), client);
    outputs->setGeometry(30, 472, 209, 57);
    for (int k = 1; k <= 4; ++k) {
        auto* box = new QCheckBox(QString::number(k), outputs);
        box->setObjectName(QStringLiteral("Check4(%1)").arg(k));
        box->setGeometry(12 + (k - 1) * 48, 24, 44, 22);
        m_outputs[k - 1] = box;
    }
    auto* inputs = new QGroupBox(QStringLiteral("INPUT"), client);
    inputs->setGeometry(248, 474, 362, 54);
    for (int k = 1; k <= 8; ++k) {
        auto* box = new QCheckBox(QString::number(k), inputs);
        box->setObjectName(QStringLiteral("Check1(%1)").arg(k));
        box->setGeometry(12 + (k - 1) * 43, 22, 40, 22);
        m_inputs[k - 1] = box;
    }

    statusBar()->setObjectName(QStringLiteral("StatusBar1"));
    statusBar()->setSizeGripEnabled(false);
    m_panel1 = new QLabel;
    m_panel1->setObjectName(QStringLiteral("StatusBar1(1)"));
    m_panel1->setMinimumWidth(120);
    m_panel2 = new QLabel;
    m_panel2->setObjectName(QStringLiteral("StatusBar1(2)"));
    m_panel2->setMinimumWidth(120);
    statusBar()->addPermanentWidget(m_panel1);
    statusBar()->addPermanentWidget(m_panel2, 1);

    connect(m_list, &QTreeWidget::itemClicked, this, &FORM1::ListView1_ItemClick);
    connect(m_buttons.at("Command12"), &QPushButton::clicked, this, &FORM1::Command12_Click);
    for (const DirectEntry& entry : directEntries()) {
        connect(m_buttons.at(entry.control), &QPushButton::clicked, this,
                [this, &entry] { directEntry(entry); });
    }
    const std::array<std::pair<const char*, RowDialogKind>, 6> dialogButtons = {{
        {"Command1", RowDialogKind::Speed},
        {"Command10", RowDialogKind::Input},
        {"Command11", RowDialogKind::Output},
        {"Command15", RowDialogKind::CustomStep},
        {"Command19", RowDialogKind::AbsoluteMove},
        {"Command5", RowDialogKind::RelativeMove},
    }};
    for (const auto& [name, dialog] : dialogButtons) {
        connect(m_buttons.at(QString::fromUtf8(name)), &QPushButton::clicked, this,
                [this, dialog = dialog] { rowDialogButton(dialog); });
    }
    connect(m_buttons.at("Command6"), &QPushButton::clicked, this, &FORM1::Command6_Click);
    connect(m_buttons.at("Command7"), &QPushButton::clicked, this, &FORM1::Command7_Click);
    connect(m_buttons.at("Command8"), &QPushButton::clicked, this, &FORM1::Command8_Click);
    connect(m_buttons.at("Command22"), &QPushButton::clicked, this, &FORM1::ShowDisconnected);
    connect(m_buttons.at("連線鍵"), &QPushButton::clicked, this, &FORM1::ConnectController);
    connect(m_buttons.at("Command3"), &QPushButton::clicked, this, &FORM1::Command3_Click);
    connect(m_buttons.at("Command16"), &QPushButton::clicked, this,
            [this] { sendFieldCommand(commands::kMoveTo, "Text6", false); });
    connect(m_buttons.at("Command17"), &QPushButton::clicked, this, &FORM1::Command17_Click);
    connect(m_buttons.at("Command18"), &QPushButton::clicked, this,
            [this] { sendFieldCommand(commands::kSetAcceleration, "Text1", true); });
    connect(m_buttons.at("Command20"), &QPushButton::clicked, this,
            [this] { sendFieldCommand(commands::kSetSpeed, "Text3", true); });
    connect(m_buttons.at("Command21"), &QPushButton::clicked, this, &FORM1::Command21_Click);
    // Enter in a console field does what its button does, and only while the button could.
    for (const auto& [field, button] : {std::pair{"Text7", "Command17"},
                                        {"Text1", "Command18"},
                                        {"Text3", "Command20"},
                                        {"Text6", "Command16"}}) {
        QPushButton* target = m_buttons.at(QString::fromUtf8(button));
        connect(m_fields.at(QString::fromUtf8(field)), &QLineEdit::returnPressed, target, [target] {
            if (target->isEnabled()) {
                target->click();
            }
        });
    }
    // The row the operator sees highlighted is the row the edit buttons act on, whether the
    // highlight came by mouse or by the arrow, Home/End and Page keys.
    connect(m_list, &QTreeWidget::currentItemChanged, this, &FORM1::ListView1_ItemClick);
    connect(m_buttons.at("原點"), &QPushButton::clicked, this, &FORM1::homeClicked);
    for (QCheckBox* box : m_inputs) {
        connect(box, &QCheckBox::clicked, this, &FORM1::inputIndicatorClicked);
    }
}

void FORM1::buildMenu() {
    QMenu* file = menuBar()->addMenu(QStringLiteral("檔案(&F)"));
    file->setObjectName(QStringLiteral("檔案"));
    const auto addFileCommand = [&](const char* name, const char* caption,
                                    void (FORM1::*command)()) {
        QAction* action = file->addAction(QString::fromUtf8(caption));
        action->setObjectName(QString::fromUtf8(name));
        connect(action, &QAction::triggered, this, command);
    };
    addFileCommand("建立新檔", "建立新檔(&N)", &FORM1::newProgramCommand);
    addFileCommand("開啟舊檔", "開啟舊檔(&O)", &FORM1::openProgramCommand);
    addFileCommand("另存新檔", "另存新檔(&A)", &FORM1::saveAsCommand);
    QMenu* settings = menuBar()->addMenu(QStringLiteral("設定(&S)"));
    settings->setObjectName(QStringLiteral("設定"));
    QMenu* ports = settings->addMenu(QStringLiteral("COM_PORT"));
    ports->setObjectName(QStringLiteral("COM_PORT"));
    m_portMenu = ports;
    connect(ports, &QMenu::aboutToShow, this, &FORM1::listSystemPorts);
    for (int n = 1; n <= 4; ++n) {
        QAction* action = ports->addAction(QStringLiteral("COM%1").arg(n));
        action->setObjectName(QStringLiteral("COM%1").arg(n));
        connect(action, &QAction::triggered, this, [this, n] { choosePort(QString::number(n)); });
    }
    QAction* quit = menuBar()->addAction(QStringLiteral("結束(&E)"));
    quit->setObjectName(QStringLiteral("結束"));
    connect(quit, &QAction::triggered, this, &QWidget::close);
}

void FORM1::Form_Load() {
    DisableEntryButtons();
    DisableEditButtons();
    m_list->clear();
    m_list->setColumnCount(5);
    m_list->setHeaderLabels({QStringLiteral(" 行 數 "), QStringLiteral(" 數 據 "),
                             QStringLiteral(" X 座標"), QStringLiteral(" 附 註 "),
                             QStringLiteral(" 附 註 ")});
    m_list->setRootIsDecorated(false);
    m_list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_list->setIconSize(QSize(16, 15));
    m_list->setUniformRowHeights(true);
    m_list->header()->setSectionsMovable(false);
    m_list->header()->setStretchLastSection(true);
    for (const auto& [column, width] : {std::pair{0, 56}, {1, 86}, {2, 86}, {3, 76}}) {
        m_list->setColumnWidth(column, width);
    }

    shared = SharedState{};
    shared.PortNumber = readPortNumber(m_workingDir);

    m_buttons.at("原點")->setEnabled(false);
    m_buttons.at("Command16")->setEnabled(false);
    for (const char* name : {"Text1", "Text2", "Text3", "Text4", "Text5", "Text6", "Text8"}) {
        m_fields.at(QString::fromUtf8(name))->setEnabled(false);
    }
    m_fields.at("Text1")->setText(QStringLiteral("2000"));
    m_fields.at("Text3")->setText(QStringLiteral("200"));
    m_fields.at("Text2")->setText(QStringLiteral("0"));
    for (const char* name : {"Text4", "Text5", "Text6"}) {
        m_fields.at(QString::fromUtf8(name))->setText(QStringLiteral("0"));
    }
    m_fields.at("Text7")->clear();
    m_fields.at("Text8")->clear();
    m_panel1->setText(QStringLiteral("未連線"));
    m_panel2->setText(portDisplayName(shared.PortNumber));
}

void FORM1::EnableEntryButtons() {
    for (const char* name : kEntryButtons) {
        m_buttons.at(QString::fromUtf8(name))->setEnabled(true);
    }
    m_buttons.at("Command12")->setEnabled(false);
}

void FORM1::DisableEntryButtons() {
    for (const char* name : kEntryButtons) {
        m_buttons.at(QString::fromUtf8(name))->setEnabled(false);
    }
    m_buttons.at("Command12")->setEnabled(true);
}

void FORM1::EnableEditButtons() {
    for (const char* name : kEditButtons) {
        m_buttons.at(QString::fromUtf8(name))->setEnabled(true);
    }
}

void FORM1::DisableEditButtons() {
    for (const char* name : kEditButtons) {
        m_buttons.at(QString::fromUtf8(name))->setEnabled(false);
    }
}

void FORM1::show_it() {
    const QSignalBlocker rebuilding(m_list);  // a rebuild selects no row
    m_list->clear();
    const std::vector<int> icons = listIcons(shared.ProgramTable, shared.RowCounter);
    QList<QTreeWidgetItem*> items;
    items.reserve(qsizetype(icons.size()));
    for (int i = 1; i <= int(icons.size()); ++i) {
        const Row& row = shared.ProgramTable[i];
        auto* item =
            new QTreeWidgetItem(QStringList{QString::number(i), row[1], row[2], row[3], row[4]});
        item->setIcon(0, m_icons[icons[i - 1]]);
        items.append(item);
    }
    m_list->addTopLevelItems(items);
}

void FORM1::ListView1_ItemClick(QTreeWidgetItem* item) {
    if (item == nullptr) {
        return;
    }
    shared.CurrentRow = item->text(0).toInt();
    EnableEditButtons();
}

void FORM1::Command12_Click() {
    shared.ProgramChanged = true;
    EnableEntryButtons();
    DisableEditButtons();
}

bool FORM1::reportStore(StoreOutcome outcome) {
    const QString refusal = storeRefusalMessage(outcome);
    if (!refusal.isEmpty()) {
        m_prompter.message(this, refusal, applicationTitle());
    }
    return outcome == StoreOutcome::Stored;
}

void FORM1::directEntry(const DirectEntry& entry) {
    ArmAppend(shared);
    QString text;
    if (entry.asksText()) {
        text = m_prompter.inputBox(this, entry.prompt, entry.title,
                                   entry.remembersText ? shared.LastDelay : QString());
        if (text.isEmpty()) {
            return;
        }
        if (entry.remembersText) {
            shared.LastDelay = text;
        }
    }
    if (reportStore(StoreRow(shared, entry.rowWith(text)))) {
        show_it();
    }
}

// The console timer pauses while the dialog is put up; the dialog stores its row when the
// operator confirms. The speed button alone leaves ProgramChanged to the stored row, and
// the move and custom-step dialogs may store one row per opening.
void FORM1::rowDialogButton(RowDialogKind dialog) {
    m_timer1.stop();
    ArmAppend(shared);
    if (dialog != RowDialogKind::Speed) {
        shared.ProgramChanged = true;
    }
    QDialog* opened = nullptr;
    switch (dialog) {
        case RowDialogKind::Speed:
            opened = new Form4(*this);
            break;
        case RowDialogKind::Input:
            opened = new XIN(*this);
            break;
        case RowDialogKind::Output:
            opened = new XOUT(*this);
            break;
        case RowDialogKind::CustomStep:
            shared.EntryArmed = true;
            opened = new STEP(*this);
            break;
        case RowDialogKind::AbsoluteMove:
            shared.EntryArmed = true;
            opened = new Form3(*this);
            break;
        case RowDialogKind::RelativeMove:
            shared.EntryArmed = true;
            opened = new MR(*this);
            break;
    }
    opened->show();
    if (dialog == RowDialogKind::Speed) {
        setMainWindowEnabled(false);
    }
    m_timer1.start();
}

void FORM1::setMainWindowEnabled(bool enabled) {
    centralWidget()->setEnabled(enabled);
    menuBar()->setEnabled(enabled);
}

void FORM1::Command6_Click() {
    DisableEditButtons();
    if (!CurrentRowIsValid(shared)) {
        return;
    }
    shared.ProgramChanged = true;
    EnableEntryButtons();
    ArmInsert(shared);
}

void FORM1::Command7_Click() {
    if (DeleteCurrentRow(shared)) {
        show_it();
    }
    DisableEditButtons();
}

void FORM1::Command8_Click() {
    DisableEditButtons();
    if (!CurrentRowIsValid(shared)) {
        return;
    }
    shared.ProgramChanged = true;
    ArmModify(shared);
}

void FORM1::Timer1_Timer() {
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
void FORM1::PollPositionAndInputs() {
    const PollReading reading = pollPositionAndInputs(m_link);
    m_fields.at("Text5")->setText(reading.position);
    for (int k = 0; k < 8; ++k) {
        m_inputs[k]->setChecked(reading.inputs[k]);
    }
}

void FORM1::SyncOutputs() {
    std::array<bool, 4> wanted{};
    for (int k = 0; k < 4; ++k) {
        wanted[k] = m_outputs[k]->isChecked();
    }
    syncOutputs(m_link, wanted, shared.OutputSent);
}

void FORM1::inputIndicatorClicked() {
    if (!m_link.isOpen()) {
        m_prompter.message(this, QStringLiteral(" Not Response !!  連線錯誤 !"),
                           applicationTitle());
        m_panel1->setText(QStringLiteral("未連線"));
    }
}

void FORM1::notice(const QString& text) {
    m_prompter.message(this, text, QStringLiteral("訊息"));
}

bool FORM1::checkSendable(const QString& text) {
    if (sendable(text)) {
        return true;
    }
    m_prompter.message(this, QStringLiteral("指令有 Big5 無法表示的字元, 未送出: %1").arg(text),
                       applicationTitle(), Prompter::Buttons::Ok, Prompter::Icon::Warning);
    return false;
}

bool FORM1::checkNumberField(const QString& value, bool emptyAllowed) {
    if ((emptyAllowed && value.isEmpty()) || isNumberText(value)) {
        return true;
    }
    notice(QStringLiteral("「%1」不是數字, 指令未送出!").arg(value));
    return false;
}

void FORM1::ConnectController() {
    notice(QStringLiteral(" 準備連線終止運作中程式"));
    if (!m_link.isOpen()) {
        if (const auto failure = m_link.open(shared.PortNumber)) {
            notice(*failure);
            return;
        }
    }
    if (!probeController(m_link)) {
        notice(QStringLiteral("通訊有誤!"));
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

void FORM1::ShowConnected() {
    for (const char* name : kConnectedButtons) {
        m_buttons.at(QString::fromUtf8(name))->setEnabled(true);
    }
    m_buttons.at("連線鍵")->setEnabled(false);
    for (const char* name : kConnectedFields) {
        m_fields.at(QString::fromUtf8(name))->setEnabled(true);
    }
    ReadInternalValues();
    m_timer1.start();
    m_panel1->setText(QStringLiteral("連線中"));
}

void FORM1::ReadInternalValues() {
    const InternalValues values = readInternalValues(m_link);
    m_fields.at("Text2")->setText(values.acceleration);
    m_fields.at("Text4")->setText(values.speed);
}

// 定位, 加速度 and 速度: the prefix and the field's text as one write, then CR; the last two
// then show what the controller now holds.
void FORM1::sendFieldCommand(const QString& prefix, const QString& field, bool readBack) {
    m_timer1.stop();
    const QString value = m_fields.at(field)->text();
    // An empty 定位 has always sent "MA " alone; the settings need a value.
    const bool emptyAllowed = prefix == commands::kMoveTo;
    if (checkNumberField(value, emptyAllowed)) {
        m_link.write(prefix + value);
        m_link.writeCarriageReturn();
        if (readBack) {
            ReadInternalValues();
        }
    }
    m_timer1.start();
}

void FORM1::Command17_Click() {
    m_timer1.stop();
    m_fields.at("Text8")->clear();
    const QString command = m_fields.at("Text7")->text();
    if (checkSendable(command)) {
        RS232(command);
        m_link.sleep(commands::kCommandReplyWait);
        m_fields.at("Text8")->setText(m_link.readAll());
    }
    m_timer1.start();
}

void FORM1::Command21_Click() {
    m_timer1.stop();
    if (m_prompter.message(this, QStringLiteral("是否儲存參數?"), QStringLiteral("訊息"),
                           Prompter::Buttons::YesNo,
                           Prompter::Icon::Question) == Prompter::Answer::Yes) {
        RS232(commands::kSaveParameters);
    }
    m_timer1.start();
}

void FORM1::homeClicked() {
    RS232(commands::kHome);
}

// A program that cannot be sent touches nothing: it is translated and checked before the
// port is opened, since connecting already stops the controller's running program.
void FORM1::Command3_Click() {
    Translation translation;
    if (shared.RowCounter > 0) {
        translation = TranslateProgram(shared.ProgramTable, shared.RowCounter);
        if (!translation.ok()) {
            notice(translation.error);
            return;
        }
        if (const std::optional<int> row = rowBig5CannotHold(translation)) {
            notice(QStringLiteral("第 %1 列有 Big5 無法表示的字元, 無法上傳!").arg(*row));
            return;
        }
    }
    if (!m_link.isOpen()) {
        ConnectController();
    }
    if (!m_link.isOpen() || shared.RowCounter == 0) {
        return;
    }
    // The trace is a record only: a trace that cannot be written is reported, the upload
    // goes on.
    if (const auto failure = writeTextLines(traceFilePath(), translation.ControllerText)) {
        notice(QStringLiteral("無法寫入記錄檔: %1").arg(*failure));
    }
    if (!m_link.isOpen()) {
        notice(QStringLiteral("尚未連線"));
        return;
    }
    m_timer1.stop();
    const auto ask = [this](const QString& question) {
        return m_prompter.message(this, question, QStringLiteral("訊息"), Prompter::Buttons::YesNo,
                                  Prompter::Icon::Question) == Prompter::Answer::Yes;
    };
    switch (downloadProgram(m_link, translation.ControllerText, ask)) {
        case DownloadOutcome::Sent:
            m_timer1.start();
            break;
        case DownloadOutcome::NoAnswer:
            notice(QStringLiteral("通訊有誤!"));
            // The console shows what is true: a closed port is a disconnected console.
            ShowDisconnected();
            break;
        case DownloadOutcome::LineLost:
            lostPort();
            break;
    }
}

void FORM1::lostPort() {
    const QString reason = m_link.lostReason().value_or(QString());
    ShowDisconnected();
    notice(QStringLiteral("連接埠已中斷, 連線結束: %1").arg(reason));
}

void FORM1::ShowDisconnected() {
    for (const char* name : kConnectedButtons) {
        m_buttons.at(QString::fromUtf8(name))->setEnabled(false);
    }
    m_buttons.at("連線鍵")->setEnabled(true);
    for (const char* name : kConnectedFields) {
        m_fields.at(QString::fromUtf8(name))->setEnabled(false);
    }
    m_timer1.stop();
    if (m_link.isOpen()) {
        m_link.close();
    }
    m_panel1->setText(QStringLiteral("未連線"));
    // Nobody may read an old position or input as live.
    for (const char* name : {"Text5", "Text2", "Text4"}) {
        m_fields.at(QString::fromUtf8(name))->clear();
    }
    for (QCheckBox* box : m_inputs) {
        box->setChecked(false);
    }
}

FORM1::ConsolePause::ConsolePause(FORM1& form) : m_form(form) {
    if (m_form.m_link.isOpen()) {
        m_form.m_timer1.stop();
    }
}

FORM1::ConsolePause::~ConsolePause() {
    if (m_form.m_link.isOpen()) {
        m_form.m_timer1.start();
    }
}

void FORM1::RS232(const QString& text) {
    if (!m_link.isOpen()) {
        m_prompter.message(this, QStringLiteral(" 連線錯誤 !"), applicationTitle());
        return;
    }
    if (checkSendable(text)) {
        m_link.writeLine(text);
    }
}

FORM1::SaveOutcome FORM1::saveProgramAs() {
    const QString chosen = m_prompter.saveFileName(this, kProgramFilter);
    if (chosen.isEmpty()) {
        return SaveOutcome::NoName;
    }
    const SaveResult result =
        saveProgramFile(withProgramSuffix(chosen), shared.ProgramTable, shared.RowCounter);
    switch (result.status) {
        case SaveStatus::Written:
            shared.ProgramChanged = false;
            return SaveOutcome::Saved;
        case SaveStatus::NothingToWrite:
            return SaveOutcome::NothingToWrite;
        case SaveStatus::Failed:
            break;
    }
    m_prompter.message(this, result.error, applicationTitle(), Prompter::Buttons::Ok,
                       Prompter::Icon::Warning);
    return SaveOutcome::Failed;
}

void FORM1::saveAsCommand() {
    ConsolePause pause(*this);
    saveProgramAs();
}

void FORM1::clearProgram() {
    shared.CurrentRow = 0;
    shared.RowCounter = 0;
    shared.ProgramChanged = false;
    show_it();
}

// 取消 never discards work: like 結束, 是 saves first, 否 clears, 取消 leaves everything.
void FORM1::newProgramCommand() {
    ConsolePause pause(*this);
    if (offerToSave()) {
        clearProgram();
    }
}

bool FORM1::offerToSave() {
    if (!shared.ProgramChanged) {
        return true;
    }
    switch (m_prompter.message(this, kUnsavedQuestion, applicationTitle(),
                               Prompter::Buttons::YesNoCancel, Prompter::Icon::Question)) {
        case Prompter::Answer::Yes: {
            const SaveOutcome saved = saveProgramAs();
            return saved == SaveOutcome::Saved || saved == SaveOutcome::NothingToWrite;
        }
        case Prompter::Answer::No:
            return true;
        case Prompter::Answer::Ok:
        case Prompter::Answer::Cancel:
            break;
    }
    return false;
}

void FORM1::openProgramCommand() {
    ConsolePause pause(*this);
    if (!offerToSave()) {
        return;
    }
    const QString chosen = m_prompter.openFileName(this, kProgramFilter);
    if (chosen.isEmpty()) {
        return;
    }
    const LoadResult loaded = loadProgramFile(chosen);
    if (!loaded.program) {
        m_prompter.message(this, loaded.error, applicationTitle(), Prompter::Buttons::Ok,
                           Prompter::Icon::Warning);
        return;
    }
    shared.ProgramTable = loaded.program->table;
    shared.RowCounter = loaded.program->RowCounter;
    shared.CurrentRow = 1;
    shared.ProgramChanged = false;
    show_it();
    if (!loaded.notice.isEmpty()) {
        m_prompter.message(this, loaded.notice, applicationTitle(), Prompter::Buttons::Ok,
                           Prompter::Icon::Warning);
    }
}

void FORM1::closeEvent(QCloseEvent* event) {
    {
        ConsolePause pause(*this);
        if (!offerToSave()) {
            event->ignore();
            return;
        }
    }
    if (m_link.isOpen()) {
        m_timer1.stop();
        RS232(commands::kEchoOn);
        m_link.close();
    }
    event->accept();
}

void FORM1::listSystemPorts() {
    qDeleteAll(m_systemPortActions);
    m_systemPortActions.clear();
    const QList<QSerialPortInfo> ports = QSerialPortInfo::availablePorts();
    if (ports.isEmpty()) {
        return;
    }
    m_systemPortActions << m_portMenu->addSeparator();
    for (const QSerialPortInfo& port : ports) {
#ifdef Q_OS_WIN
        const QString name = port.portName();
#else
        const QString name = port.systemLocation();
#endif
        const QString description = port.description();
        QAction* action = m_portMenu->addAction(
            description.isEmpty() ? name : QStringLiteral("%1  %2").arg(name, description));
        connect(action, &QAction::triggered, this, [this, name] { choosePort(name); });
        m_systemPortActions << action;
    }
}

void FORM1::choosePort(const QString& portNumber) {
    shared.PortNumber = portNumber;
    SETCOM();
}

void FORM1::SETCOM() {
    m_panel2->setText(portDisplayName(shared.PortNumber));
    if (const auto failure = writePortNumber(m_workingDir, shared.PortNumber)) {
        m_prompter.message(this, *failure, applicationTitle(), Prompter::Buttons::Ok,
                           Prompter::Icon::Warning);
    }
}

}  // namespace tql
