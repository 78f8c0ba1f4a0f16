// What operators expect of a desktop tool: save and the title, undo and redo, the armed
// mode, the command history, the stop, the port menu, the jog and the wire monitor.

#include "files/programfile.h"
#include "link/link.h"
#include "link/portname.h"
#include "support/formfixture.h"
#include "support/quietoffscreen.h"
#include "window/trendchart.h"

#include <QActionGroup>
#include <QChart>
#include <QChartView>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QLineSeries>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QStandardPaths>
#include <QStatusBar>
#include <QValueAxis>

using namespace tql;
using tql::test::pollTimer;
using Answer = Prompter::Answer;

namespace {

struct Window : tql::test::FormFixture {
    Window() {
        click("Command12");
        form->activateWindow();  // the window's shortcuts (Esc, Delete, F12) need it active
        if (!QTest::qWaitForWindowActive(form.get())) {
            qFatal("the main window did not become active");
        }
    }

    void enter(const QString& button, const QString& text = "7") {
        prompter.inputs.push_back(text);
        click(button);
    }
    void connect() {
        line.replies = {"100\r", "", "", "2000\r", "100\r"};
        prompter.answers = {Answer::Ok};
        click("連線鍵");
        pollTimer(form->session()).stop();
        line.written.clear();
        prompter.messages.clear();
    }
    QString title() const { return form->windowTitle(); }
    QString mode() const { return form->statusBar()->currentMessage(); }
};

}  // namespace

