// Renders the windows as the operator sees them into PNG files, for a look at the layout:
//   screenshots [--font-size PT] OUTDIR [DEVICE [CELL-DEVICE...]]
// With DEVICE (a simulator's pseudo-terminal) it also connects, shows the wire monitor,
// uploads (with its progress) and runs a program; with further devices it adds them as a
// cell under 設定 > 控制器 and uploads to all of them. Run it under a real X server with a
// window manager, so titles show (scripts/screenshots.sh starts Xvfb and twm), and a CJK
// font.

#include "link/qtserialline.h"
#include "session/language.h"
#include "window/form1.h"
#include "window/prompter.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QCommandLineParser>
#include <QDialog>
#include <QDir>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>

#include <QFile>

#include <cstdio>
#include <span>

namespace {

// Answers every box at once, as an operator saying yes to everything would.
class YesPrompter final : public tql::Prompter {
public:
    Answer message(QWidget*, const QString&, const QString&, Buttons buttons, Icon) override {
        return buttons == Buttons::Ok || buttons == Buttons::OkCancel ? Answer::Ok : Answer::Yes;
    }
    QString inputBox(QWidget*, const QString&, const QString&, const QString&) override {
        return {};
    }
    QString saveFileName(QWidget*, const QString&, const QString&) override { return {}; }
    QString openFileName(QWidget*, const QString&, const QString&) override { return {}; }
};

// The window with its frame and title, as the window manager draws it.
void grabFramed(QWidget& window, const QString& path) {
    QApplication::processEvents();
    const QRect frame = window.frameGeometry();
    QGuiApplication::primaryScreen()
        ->grabWindow(0, frame.x(), frame.y(), frame.width(), frame.height())
        .save(path);
}

// A program table: the header row, then the rows.
tql::ProgramTable tableOf(std::span<const tql::Row> rows) {
    tql::ProgramTable table{};
    table[0] = tql::headerRow();
    std::copy(rows.begin(), rows.end(), table.begin() + 1);
    return table;
}

// The editor: a short program as the list shows it after a few entries, a row armed for
// modifying (the list marks it, the status bar says so, the title shows the unsaved
// program), and the program checks under the list with a jump to no label and a move to a
// text.
void editorScreens(tql::FORM1& window, const QDir& out) {
    const std::array<tql::Row, 9> rows = {{
        {"VM", "100", "速度", "-", "-"},
        {"LOOP", "3", "迴圈", "-", "-"},
        {"POINT", "絕對移動", "100", "-", "-"},
        {"WT", "500", "延遲", "-", "-"},
        {"PULSE", "2", " 100", "ON-P", "-"},
        {"IN+J", "5", "A1", "IN+JP", "-"},
        {"LOOPEND", "迴圈結束", "-", "-", "-"},
        {"STEP", "MA 50", "直接指令", "自設", "-"},
        {"HOME", "回原點", "-", "-", "-"},
    }};
    tql::ProgramTable table = tableOf(rows);
    window.program().load(table, int(rows.size()));
    QTest::qWait(600);  // the first console tick
    window.grab().save(out.filePath("form1-program.png"));
    window.findChild<QPushButton*>("Command12")->click();

    QTreeWidget* list = window.findChild<QTreeWidget*>("ListView1");
    list->setCurrentItem(list->topLevelItem(3));
    window.findChild<QPushButton*>("Command8")->click();
    grabFramed(window, out.filePath("form1-modify-armed.png"));
    QTest::keyClick(&window, Qt::Key_Escape);

    table[rows.size() + 1] = {"GLABLE", "END", "跳至標籤", "-", "-"};
    table[rows.size() + 2] = {"MR", "相對移動", "5mm", "-", "-"};
    window.program().load(table, int(rows.size()) + 2);
    window.program().markChanged();
    window.findChild<QAction*>("檢查程式")->trigger();
    grabFramed(window, out.filePath("form1-findings.png"));
    // Enlarged, the program list and its findings take the extra room.
    const QSize normal = window.size();
    window.resize(normal + QSize(300, 120));
    QTest::qWait(200);
    grabFramed(window, out.filePath("form1-enlarged.png"));
    window.resize(normal);
    QTest::qWait(200);
    window.program().load(table, int(rows.size()));
    window.program().markChanged();
}

// The dry run of the program, and every row dialog.
void dialogScreens(tql::FORM1& window, const QDir& out) {
    window.findChild<QAction*>("模擬執行")->trigger();
    auto* dryRun = window.findChild<QWidget*>("DryRun");
    dryRun->move(window.frameGeometry().right() + 8, 0);
    QTest::qWait(300);
    grabFramed(*dryRun, out.filePath("dry-run.png"));
    dryRun->close();
    for (const auto& [button, dialog] : {std::pair{"Command10", "XIN"},
                                         {"Command11", "XOUT"},
                                         {"Command5", "MR"},
                                         {"Command15", "STEP"},
                                         {"Command19", "Form3"},
                                         {"Command1", "Form4"}}) {
        window.findChild<QPushButton*>(QString::fromUtf8(button))->click();
        QWidget* shown = window.findChild<QWidget*>(QString::fromUtf8(dialog));
        QTest::qWait(100);
        shown->grab().save(out.filePath(QStringLiteral("dialog-%1.png").arg(dialog)));
        shown->close();
    }
}

// A debug run paused at a breakpoint: the row it stands at green in the list, the
// breakpoint's row number red, the machine beside the chart, the chart's cursor.
void debugScreens(tql::FORM1& window, const QDir& out) {
    const tql::ProgramTable before = window.program().table();
    const int rowsBefore = window.program().RowCounter();
    const std::array<tql::Row, 6> rows = {{
        {"VM", "100", "速度", "-", "-"},
        {"LOOP", "3", "迴圈", "-", "-"},
        {"POINT", "絕對移動", "100", "-", "-"},
        {"IN+", "3", "IN+", "-", "-"},
        {"POINT", "絕對移動", "0", "-", "-"},
        {"LOOPEND", "迴圈結束", "-", "-", "-"},
    }};
    window.program().load(tableOf(rows), int(rows.size()));
    window.program().ClearEditModes();
    QTreeWidget* list = window.findChild<QTreeWidget*>("ListView1");
    list->setCurrentItem(list->topLevelItem(4));
    window.findChild<QAction*>("中斷點")->trigger();
    window.findChild<QAction*>("模擬執行")->trigger();
    auto* dryRun = window.findChild<QWidget*>("DryRun");
    dryRun->move(window.frameGeometry().right() + 8, 0);
    dryRun->findChild<QPlainTextEdit*>("DryChanges")->setPlainText("輸入 3 在等待 0.5 秒後變 1");
    dryRun->findChild<QPushButton*>("DryReset")->click();
    dryRun->findChild<QPushButton*>("DryRunStart")->click();  // to row 5, the second round
    dryRun->findChild<QPushButton*>("DryRunStart")->click();
    QTest::qWait(300);
    const QRect both = window.frameGeometry().united(dryRun->frameGeometry());
    QGuiApplication::primaryScreen()
        ->grabWindow(0, both.x(), both.y(), both.width(), both.height())
        .save(out.filePath("debug-paused.png"));
    dryRun->findChild<QPushButton*>("DryReset")->click();
    dryRun->close();
    window.program().load(before, rowsBefore);
    window.program().markChanged();
}

// On the simulator: the wire monitor, the upload halfway (the simulator takes it at 9600
// baud), the program running, 趨勢 with the slide's motion as the polls read it, and the
// run measured over the model's.
void consoleScreens(tql::FORM1& window, const QDir& out) {
    window.findChild<QPushButton*>("連線鍵")->click();
    window.findChild<QCheckBox*>("Check4(1)")->setChecked(true);
    window.findChild<QAction*>("通訊監視")->trigger();
    auto* monitor = window.findChild<QWidget*>("WireMonitor");
    monitor->move(window.frameGeometry().right() + 8, window.y());
    QTest::qWait(1200);  // two console ticks on the wire
    monitor->grab().save(out.filePath("wire-monitor.png"));
    // The teach dialog connected: numeric entry with the jog and 取目前位置, then teach
    // entry, where the buttons that would move the slide are off.
    window.findChild<QPushButton*>("Command19")->click();
    auto* teach = window.findChild<QWidget*>("Form3");
    QTest::qWait(500);
    teach->grab().save(out.filePath("teach-numeric.png"));
    teach->findChild<QRadioButton*>("Option2(1)")->click();
    QTest::qWait(500);
    teach->grab().save(out.filePath("teach-free.png"));
    teach->findChild<QPushButton*>("Command3(1)")->click();
    QObject::connect(&window.session(), &tql::ControllerSession::uploadProgress, &window,
                     [&](int sent, int total) {
                         if (sent == total / 2 + 2) {  // the window on screen is two lines behind
                             grabFramed(window, out.filePath("upload-progress.png"));
                         }
                     });
    window.findChild<QPushButton*>("Command3")->click();
    QTest::qWait(1700);
    window.grab().save(out.filePath("form1-running.png"));
    auto* tabs = window.findChild<QTabWidget*>("SSTab1");
    tabs->setCurrentIndex(1);
    QTest::qWait(4000);
    grabFramed(window, out.filePath("form1-trend.png"));
    tabs->setCurrentIndex(0);
    // The upload started the program: its run measured over the model's.
    auto* measured = window.findChild<QWidget*>("DryRun");
    measured->move(window.frameGeometry().right() + 8, 0);
    QTest::qWait(300);
    measured->grab().save(out.filePath("measured-run.png"));
    // A program of long and short moves run to its end, 校正 from it, and the runs kept in
    // 執行紀錄.
    window.findChild<QPushButton*>("停止")->click();
    const std::array<tql::Row, 6> moves = {{
        {"VM", "100", "速度", "-", "-"},
        {"POINT", "絕對移動", "100", "-", "-"},
        {"VM", "300", "速度", "-", "-"},
        {"POINT", "絕對移動", "0", "-", "-"},
        {"POINT", "絕對移動", "40", "-", "-"},
        {"POINT", "絕對移動", "0", "-", "-"},
    }};
    window.program().load(tableOf(moves), int(moves.size()));
    window.findChild<QPushButton*>("Command3")->click();
    QElapsedTimer waited;
    waited.start();
    while (window.session().measuring() && waited.elapsed() < 20000) {
        QTest::qWait(100);
    }
    if (auto* calibrate = measured->findChild<QPushButton*>("DryCalibrate");
        calibrate->isEnabled()) {
        calibrate->click();
    }
    QTest::qWait(300);
    measured->grab().save(out.filePath("measured-calibrated.png"));
    window.findChild<QAction*>("執行紀錄")->trigger();
    auto* history = window.findChild<QWidget*>("RunHistory");
    history->move(window.frameGeometry().right() + 8, 0);
    QTest::qWait(300);
    history->grab().save(out.filePath("run-history.png"));
    history->close();
    QGuiApplication::primaryScreen()->grabWindow(0).save(out.filePath("desktop.png"));
}

// A cell: the simulators beyond the first added under 設定 > 控制器, one refused for a port
// taken, each connected; the program uploaded to all of them at once, and 趨勢 with every
// controller's position.
void cellScreens(tql::FORM1& window, const QDir& out, const QStringList& devices) {
    for (const char* other : {"DryRun", "RunHistory", "WireMonitor"}) {
        window.findChild<QWidget*>(other)->hide();
    }
    window.move(0, 0);
    window.findChild<QAction*>("控制器")->trigger();
    auto* dialog = window.findChild<QWidget*>("CellDialog");
    dialog->move(window.frameGeometry().right() + 8, 0);
    for (int k = 0; k < devices.size(); ++k) {
        dialog->findChild<QLineEdit*>("CellName")->setText(QStringLiteral("滑台 %1").arg(k + 2));
        dialog->findChild<QComboBox*>("CellPort")->setCurrentText(devices[k]);
        dialog->findChild<QPushButton*>("CellAdd")->click();
    }
    dialog->findChild<QLineEdit*>("CellName")->setText(QStringLiteral("壓床"));
    dialog->findChild<QComboBox*>("CellPort")->setCurrentText(devices.front());
    dialog->findChild<QPushButton*>("CellAdd")->click();
    QTest::qWait(300);
    grabFramed(*dialog, out.filePath("cell-dialog.png"));
    dialog->close();
    for (tql::CellConsole* console : window.cellConsoles()) {
        console->findChild<QPushButton*>("連線鍵")->click();
    }
    QTest::qWait(1500);
    window.findChild<QAction*>("UploadToSeveral")->trigger();
    auto* choice = window.findChild<QDialog*>("UploadChoice");
    QTest::qWait(300);
    grabFramed(*choice, out.filePath("cell-upload-choice.png"));
    choice->accept();
    QTest::qWait(3000);
    window.findChild<QTabWidget*>("SSTab1")->setCurrentIndex(1);
    QTest::qWait(3000);
    window.findChild<QWidget*>("DryRun")->hide();  // the upload's run, measured
    grabFramed(window, out.filePath("cell.png"));
}

}  // namespace

