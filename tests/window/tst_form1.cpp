#include "support/formfixture.h"
#include "support/quietoffscreen.h"

#include <QCheckBox>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>

#include <memory>

using namespace tql;
using tql::test::pollTimer;

namespace {

const QStringList kEntryGroup = {"Command19", "Command1",  "Command2",  "LOP",       "LOOPEND",
                                 "標籤",      "跳至標籤",  "Command4",  "Command5",  "Command9",
                                 "Command10", "Command11", "Command13", "Command14", "Command15"};
const QStringList kEditGroup = {"Command6", "Command7", "Command8"};

struct Window : tql::test::FormFixture {
    using FormFixture::FormFixture;

    void click(const QString& button) const {
        auto* b = find<QPushButton>(button);
        QVERIFY2(b->isEnabled(), qPrintable(button + " is disabled"));
        FormFixture::click(button);
    }
    // Enters rows through the real buttons, as an operator would.
    void enter(const QStringList& buttons) {
        for (const QString& button : buttons) {
            prompter.inputs.push_back("x");
            click(button);
        }
        prompter.inputs.clear();
    }
    // What the list shows: one "number|c1|c2|c3|c4" text per item.
    QStringList shown() const {
        QStringList result;
        for (int i = 0; i < list()->topLevelItemCount(); ++i) {
            QStringList cells;
            for (int c = 0; c < 5; ++c) {
                cells << list()->topLevelItem(i)->text(c);
            }
            result << cells.join('|');
        }
        return result;
    }
};

}  // namespace