class TestOperator : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { tql::test::installQuietHandler(); }

    void saveAndTitle() {
        Window w;
        QCOMPARE(w.title(), QString("PALDOR *"));  // 編輯開始 marks the program changed
        w.enter("Command2", "500");
        w.prompter.fileNames = {w.dir.filePath("first")};
        w.trigger("儲存");  // no file yet: asks for a name
        QCOMPARE(w.prompter.fileDialogs, 1);
        QCOMPARE(w.title(), QString("PALDOR - first.tq4"));

        w.enter("Command4");
        QCOMPARE(w.title(), QString("PALDOR - first.tq4 *"));
        w.trigger("儲存");  // the same file, no dialog
        QCOMPARE(w.prompter.fileDialogs, 1);
        QCOMPARE(w.title(), QString("PALDOR - first.tq4"));
        QCOMPARE(loadProgramFile(w.dir.filePath("first.tq4")).program->RowCounter, 2);

        // Undone back to the saved program, it is not changed.
        w.form->findChild<QAction*>("復原")->trigger();
        QCOMPARE(w.title(), QString("PALDOR - first.tq4 *"));
        w.form->findChild<QAction*>("重做")->trigger();
        QCOMPARE(w.title(), QString("PALDOR - first.tq4"));
        QVERIFY(!w.program().ProgramChanged());

        QCOMPARE(w.form->findChild<QAction*>("儲存")->shortcut(),
                 QKeySequence::keyBindings(QKeySequence::Save).first());
        QCOMPARE(w.form->findChild<QAction*>("另存新檔")->shortcut(), QKeySequence("Ctrl+Shift+S"));
    }

    // Every change to the table undoes and redoes exactly, the list with it. Steps: a
    // direct entry by its button name, "i:k"/"m:k" arm insert/modify on row k, "d:k" deletes
    // row k, "u" undo, "r" redo.
    // Steps: an entry button, "u"/"r" (復原/重做), "i:k"/"m:k"/"d:k" (click row k, then 插入,
    // 修改 or 刪除), "c:k" (click row k), "d" (press 刪除, which does nothing while disabled),
    // "tab" (focus into the list with no click), "Down"/"End" (keys on the list).
    void undoRedo_data() {
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<QStringList>("keywords");
        QTest::addColumn<bool>("editGroup");
        const QStringList three = {"Command2", "Command4", "Command13"};  // WT HOME CS
        const QStringList after = {"WT", "HOME", "CS"};
        QTest::newRow("undo an append")
            << three + QStringList{"u"} << QStringList{"WT", "HOME"} << false;
        QTest::newRow("undo all, redo one")
            << three + QStringList{"u", "u", "u", "r"} << QStringList{"WT"} << false;
        QTest::newRow("undo an insert")
            << three + QStringList{"i:2", "Command9", "u"} << after << false;
        QTest::newRow("undo a modify")
            << three + QStringList{"m:1", "Command9", "u"} << after << false;
        QTest::newRow("undo a delete") << three + QStringList{"d:2", "u"} << after << false;
        QTest::newRow("redo a delete")
            << three + QStringList{"d:2", "u", "r"} << QStringList{"WT", "CS"} << false;
        QTest::newRow("a new edit drops the redo") << three + QStringList{"u", "Command9", "r"}
                                                   << QStringList{"WT", "HOME", "RET"} << false;
        QTest::newRow("undo keeps the clicked row")
            << three + QStringList{"c:1", "u"} << QStringList{"WT", "HOME"} << true;
        QTest::newRow("delete after undo takes the clicked row")
            << three + QStringList{"c:1", "u", "d"} << QStringList{"HOME"} << false;
        QTest::newRow("redo keeps the clicked row")
            << three + QStringList{"u", "c:2", "r", "d"} << QStringList{"WT", "CS"} << false;
        QTest::newRow("the clicked row undone away")
            << three + QStringList{"c:3", "u"} << QStringList{"WT", "HOME"} << false;
        QTest::newRow("nothing highlighted after a store")
            << three + QStringList{"c:1", "Command9", "u", "d"} << after << false;
        QTest::newRow("focus alone chooses no row")
            << three + QStringList{"tab", "d"} << after << false;
        QTest::newRow("an arrow key chooses")
            << three + QStringList{"tab", "Down", "d"} << QStringList{"WT", "CS"} << false;
        QTest::newRow("End, then delete")
            << three + QStringList{"c:1", "End", "d"} << QStringList{"WT", "HOME"} << false;
    }

    void undoRedo() {
        QFETCH(QStringList, steps);
        QFETCH(QStringList, keywords);
        QFETCH(bool, editGroup);
        Window w;
        for (const QString& step : steps) {
            const int row = step.section(':', 1).toInt();
            if (step == "u" || step == "r") {
                w.form->findChild<QAction*>(step == "u" ? "復原" : "重做")->trigger();
            } else if (step.startsWith("i:") || step.startsWith("m:") || step.startsWith("d:")) {
                w.clickRow(row);
                w.click(step[0] == 'i' ? "Command6" : step[0] == 'm' ? "Command8" : "Command7");
            } else if (step.startsWith("c:")) {
                w.clickRow(row);
            } else if (step == "d") {
                w.click("Command7");
            } else if (step == "tab") {
                w.list()->setFocus(Qt::TabFocusReason);
            } else if (step == "Down" || step == "End") {
                QTest::keyClick(w.list(), step == "Down" ? Qt::Key_Down : Qt::Key_End);
            } else {
                w.enter(step);
            }
        }
        QCOMPARE(w.keywords(), keywords);
        QCOMPARE(w.list()->topLevelItemCount(), keywords.size());
        QCOMPARE(w.program().row(int(keywords.size()) + 1), Row{});
        for (const char* button : {"Command6", "Command7", "Command8"}) {
            QCOMPARE(w.find<QPushButton>(button)->isEnabled(), editGroup);
        }
    }

    void newAndOpenStartAFreshHistory() {
        Window w;
        w.enter("Command4");
        w.prompter.answers = {Answer::No};
        w.trigger("建立新檔");
        QVERIFY(!w.form->findChild<QAction*>("復原")->isEnabled());
        QCOMPARE(w.title(), QString("PALDOR"));
    }

    void armedModeIsShownAndEscDisarms() {
        Window w;
        for (const char* b : {"Command2", "Command4", "Command13"}) {
            w.enter(b);
        }
        w.clickRow(2);
        w.click("Command6");
        QCOMPARE(w.mode(), QString("插入於第 2 列之前"));
        QVERIFY(w.list()->topLevelItem(1)->font(0).bold());
        QTest::keyClick(w.form.get(), Qt::Key_Escape);
        QVERIFY(!w.program().InsertMode());
        QCOMPARE(w.mode(), QString());
        QVERIFY(!w.list()->topLevelItem(1)->font(0).bold());

        w.clickRow(3);
        w.click("Command8");
        QCOMPARE(w.mode(), QString("修改第 3 列"));
        w.enter("Command13");
        QCOMPARE(w.mode(), QString());
        w.click("Command5");  // the relative move, for a row at the end
        QCOMPARE(w.mode(), QString("加在第 4 列"));
    }

    // Esc on the main window never takes the mode an open row dialog stores with, and a
    // 確認 that can store nothing says so. Steps on the program WT, HOME: "open:B" (entry
    // button B), "esc", "m:k" (click row k, 修改), "type:T" (the open 相對移動's distance),
    // "ok:D" / "cancel:D" (確認 / 取消 of dialog D).
    void escAndRowDialogs_data() {
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<QStringList>("keywords");
        QTest::addColumn<QString>("row1Value");
        QTest::addColumn<QStringList>("messages");
        QTest::newRow("speed dialog open, Esc, 確認")
            << QStringList{"open:Command1", "esc", "ok:Form4"} << QStringList{"WT", "HOME", "VM"}
            << "延遲" << QStringList{};
        QTest::newRow("modify with 相對移動 open, Esc, 99, 確認")
            << QStringList{"m:1", "open:Command5", "esc", "type:99", "ok:MR"}
            << QStringList{"MR", "HOME"} << "99" << QStringList{};
        QTest::newRow("Esc after the dialog closed disarms")
            << QStringList{"m:1", "open:Command5", "cancel:MR", "esc", "open:Command4"}
            << QStringList{"WT", "HOME", "HOME"} << "延遲" << QStringList{};
        // Another entry while a row dialog is open only brings it to the front.
        QTest::newRow("another entry while a dialog is open")
            << QStringList{"open:Command5", "open:Command10", "type:5", "ok:MR"}
            << QStringList{"WT", "HOME", "MR"} << "延遲" << QStringList{};
    }

    void escAndRowDialogs() {
        QFETCH(QStringList, steps);
        QFETCH(QStringList, keywords);
        QFETCH(QString, row1Value);
        QFETCH(QStringList, messages);
        Window w;
        w.enter("Command2");
        w.enter("Command4");
        const auto dialogButton = [&](const QString& dialog, const char* button) {
            auto* open = w.form->findChild<QDialog*>(dialog);
            QVERIFY(open != nullptr);
            QTest::mouseClick(open->findChild<QPushButton*>(button), Qt::LeftButton);
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        };
        for (const QString& step : steps) {
            const QString arg = step.section(':', 1);
            if (step == "esc") {
                QTest::keyClick(w.form.get(), Qt::Key_Escape);
            } else if (step.startsWith("open:")) {
                w.click(arg);
            } else if (step.startsWith("m:")) {
                w.clickRow(arg.toInt());
                w.click("Command8");
            } else if (step.startsWith("type:")) {
                w.form->findChild<QDialog*>("MR")->findChild<QLineEdit*>("Text1")->setText(arg);
            } else if (step.startsWith("ok:")) {
                dialogButton(arg, "Command1");
            } else if (step.startsWith("cancel:")) {
                dialogButton(arg, "Command2");
            }
        }
        QCOMPARE(w.keywords(), keywords);
        QCOMPARE(w.program().row(1)[2], row1Value);
        QCOMPARE(w.messages(), messages);
    }

    void deleteKeyDeletes() {
        Window w;
        w.enter("Command2");
        w.enter("Command4");
        w.clickRow(1);
        w.list()->setFocus();
        QTest::keyClick(w.list(), Qt::Key_Delete);
        QCOMPARE(w.keywords(), QStringList{"HOME"});
        w.form->findChild<QAction*>("復原")->trigger();
        QCOMPARE(w.keywords(), (QStringList{"WT", "HOME"}));
    }

    // In modify mode a box opens with the row's own value.
    void modifyBoxesOfferTheRowsValue() {
        Window w;
        w.enter("LOP", "3");
        w.clickRow(1);
        w.click("Command8");
        w.enter("LOP", "4");
        QCOMPARE(w.prompter.inputBoxes.back().defaultText, QString("3"));
        QCOMPARE(w.program().row(1)[1], QString("4"));
    }

    // Up and Down walk the commands sent before, and the next window still has them.
    void commandHistory() {
        Window w;
        w.connect();
        auto* field = w.find<QLineEdit>("Text7");
        for (const char* command : {"?PE", "?VM"}) {
            field->setText(command);
            w.click("Command17");
        }
        QTest::keyClicks(field, "MA 50");  // typing replaces the command just sent
        QCOMPARE(field->text(), QString("MA 50"));
        field->setText("half typed");
        QTest::keyClick(field, Qt::Key_Up);
        QCOMPARE(field->text(), QString("?VM"));
        QTest::keyClick(field, Qt::Key_Up);
        QCOMPARE(field->text(), QString("?PE"));
        QTest::keyClick(field, Qt::Key_Down);
        QTest::keyClick(field, Qt::Key_Down);
        QCOMPARE(field->text(), QString("half typed"));

        FORM1 again(w.prompter, w.line, w.sleeper, QDir(w.dir.path()));
        auto* field2 = again.findChild<QLineEdit*>("Text7");
        QTest::keyClick(field2, Qt::Key_Up);
        QCOMPARE(field2->text(), QString("?VM"));
    }

    void stopSendsTwoEscapes() {
        Window w;
        QVERIFY(!w.find("停止")->isEnabled());
        w.connect();
        QVERIFY(w.find("停止")->toolTip().contains("F12"));
        w.click("停止");
        QCOMPARE(w.line.written, QByteArray("\x1b\x1b"));
        w.line.written.clear();
        QTest::keyClick(w.list(), Qt::Key_F12);
        QCOMPARE(w.line.written, QByteArray("\x1b\x1b"));
    }

    void portMenu() {
        Window w;
        auto* menu = w.form->findChild<QMenu*>("COM_PORT");
        emit menu->aboutToShow();
        QVERIFY(w.form->findChild<QAction*>("COM1")->isChecked());
        w.prompter.inputs = {"/dev/ttyUSB7"};
        w.trigger("其他");
        QCOMPARE(w.prompter.inputBoxes.back().defaultText, portDeviceName("1"));  // not "1"
        QCOMPARE(w.form->session().portNumber(), QString("/dev/ttyUSB7"));
        QCOMPARE(w.panel(2), QString("/dev/ttyUSB7"));
        emit menu->aboutToShow();
        QVERIFY(!w.form->findChild<QAction*>("COM1")->isChecked());
        w.trigger("COM3");
        emit menu->aboutToShow();
        QVERIFY(w.form->findChild<QAction*>("COM3")->isChecked());
    }

    // The jog moves to the last position read plus or minus the step, as 定位 would.
    void jog() {
        Window w;
        w.connect();
        w.click("Command19");
        auto* teach = w.form->findChild<QDialog*>("Form3");
        w.line.replies = {"12.5\r"};
        QTRY_COMPARE_WITH_TIMEOUT(teach->findChild<QLineEdit*>("Text1(1)")->text(),
                                  QString("12.5\r"), 2000);
        w.line.written.clear();
        teach->findChild<QComboBox*>("JogStep")->setEditText("0.1");
        QTest::mouseClick(teach->findChild<QPushButton*>("JogPlus"), Qt::LeftButton);
        QVERIFY2(w.line.written.startsWith("MA 12.6\r"), w.line.written.constData());
        teach->close();
    }

    // While the upload or a question holds the line, the teach dialog's option buttons,
    // 確認 and 取消 send nothing and do nothing, and say so; afterwards they work.
    void teachDialogWaitsForTheLine() {
        Window w;
        w.connect();
        w.click("Command19");
        auto* teach = w.form->findChild<QDialog*>("Form3");
        pollTimer(w.form->session()).stop();
        teach->findChild<QTimer*>("Timer1")->stop();
        w.line.written.clear();
        {
            const ControllerSession::Hold held(w.form->session());
            QTest::mouseClick(teach->findChild<QRadioButton*>("Option2(1)"), Qt::LeftButton);
            QVERIFY(teach->findChild<QRadioButton*>("Option2(0)")->isChecked());
            QTest::mouseClick(teach->findChild<QPushButton*>("Command3(0)"), Qt::LeftButton);
            QTest::mouseClick(teach->findChild<QPushButton*>("Command3(1)"), Qt::LeftButton);
            QVERIFY(w.line.written.isEmpty());
            QVERIFY(teach->isVisible());
            QCOMPARE(w.messages().size(), 3);
            QCOMPARE(w.keywords(), QStringList{});
        }
        QTest::mouseClick(teach->findChild<QPushButton*>("Command3(0)"), Qt::LeftButton);
        QCOMPARE(w.line.written, QByteArray("HON\r"));
        QCOMPARE(w.keywords(), QStringList{"POINT"});
    }

    // Started where it cannot write, the tool keeps DATA.TXT in the user's configuration
    // folder, and says so.
    void settingsWhereTheToolCannotWrite() {
        Window w;
        FORM1 elsewhere(w.prompter, w.line, w.sleeper, QDir("/nonexistent/folder"));
        const QString folder = QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
        QCOMPARE(elsewhere.findChild<QLabel*>("SettingsNote")->text(),
                 "設定存於 " + QDir::toNativeSeparators(folder));
        elsewhere.findChild<QAction*>("COM3")->trigger();
        QFile written(QDir(folder).filePath("DATA.TXT"));
        QVERIFY(written.open(QIODevice::ReadOnly));
        QCOMPARE(written.readAll(), QByteArray("3\r\n"));
        QCOMPARE(w.find<QLabel>("SettingsNote")->text(), QString());
    }

    // Errors the translator would let through are asked about before anything is sent.
    void uploadAsksAboutErrors() {
        Window w;
        w.connect();
        w.load({{"VM", "100", "速度", "-", "-"}, {"GLABLE", "B", "跳至標籤", "-", "-"}});
        w.prompter.answers = {Answer::No};
        w.click("Command3");
        QCOMPARE(w.messages(),
                 QStringList{"程式有錯誤:\n第 2 列: 錯誤: 標籤 \"B\" 不存在\n\n是否仍要上傳?"});
        QVERIFY(w.line.written.isEmpty());
        w.prompter.answers = {Answer::Yes, Answer::No, Answer::No};
        w.line.replies = {"1"};
        w.click("Command3");
        QVERIFY(w.line.written.contains("JP $B;"));
    }

    void findingsSelectTheirRow() {
        Window w;
        w.load({{"VM", "100", "速度", "-", "-"}, {"GLABLE", "B", "跳至標籤", "-", "-"}});
        w.click("檢查");
        auto* findings = w.form->findChild<QListWidget*>("Findings");
        QVERIFY(findings->isVisible());
        QCOMPARE(findings->count(), 1);
        QListWidgetItem* item = findings->item(0);
        emit findings->itemDoubleClicked(item);
        QCOMPARE(w.program().CurrentRow(), 2);
        QVERIFY(w.find("Command7")->isEnabled());

        // They follow the program: an edit that mends the row, and a new program.
        w.enter("標籤", "B");
        QCOMPARE(findings->item(0)->text(), QString("檢查完成: 沒有錯誤或警告."));
        w.clickRow(3);
        w.click("Command7");
        QCOMPARE(findings->count(), 1);
        QVERIFY(findings->item(0)->text().startsWith("第 2 列"));
        w.prompter.answers = {Answer::No};
        w.trigger("建立新檔");
        QCOMPARE(findings->item(0)->text(), QString("檢查完成: 沒有錯誤或警告."));
    }

    void dryRunWindow() {
        Window w;
        w.load({{"VM", "50", "速度", "-", "-"},
                {"IN+", "2", "IN+", "-", "-"},
                {"POINT", "絕對移動", "100", "-", "-"}});
        w.trigger("模擬執行");
        auto* window = w.form->findChild<QWidget*>("DryRun");
        QVERIFY(window->isVisible());
        // A wait nothing releases stops at once; a double-click on it selects its row.
        auto* summaryList = window->findChild<QListWidget*>("DrySummary");
        QCOMPARE(summaryList->item(0)->text(), QString("第 2 列: 等待輸入 2, 沒有排定的變化"));
        emit summaryList->itemDoubleClicked(summaryList->item(0));
        QCOMPARE(w.program().CurrentRow(), 2);
        window->findChild<QPlainTextEdit*>("DryChanges")->setPlainText("輸入 2 在 1.5 秒時變 1");
        QTest::mouseClick(window->findChild<QPushButton*>("DryRunStart"), Qt::LeftButton);
        QStringList lines;
        for (int i = 0; i < summaryList->count(); ++i) {
            lines << summaryList->item(i)->text();
        }
        const QString summary = lines.join('\n');
        QVERIFY2(summary.startsWith("程式執行完畢") && summary.contains("第 2 列等待輸入 1.498"),
                 qPrintable(summary));
        QVERIFY(w.line.written.isEmpty());  // nothing on any line

        window->findChild<QPlainTextEdit*>("DryChanges")->setPlainText("soon");
        QTest::mouseClick(window->findChild<QPushButton*>("DryRunStart"), Qt::LeftButton);
        QVERIFY(w.messages().last().contains("輸入 3 在 2.0 秒時變 1"));
        window->close();
    }

    // 趨勢 charts the positions the polls read, and starts anew at a disconnect.
    void trend() {
        Window w;
        w.connect();
        auto* trend = w.form->findChild<TrendChart*>("Trend");
        QChart* chart = trend->findChild<QChartView*>()->chart();
        const auto points = [chart] {
            return qobject_cast<QLineSeries*>(chart->series().value(0))->count();
        };
        QCOMPARE(points(), 0);
        w.line.replies = {"12.5\r", "", "0\r"};
        pollTimer(w.form->session()).setSingleShot(true);
        pollTimer(w.form->session()).start(0);
        QTRY_COMPARE_WITH_TIMEOUT(points(), 1, 2000);
        w.click("Command22");
        QCOMPARE(points(), 0);

        // The position axis follows the two minutes shown: an excursion that scrolled out
        // no longer widens it.
        trend->addPoint(0, 500);
        trend->addPoint(60, 10);
        const auto* axis = qobject_cast<QValueAxis*>(chart->axes(Qt::Vertical).value(0));
        QCOMPARE((std::pair{axis->min(), axis->max()}), (std::pair{10.0 - 24.5, 500.0 + 24.5}));
        trend->addPoint(130, 12);
        QCOMPARE(points(), 2);
        QCOMPARE((std::pair{axis->min(), axis->max()}), (std::pair{9.0, 13.0}));
    }

    // 說明 > 關於 names the version and the licence; Ctrl+Q is 結束.
    void aboutAndQuit() {
        Window w;
        QCoreApplication::setApplicationVersion("9.8.7");
        w.form->findChild<QAction*>("關於")->trigger();
        QCOMPARE(w.prompter.messages.back().title, QString("關於"));
        QVERIFY(w.messages().last().contains("9.8.7"));
        QVERIFY(w.messages().last().contains("授權"));
        w.form->program().markSaved();
        QTest::keyClick(w.form.get(), Qt::Key_Q, Qt::ControlModifier);
        QVERIFY(!w.form->isVisible());
    }

    void wireMonitorShowsTheLine() {
        Window w;
        w.trigger("通訊監視");
        auto* monitor = w.form->findChild<QWidget*>("WireMonitor");
        QVERIFY(monitor->isVisible());
        w.connect();
        auto* view = monitor->findChild<QPlainTextEdit*>("WireView");
        QTRY_VERIFY_WITH_TIMEOUT(view->toPlainText().contains("→ ?VM<CR>"), 2000);
        QVERIFY(view->toPlainText().contains("← 100<CR>"));
        monitor->findChild<QCheckBox*>("WireHex")->setChecked(true);
        QVERIFY(view->toPlainText().contains("→ 1B"));
        monitor->close();
        QVERIFY(!w.form->findChild<QAction*>("通訊監視")->isChecked());
    }
};

QTEST_MAIN(TestOperator)
#include "tst_operator.moc"