// The windows in the language the tool would show here (LANGUAGE, LANG, ...), with the
// application's font at a size given, as a larger system font would set it.
int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QCommandLineParser parser;
    const QCommandLineOption fontSize(QStringLiteral("font-size"),
                                      QStringLiteral("The font size in points."),
                                      QStringLiteral("points"));
    parser.addOption(fontSize);
    parser.addPositionalArgument(QStringLiteral("OUTDIR"), QStringLiteral("Where the PNGs go."));
    parser.addPositionalArgument(QStringLiteral("DEVICE"), QStringLiteral("The controller."));
    parser.addPositionalArgument(QStringLiteral("CELL-DEVICE"),
                                 QStringLiteral("Further controllers of a cell."));
    parser.process(app);
    const QStringList arguments = parser.positionalArguments();
    if (arguments.isEmpty()) {
        std::fprintf(stderr,
                     "usage: screenshots [--font-size PT] OUTDIR [DEVICE [CELL-DEVICE...]]\n");
        return 2;
    }
    const tql::LanguageTexts texts(
        tql::languageToShow(QString(), tql::systemLanguages(), tql::catalogueLanguages()));
    if (parser.isSet(fontSize)) {
        QFont font = QApplication::font();
        font.setPointSizeF(parser.value(fontSize).toDouble());
        QApplication::setFont(font);
    }
    const QDir out(arguments[0]);
    QDir().mkpath(out.path());
    QTemporaryDir workingDir;
    if (arguments.size() >= 2) {
        QFile settings(QDir(workingDir.path()).filePath("DATA.TXT"));
        settings.open(QIODevice::WriteOnly);
        settings.write(arguments[1].toLocal8Bit() + "\r\n");
    }
    YesPrompter prompter;
    tql::QtSerialLine line;
    tql::ThreadSleeper sleeper;
    tql::FORM1 window(prompter, line, sleeper, QDir(workingDir.path()), nullptr,
                      tql::threadedMeans);
    window.show();
    if (!QTest::qWaitForWindowExposed(&window)) {
        std::fprintf(stderr, "the window was never shown\n");
        return 1;
    }
    window.grab().save(out.filePath("form1-empty.png"));
    editorScreens(window, out);
    dialogScreens(window, out);
    debugScreens(window, out);
    if (arguments.size() >= 2) {
        consoleScreens(window, out);
    }
    if (arguments.size() >= 3) {
        cellScreens(window, out, arguments.mid(2));
    }
    return 0;
}