class TestForm1 : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { tql::test::installQuietHandler(); }

    void startUpState() {
        Window w;
        QCOMPARE(w.form->windowTitle(), QString("PALDOR"));
        QCOMPARE(w.list()->columnCount(), 5);
        QStringList headers;
        for (int c = 0; c < 5; ++c) {
            headers << w.list()->headerItem()->text(c);
        }
        QCOMPARE(headers, (QStringList{" 行 數 ", " 數 據 ", " X 座標", " 附 註 ", " 附 註 "}));
        QVERIFY(!w.list()->header()->isHidden());
        QCOMPARE(w.list()->topLevelItemCount(), 0);
        QCOMPARE(w.list()->editTriggers(), QAbstractItemView::NoEditTriggers);

        for (const QString& name : kEntryGroup + kEditGroup) {
            QVERIFY2(!w.find(name)->isEnabled(), qPrintable(name));
        }
        QVERIFY(w.find("Command12")->isEnabled());
        QCOMPARE(w.find<QPushButton>("Command12")->text(), QString("編輯開始"));

        QCOMPARE(w.form->program().row(0), headerRow());
        QCOMPARE(w.form->program().RowCounter(), 0);
        QCOMPARE(w.memory().SpeedValue, QString("100"));
        QCOMPARE(w.memory().MoveValue, QString("0"));
        QVERIFY(w.memory().NumericEntry);
        QVERIFY(!w.form->program().ProgramChanged());

        const std::pair<const char*, const char*> fields[] = {
            {"Text1", "2000"}, {"Text2", "0"}, {"Text3", "200"}, {"Text4", "0"},
            {"Text5", "0"},    {"Text6", "0"}, {"Text7", ""},    {"Text8", ""}};
        for (const auto& [name, text] : fields) {
            QCOMPARE(w.find<QLineEdit>(name)->text(), QString::fromUtf8(text));
            QCOMPARE(w.find(name)->isEnabled(), QString(name) == "Text7");
        }
        QVERIFY(!w.find("原點")->isEnabled());
        QVERIFY(!w.find("Command16")->isEnabled());
        QCOMPARE(w.panel(1), QString("未連線"));
        QCOMPARE(w.panel(2), QString("COM1"));

        // The first tick finds the port closed and switches the console off for good.
        QVERIFY(pollTimer(w.form->session()).isActive());
        QTRY_VERIFY_WITH_TIMEOUT(!pollTimer(w.form->session()).isActive(), 2000);
        for (const char* name : {"原點", "Command16", "Command17", "Command18", "Command20",
                                 "Command21", "Command22", "Text1", "Text3", "Text6", "Text7"}) {
            QVERIFY2(!w.find(QString::fromUtf8(name))->isEnabled(), name);
        }
        QVERIFY(w.find("連線鍵")->isEnabled());
        QVERIFY(w.line.written.isEmpty());
        // Never connected, nothing is stale: the start-up values stay until a connection.
        for (const char* name : {"Text2", "Text4", "Text5"}) {
            QCOMPARE(w.find<QLineEdit>(name)->text(), QString("0"));
        }
    }

    // At its default size the window is as it always was, and no smaller; enlarged, the
    // program list takes the extra room, OUTPUT and INPUT stay under it, the rest stays.
    void windowGrows() {
        Window w;
        const QSize start = w.form->size();
        QCOMPARE(w.form->minimumSize(), start);
        auto* list = w.find("SSTab1");
        auto* console = w.find("ConsoleFrame");
        auto* output = w.find("Check4(1)")->parentWidget();
        QCOMPARE(list->geometry(), QRect(200, 143, 416, 322));
        const QRect consoleAt = console->geometry();
        const QRect outputAt = output->geometry();
        w.form->resize(start + QSize(300, 200));
        QTRY_COMPARE(w.form->centralWidget()->width(), 646 + 300);
        const int taller = w.form->centralWidget()->height() - 540;
        QVERIFY(taller > 150);
        QCOMPARE(list->geometry(), QRect(200, 143, 416 + 300, 322 + taller));
        QCOMPARE(output->geometry(), outputAt.translated(0, taller));
        QCOMPARE(console->geometry(), consoleAt);
    }

    void everyControlIsThere() {
        Window w;
        for (const char* name : {"Command3", "Command6", "Command7", "Command8", "SSTab1", "SSTab2",
                                 "StatusBar1", "Check4(1)", "Check4(4)", "Check1(1)", "Check1(8)",
                                 "建立新檔", "開啟舊檔", "另存新檔", "結束", "COM1", "COM4"}) {
            QVERIFY2(w.form->findChild<QObject*>(QString::fromUtf8(name)) != nullptr, name);
        }
        QVERIFY(w.form->session().findChild<QTimer*>("Timer1") != nullptr);  // the session's
    }

    void portSettingAtStartUp_data() {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QString>("panel");
        QTest::newRow("no file") << QByteArray() << "COM1";
        QTest::newRow("port 3") << QByteArray("3\r\n") << "COM3";
        QTest::newRow("empty first line") << QByteArray("\r\n2\r\n") << "COM";
        QTest::newRow("device path") << QByteArray("/dev/pts/7\r\n") << "/dev/pts/7";
    }

    void portSettingAtStartUp() {
        QFETCH(QByteArray, file);
        QFETCH(QString, panel);
        Window w(file);
        QCOMPARE(w.panel(2), panel);
        QVERIFY(file.isNull() != QFile::exists(w.dir.filePath("DATA.TXT")));
    }

    void choosingAPortWritesTheSettingsFile() {
        Window w;
        w.form->findChild<QAction*>("COM3")->trigger();
        QCOMPARE(w.panel(2), QString("COM3"));
        QCOMPARE(w.form->session().portNumber(), QString("3"));
        QFile file(w.dir.filePath("DATA.TXT"));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), QByteArray("3\r\n"));
    }

    // tql400 --simulator: its port for this run, DATA.TXT untouched; a port chosen later is
    // kept as ever.
    void aPortForThisRunOnly() {
        Window w(QByteArray("3\r\n"));
        w.form->usePortForThisRun("/dev/pts/77");
        QCOMPARE(w.panel(2), QString("/dev/pts/77"));
        QCOMPARE(w.form->session().portNumber(), QString("/dev/pts/77"));
        QFile file(w.dir.filePath("DATA.TXT"));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), QByteArray("3\r\n"));
    }

    void directEntries_data() {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("prompt");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QStringList>("row");
        QTest::addColumn<int>("icon");

        QTest::newRow("delay") << "Command2"
                               << "500"
                               << "請輸入延遲時間{1000為1秒}"
                               << "延遲時間" << QStringList{"WT", "500", "延遲", "-", "-"} << 6;
        QTest::newRow("coordinate reset")
            << "Command13"
            << ""
            << ""
            << "" << QStringList{"CS", " 0,0", "座標歸零", "-", "-"} << 16;
        QTest::newRow("call") << "Command14"
                              << "SUB 1"
                              << "請輸入呼叫標籤名稱:"
                              << "標籤" << QStringList{"CALL", "SUB 1", "呼叫標籤", "-", "-"} << 17;
        QTest::newRow("home") << "Command4"
                              << ""
                              << ""
                              << "" << QStringList{"HOME", "回原點", "-", "-", "-"} << 11;
        QTest::newRow("return") << "Command9"
                                << ""
                                << ""
                                << "" << QStringList{"RET", "RETURN", "返回", "-", "-"} << 12;
        QTest::newRow("loop") << "LOP"
                              << "abc"
                              << "請輸入迴圈次數:"
                              << "迴圈" << QStringList{"LOOP", "abc", "迴圈", "-", "-"} << 7;
        QTest::newRow("loop end") << "LOOPEND"
                                  << ""
                                  << ""
                                  << "" << QStringList{"LOOPEND", "迴圈結束", "-", "-", "-"} << 8;
        QTest::newRow("jump") << "跳至標籤"
                              << "A1"
                              << "請輸入跳至標籤名稱:"
                              << "跳至標籤" << QStringList{"GLABLE", "A1", "跳至標籤", "-", "-"}
                              << 10;
        QTest::newRow("label") << "標籤"
                               << " A1 "
                               << "請輸入標籤名稱:"
                               << "標籤" << QStringList{"LABLE", " A1 ", "標籤", "-", "-"} << 9;
    }

    // Each entry in append, insert and modify mode, on a three-row program.
    void directEntries() {
        QFETCH(QString, button);
        QFETCH(QString, typed);
        QFETCH(QString, prompt);
        QFETCH(QString, title);
        QFETCH(QStringList, row);

        const auto expectedRow = [&] { return Row{row[0], row[1], row[2], row[3], row[4]}; };
        const auto shownRow = [&](int number) {
            return QStringList{QString::number(number), row[1], row[2], row[3], row[4]}.join('|');
        };
        const QStringList start = {"WT", "HOME", "CS"};

        for (const QString mode : {"append", "insert", "modify"}) {
            Window w;
            w.click("Command12");
            w.enter({"Command2", "Command4", "Command13"});
            QCOMPARE(w.keywords(), start);
            w.prompter.inputBoxes.clear();
            w.form->program().markSaved();
            if (mode != "append") {
                w.clickRow(2);
                w.click(mode == "insert" ? "Command6" : "Command8");
            }
            if (!typed.isEmpty()) {
                w.prompter.inputs.push_back(typed);
            }
            w.click(button);

            if (prompt.isEmpty()) {
                QCOMPARE(w.prompter.inputBoxes.size(), size_t(0));
            } else {
                QCOMPARE(w.prompter.inputBoxes.size(), size_t(1));
                QCOMPARE(w.prompter.inputBoxes[0].text, prompt);
                QCOMPARE(w.prompter.inputBoxes[0].title, title);
            }
            const int at = mode == "append" ? 4 : 2;
            QStringList keywords = start;
            if (mode == "modify") {
                keywords[1] = row[0];
            } else {
                keywords.insert(at - 1, row[0]);
            }
            QCOMPARE(w.keywords(), keywords);
            QCOMPARE(w.form->program().row(at), expectedRow());
            QCOMPARE(w.shown().value(at - 1), shownRow(at));
            QCOMPARE(w.list()->topLevelItemCount(), keywords.size());
            QCOMPARE(w.form->program().CurrentRow(), at);
            QVERIFY(!w.form->program().AppendMode() && !w.form->program().InsertMode() &&
                    !w.form->program().ModifyMode());
            QVERIFY(w.form->program().ProgramChanged());
            QCOMPARE(w.form->program().row(0), headerRow());
        }
    }

    void iconsFollowTheRowKinds() {
        Window w;
        w.click("Command12");
        w.enter({"Command2", "Command4", "Command13", "LOP", "LOOPEND"});
        ProgramTable table = w.form->program().table();
        table[1][0] = "wt";   // unknown first keyword: no icon
        table[4][0] = "FOO";  // unknown keyword: the icon of the row above
        w.form->program().load(table, 5);
        const auto cacheKey = [&](int row) {
            return w.list()->topLevelItem(row - 1)->icon(0).pixmap(16, 15).toImage();
        };
        QVERIFY(w.list()->topLevelItem(0)->icon(0).isNull());
        QCOMPARE(cacheKey(4), cacheKey(3));
        QVERIFY(cacheKey(2) != cacheKey(3));
        QVERIFY(cacheKey(5) != cacheKey(3));
        const QIcon icon = w.list()->topLevelItem(1)->icon(0);
        QCOMPARE(icon.actualSize(QSize(64, 64)), QSize(16, 15));
        // At 200 % drawn at twice the pixels, not the 100 % picture enlarged.
        const QPixmap sharp = icon.pixmap(QSize(16, 15), 2.0);
        QCOMPARE(sharp.size(), QSize(32, 30));
        QVERIFY(sharp.toImage() !=
                icon.pixmap(QSize(16, 15), 1.0)
                    .scaled(32, 30, Qt::IgnoreAspectRatio, Qt::FastTransformation)
                    .toImage()
                    .convertToFormat(sharp.toImage().format()));
    }

    void cancelledInputStoresNothingAndKeepsTheMode() {
        Window w;
        w.click("Command12");
        w.enter({"Command4", "Command9"});
        w.clickRow(1);
        w.click("Command6");
        for (const char* button : {"Command2", "LOP", "標籤", "跳至標籤", "Command14"}) {
            w.click(QString::fromUtf8(button));  // no scripted text: cancelled or empty
        }
        QCOMPARE(w.keywords(), (QStringList{"HOME", "RET"}));
        QVERIFY(w.form->program().InsertMode());
        QVERIFY(!w.form->program().AppendMode());
        w.click("Command13");
        QCOMPARE(w.keywords(), (QStringList{"CS", "HOME", "RET"}));
    }

    void delayBoxOffersTheLastAcceptedDelay() {
        Window w;
        w.click("Command12");
        w.prompter.inputs = {"750"};
        w.click("Command2");
        w.click("Command2");  // cancelled
        w.prompter.inputs = {"120"};
        w.click("Command2");
        w.click("LOP");
        QCOMPARE(w.prompter.inputBoxes.size(), size_t(4));
        QCOMPARE(w.prompter.inputBoxes[0].defaultText, QString());
        QCOMPARE(w.prompter.inputBoxes[1].defaultText, QString("750"));
        QCOMPARE(w.prompter.inputBoxes[2].defaultText, QString("750"));
        QCOMPARE(w.prompter.inputBoxes[3].defaultText, QString());
        QCOMPARE(w.keywords(), (QStringList{"WT", "WT"}));
    }

    void editButtonGroup() {
        Window w;
        w.click("Command12");
        w.enter({"Command2", "Command4", "Command13", "Command9"});
        for (const QString& name : kEditGroup) {
            QVERIFY(!w.find(name)->isEnabled());
        }
        w.clickRow(2);
        QCOMPARE(w.form->program().CurrentRow(), 2);
        for (const QString& name : kEditGroup) {
            QVERIFY(w.find(name)->isEnabled());
        }
        // A store keeps the groups as they are: the edit group now acts on the new last row.
        w.click("Command4");
        QCOMPARE(w.form->program().CurrentRow(), 5);
        QVERIFY(w.find("Command7")->isEnabled());

        w.clickRow(2);
        w.click("Command7");
        QCOMPARE(w.keywords(), (QStringList{"WT", "CS", "RET", "HOME"}));
        QCOMPARE(w.shown().size(), 4);
        QCOMPARE(w.form->program().row(5), Row{});
        QCOMPARE(w.form->program().CurrentRow(), 2);
        for (const QString& name : kEditGroup) {
            QVERIFY(!w.find(name)->isEnabled());
        }

        // 修改 arms the mode without touching the entry group; 編輯開始 keeps it armed.
        Window fresh;
        fresh.load({{"WT", "5", "延遲", "-", "-"}});
        fresh.clickRow(1);
        fresh.click("Command8");
        QVERIFY(fresh.form->program().ModifyMode());
        QVERIFY(!fresh.find("Command4")->isEnabled());
        fresh.click("Command12");
        QVERIFY(fresh.form->program().ModifyMode());
        fresh.click("Command4");
        QCOMPARE(fresh.keywords(), QStringList{"HOME"});
    }

    // The highlighted row is the row the edit buttons act on, however the highlight moved.
    void keysMoveTheCurrentRow() {
        Window w;
        w.click("Command12");
        w.enter({"Command2", "Command4", "Command13", "Command9"});
        w.clickRow(1);
        w.click("Command7");  // the edit group is off again
        w.list()->setFocus();
        // After the rebuild nothing is highlighted: the first Down takes row 1.
        for (const auto& [key, row] : {std::pair{Qt::Key_Down, 1},
                                       {Qt::Key_Down, 2},
                                       {Qt::Key_End, 3},
                                       {Qt::Key_Home, 1},
                                       {Qt::Key_PageDown, 3}}) {
            QTest::keyClick(w.list(), key);
            QCOMPARE(w.form->program().CurrentRow(), row);
            QVERIFY(w.find("Command7")->isEnabled());
        }
        QTest::keyClick(w.list(), Qt::Key_Up);
        w.click("Command7");
        QCOMPARE(w.keywords(), (QStringList{"HOME", "RET"}));
    }

    // After New or Open the edit group may still be enabled while CurrentRow names no row.
    // After 建立新檔 or 開啟舊檔 no row is chosen and nothing is armed: the edit buttons wait
    // for the operator's choice, and a modify armed on the old program never replaces a
    // row of the new one.
    void newAndOpenLeaveNoRowChosen() {
        for (const char* command : {"建立新檔", "開啟舊檔"}) {
            Window w;
            w.click("Command12");
            w.enter({"Command4", "Command13"});
            w.clickRow(1);
            w.click("Command8");
            QVERIFY(w.form->program().ModifyMode());
            if (QString::fromUtf8(command) == "開啟舊檔") {
                w.load({{"WT", "5", "延遲", "-", "-"}});
            } else {
                w.prompter.answers = {Prompter::Answer::No};
                w.trigger(command);
            }
            for (const QString& name : kEditGroup) {
                QVERIFY2(!w.find(name)->isEnabled(), command);
            }
            QVERIFY(w.list()->selectedItems().isEmpty());
            w.click("Command9");
            QCOMPARE(w.keywords().last(), QString("RET"));
            QCOMPARE(w.form->program().row(0), headerRow());
        }
    }

    // An undo that takes the armed row away drops the armed modify, and the status bar
    // says which.
    void undoDropsTheArmedModeAndSaysSo() {
        Window w;
        w.click("Command12");
        w.enter({"Command4", "Command13", "Command9"});
        w.clickRow(3);
        w.click("Command8");
        w.trigger("復原");
        QVERIFY(!w.form->program().ModifyMode());
        QCOMPARE(w.form->statusBar()->currentMessage(),
                 QString("已取消「修改第 3 列」: 這一列已被復原或重做改變."));
    }

    // No highlight, no current row: a click on the list's blank area or Ctrl+click on the
    // highlighted row turns the edit buttons off and drops an armed modify; F9 then sets no
    // breakpoint.
    void noHighlightNoCurrentRow() {
        for (const bool control : {false, true}) {
            Window w;
            w.click("Command12");
            w.enter({"Command4", "Command13"});
            w.clickRow(2);
            w.click("Command8");
            w.clickRow(2);
            if (control) {
                QTest::mouseClick(w.list()->viewport(), Qt::LeftButton, Qt::ControlModifier,
                                  w.list()->visualItemRect(w.list()->topLevelItem(1)).center());
            } else {
                QTest::mouseClick(w.list()->viewport(), Qt::LeftButton, {},
                                  QPoint(10, w.list()->viewport()->height() - 4));
            }
            QVERIFY(w.list()->selectedItems().isEmpty());
            QCOMPARE(w.form->program().CurrentRow(), 0);
            QVERIFY(!w.form->program().ModifyMode());
            QVERIFY(!w.find("Command7")->isEnabled());
            QTest::keyClick(w.list(), Qt::Key_F9);
            QVERIFY(w.form->program().breakpoints().empty());
        }
    }

    void fullTableRefusesWithAMessage() {
        Window w;
        w.click("Command12");
        QList<Row> rows;
        for (int i = 1; i <= kMaxProgramRows; ++i) {
            rows.append({"WT", QString::number(i), "延遲", "-", "-"});
        }
        w.load(rows);
        w.click("Command4");
        QCOMPARE(w.form->program().RowCounter(), kMaxProgramRows);
        QCOMPARE(w.form->program().row(kMaxProgramRows)[1], QString("500"));
        QCOMPARE(w.prompter.messages.size(), size_t(1));
        QCOMPARE(w.prompter.messages[0].text, storeRefusalMessage(StoreOutcome::TableFull));
        QCOMPARE(w.prompter.messages[0].title, QString("PALDOR"));
        QCOMPARE(w.list()->topLevelItemCount(), kMaxProgramRows);
    }

    void dialogButtonsArmTheirModes_data() {
        QTest::addColumn<QString>("button");
        QTest::addColumn<bool>("changes");
        QTest::addColumn<bool>("armsEntry");
        QTest::newRow("speed") << "Command1" << false << false;
        QTest::newRow("input") << "Command10" << true << false;
        QTest::newRow("output") << "Command11" << true << false;
        QTest::newRow("custom step") << "Command15" << true << true;
        QTest::newRow("absolute move") << "Command19" << true << true;
        QTest::newRow("relative move") << "Command5" << true << true;
    }

    void dialogButtonsArmTheirModes() {
        QFETCH(QString, button);
        QFETCH(bool, changes);
        QFETCH(bool, armsEntry);
        Window w;
        w.click("Command12");
        w.form->program().markSaved();
        w.click(button);
        QVERIFY(w.form->program().AppendMode());
        QCOMPARE(w.form->program().ProgramChanged(), changes);
        QCOMPARE(w.form->program().EntryArmed(), armsEntry);
        QCOMPARE(w.form->program().RowCounter(), 0);
    }

    // 說明: the keys, and the walkthrough, said where it is not installed (a build tree).
    void helpShowsTheKeysAndTheWalkthrough() {
        test::FormFixture w;
        w.trigger("按鍵");
        for (const char* key : {"F7\t", "F8\t", "F9\t", "F12\t", "Ctrl+Z", "Ctrl+X"}) {
            QVERIFY2(w.messages().last().contains(QString::fromUtf8(key)), key);
        }
        w.trigger("操作說明");
        QVERIFY(w.messages().last().startsWith("找不到操作說明 "));
        QVERIFY(w.messages().last().contains("walkthrough.md"));
    }
};

QTEST_MAIN(TestForm1)
#include "tst_form1.moc"
