#include "support/formfixture.h"
#include "support/quietoffscreen.h"
#include "translator/translator.h"

#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using namespace tql;
using namespace std::chrono_literals;
using Answer = Prompter::Answer;
using Sleeps = std::vector<std::chrono::milliseconds>;

namespace {

const QByteArray kGreeting =
    "?VM\r\x1b\x1b"
    "EC=0\rHON\r?VA\r?VM\r";

struct Console : tql::test::FormFixture {
    // Connects to a controller that answers; forgets what connecting wrote and slept.
    void connect() {
        line.replies = {"100\r", "", "", "2000\r", "100\r"};
        click("連線鍵");
        QVERIFY(line.isOpen());
        // One tick at a time, on demand (tick()), instead of every 500 ms.
        form->Timer1().stop();
        form->Timer1().setSingleShot(true);
        form->Timer1().setInterval(1);
        line.written.clear();
        sleeper.sleeps.clear();
        prompter.messages.clear();
    }
    // Runs one console tick.
    void tick() {
        const int before = line.reads;
        form->Timer1().start();
        QTRY_VERIFY_WITH_TIMEOUT(line.reads >= before + 3, 2000);
    }
    QString panel1() const { return panel(1); }
};

const QStringList kConsoleButtons = {"原點",      "Command16", "Command17", "Command18",
                                     "Command20", "Command21", "Command22"};

}  // namespace

class TestConsoleWindow : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { tql::test::installQuietHandler(); }

    void connectSequence() {
        Console c;
        c.line.replies = {"1", "", "", "3000\r", "150\r"};
        c.click("連線鍵");
        QCOMPARE(c.messages(), QStringList{" 準備連線終止運作中程式"});
        QCOMPARE(c.prompter.messages[0].title, QString("訊息"));
        QCOMPARE(c.line.written, kGreeting);
        QCOMPARE(c.sleeper.sleeps, (Sleeps{200ms, 200ms, 50ms, 50ms}));
        QCOMPARE(c.text("Text2"), QString("3000\r"));
        QCOMPARE(c.text("Text4"), QString("150\r"));
        for (const QString& name : kConsoleButtons) {
            QVERIFY2(c.find(name)->isEnabled(), qPrintable(name));
        }
        QVERIFY(!c.find("連線鍵")->isEnabled());
        for (const char* name : {"Text1", "Text3", "Text6", "Text7"}) {
            QVERIFY(c.find(name)->isEnabled());
        }
        QVERIFY(c.form->Timer1().isActive());
        QCOMPARE(c.panel1(), QString("連線中"));
    }

    void silentControllerStaysDisconnected() {
        Console c;
        c.click("連線鍵");
        // "通訊有誤!" as always, and a second line naming the port that stayed silent.
        QCOMPARE(c.messages(), (QStringList{" 準備連線終止運作中程式",
                                            "通訊有誤!\n連接埠 COM1 在 200 ms 內沒有任何回應."}));
        QCOMPARE(c.prompter.messages[1].title, QString("訊息"));
        QCOMPARE(c.line.written, QByteArray("?VM\r"));
        QVERIFY(!c.line.isOpen());
        QVERIFY(c.find("連線鍵")->isEnabled());
        QCOMPARE(c.panel1(), QString("未連線"));
    }

    void portThatCannotBeOpened() {
        Console c;
        c.form->findChild<QAction*>("COM2")->trigger();
        c.line.openFailure = "No such file or directory";
        c.click("連線鍵");
        QCOMPARE(c.prompter.messages.size(), size_t(2));
        const QString failure = c.prompter.messages[1].text;
        QVERIFY2(failure.contains(c.line.openedPorts.value(0)) &&
                     failure.contains("No such file or directory"),
                 qPrintable(failure));
        QVERIFY(c.line.written.isEmpty());
        QVERIFY(!c.line.isOpen());
        QCOMPARE(c.panel1(), QString("未連線"));
    }

    void disconnectSendsNothing() {
        Console c;
        c.connect();
        c.find<QLineEdit>("Text5")->setText("12");
        c.find<QCheckBox>("Check1(3)")->setChecked(true);
        c.click("Command22");
        QVERIFY(c.line.written.isEmpty());
        QVERIFY(!c.line.isOpen());
        QVERIFY(c.find("連線鍵")->isEnabled());
        for (const QString& name : kConsoleButtons) {
            QVERIFY(!c.find(name)->isEnabled());
        }
        QVERIFY(!c.form->Timer1().isActive());
        QCOMPARE(c.panel1(), QString("未連線"));
        // No old position or input is left to be read as live.
        for (const char* display : {"Text5", "Text2", "Text4"}) {
            QCOMPARE(c.text(display), QString());
        }
        QVERIFY(!c.find<QCheckBox>("Check1(3)")->isChecked());
    }

    // Enter in a console field does what its button does; 定位, 加速度 and 速度 send only a
    // number, 立即指令 any text.
    void enterAndNumberFields_data() {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("sent");
        QTest::newRow("move") << "Text6"
                              << " -12.5" << QByteArray("MA  -12.5\r");
        QTest::newRow("move, empty") << "Text6"
                                     << "" << QByteArray("MA \r");
        QTest::newRow("move, text") << "Text6"
                                    << "abc" << QByteArray();
        QTest::newRow("acceleration") << "Text1"
                                      << "1500" << QByteArray("VA=1500\r?VA\r?VM\r");
        QTest::newRow("acceleration, text") << "Text1"
                                            << "fast" << QByteArray();
        QTest::newRow("speed, empty") << "Text3"
                                      << "" << QByteArray();
        QTest::newRow("free command") << "Text7"
                                      << "?ERR x" << QByteArray("?ERR x\r");
    }

    void enterAndNumberFields() {
        QFETCH(QString, field);
        QFETCH(QString, text);
        QFETCH(QByteArray, sent);
        Console c;
        c.connect();
        auto* edit = c.find<QLineEdit>(field);
        edit->setText(text);
        QTest::keyClick(edit, Qt::Key_Return);
        QCOMPARE(c.line.written, sent);
        QCOMPARE(c.messages().size(), sent.isEmpty() ? 1 : 0);
        if (sent.isEmpty()) {
            QCOMPARE(c.messages().first(), QString("「%1」不是數字, 指令未送出!").arg(text));
        }
    }

    void ticksKeepTheirPeriod() {
        Console c;
        QCOMPARE(c.form->Timer1().interval(), 500);
        QCOMPARE(c.form->Timer1().timerType(), Qt::PreciseTimer);
    }

    void immediateCommands() {
        Console c;
        c.connect();
        c.find<QLineEdit>("Text6")->setText("");
        c.click("Command16");
        QCOMPARE(c.line.written, QByteArray("MA \r"));

        c.line.written.clear();
        c.find<QLineEdit>("Text1")->setText("1500");
        c.line.replies = {"1500\r", "100\r"};
        c.click("Command18");
        QCOMPARE(c.line.written, QByteArray("VA=1500\r?VA\r?VM\r"));
        QCOMPARE(c.text("Text2"), QString("1500\r"));

        c.line.written.clear();
        c.find<QLineEdit>("Text3")->setText("250");
        c.line.replies = {"1500\r", "240\r"};
        c.click("Command20");
        QCOMPARE(c.line.written, QByteArray("VM=250\r?VA\r?VM\r"));
        QCOMPARE(c.text("Text4"), QString("240\r"));  // what the controller says, not the typed

        c.line.written.clear();
        c.sleeper.sleeps.clear();
        c.find<QLineEdit>("Text7")->setText("?PE");
        c.find<QLineEdit>("Text8")->setText("old");
        c.line.replies = {"35.5\r\n"};
        c.click("Command17");
        QCOMPARE(c.line.written, QByteArray("?PE\r"));
        QCOMPARE(c.sleeper.sleeps, Sleeps{100ms});
        QCOMPARE(c.text("Text8"), QString("35.5\r\n"));

        c.line.written.clear();
        c.click("原點");
        QCOMPARE(c.line.written, QByteArray("H\r"));

        for (const Answer answer : {Answer::No, Answer::Yes}) {
            c.line.written.clear();
            c.prompter.messages.clear();
            c.prompter.answers = {answer};
            c.click("Command21");
            QCOMPARE(c.messages(), QStringList{"是否儲存參數?"});
            QCOMPARE(c.prompter.messages[0].buttons, Prompter::Buttons::YesNo);
            QCOMPARE(c.line.written, answer == Answer::Yes ? QByteArray("SAVE C\r") : QByteArray());
            QVERIFY(c.form->Timer1().isActive());
        }
    }

    void textBig5CannotHoldIsNotSent() {
        Console c;
        c.connect();
        c.find<QLineEdit>("Text7")->setText("PRINT 😀");
        c.click("Command17");
        QVERIFY(c.line.written.isEmpty());
        QCOMPARE(c.prompter.messages.size(), size_t(1));
    }

    void pollShowsPositionAndInputs() {
        Console c;
        c.connect();
        c.line.replies = {"12.5\r", "", "13.5\r"};
        c.tick();
        QCOMPARE(c.line.written, QByteArray("?PE\r?INP\r"));
        QCOMPARE(c.text("Text5"), QString("12.5\r"));
        QString on;
        for (int k = 1; k <= 8; ++k) {
            on += c.find<QCheckBox>(QString("Check1(%1)").arg(k))->isChecked() ? '1' : '0';
        }
        QCOMPARE(on, QString("01110000"));  // 13.5 is taken as 14

        c.line.written.clear();
        c.tick();  // silent controller: displays empty, indicators cleared
        QCOMPARE(c.text("Text5"), QString());
        QVERIFY(!c.find<QCheckBox>("Check1(2)")->isChecked());
        QVERIFY(c.line.isOpen());
    }

    void outputsFollowTheSwitchesAcrossReconnects() {
        Console c;
        c.find<QCheckBox>("Check4(4)")->setChecked(true);  // while disconnected: nothing sent
        QVERIFY(c.line.written.isEmpty());
        c.connect();
        c.tick();
        QCOMPARE(c.line.written, QByteArray("?PE\r?INP\rSET P4\r"));

        c.line.written.clear();
        c.tick();
        QCOMPARE(c.line.written, QByteArray("?PE\r?INP\r"));

        c.find<QCheckBox>("Check4(3)")->setChecked(true);
        c.line.written.clear();
        c.tick();
        QCOMPARE(c.line.written, QByteArray("?PE\r?INP\rSET P3\r"));

        c.click("Command22");
        c.find<QCheckBox>("Check4(3)")->setChecked(false);
        c.connect();
        c.tick();
        QCOMPARE(c.line.written, QByteArray("?PE\r?INP\rCLR P3\r"));
    }

    void inputIndicatorClickedWhileDisconnected() {
        Console c;
        c.form->findChild<QLabel*>("StatusBar1(1)")->setText("x");
        QTest::mouseClick(c.find<QCheckBox>("Check1(3)"), Qt::LeftButton);
        QCOMPARE(c.messages(), QStringList{" Not Response !!  連線錯誤 !"});
        QCOMPARE(c.prompter.messages[0].title, QString("PALDOR"));
        QCOMPARE(c.panel1(), QString("未連線"));
    }

    void lostPortDisconnects() {
        Console c;
        c.connect();
        c.line.lost = "Input/output error";
        c.form->Timer1().start();  // the tick finds the port gone
        QTRY_VERIFY_WITH_TIMEOUT(!c.line.isOpen(), 2000);
        QCOMPARE(c.panel1(), QString("未連線"));
        QVERIFY(c.find("連線鍵")->isEnabled());
        QCOMPARE(c.prompter.messages.size(), size_t(1));
        QVERIFY(c.prompter.messages[0].text.contains("Input/output error"));
        QVERIFY(c.line.written.isEmpty());
    }

    void uploadStoresAndRuns_data() {
        QTest::addColumn<int>("store");
        QTest::addColumn<int>("run");
        QTest::addColumn<QByteArray>("tail");
        QTest::newRow("yes, yes") << int(Answer::Yes) << int(Answer::Yes)
                                  << QByteArray("SAVE P\rHON\rG\r");
        QTest::newRow("no, no") << int(Answer::No) << int(Answer::No) << QByteArray();
        QTest::newRow("no, yes") << int(Answer::No) << int(Answer::Yes) << QByteArray("HON\rG\r");
    }

    void uploadStoresAndRuns() {
        QFETCH(int, store);
        QFETCH(int, run);
        QFETCH(QByteArray, tail);
        Console c;
        c.connect();
        c.load({{"HOME", "回原點", "-", "-", "-"}});
        c.line.replies = {"100\r"};
        c.prompter.answers = {Answer(store), Answer(run)};
        c.form->Timer1().setSingleShot(false);
        c.click("Command3");
        QCOMPARE(c.messages(), (QStringList{"是否儲存程式?", "現在執行程式?"}));
        QCOMPARE(c.prompter.messages[0].title, QString("訊息"));
        QCOMPARE(c.prompter.messages[0].icon, Prompter::Icon::Question);
        QCOMPARE(c.line.written, QByteArray("?VM\r\x1b\x1b"
                                            "DL\r{\rCLR VAR;\rH;\rDN;\r}\r\r") +
                                     tail);
        QVERIFY(c.form->Timer1().isActive());
        QFile trace(QDir(c.dir.path()).filePath("TRY.txt"));
        QVERIFY(trace.open(QIODevice::ReadOnly));
        QCOMPARE(trace.readAll(), QByteArray("{\r\nCLR VAR;\r\nH;\r\nDN;\r\n}\r\n"));
    }

    void uploadConnectsFirst() {
        Console c;
        c.load({{"HOME", "回原點", "-", "-", "-"}});
        c.line.replies = {"100\r", "", "", "2000\r", "100\r", "100\r"};
        c.prompter.answers = {Answer::Ok, Answer::No, Answer::No};
        c.click("Command3");
        QCOMPARE(c.messages(),
                 (QStringList{" 準備連線終止運作中程式", "是否儲存程式?", "現在執行程式?"}));
        QVERIFY(c.line.written.startsWith(kGreeting + "?VM\r\x1b\x1b"
                                                      "DL\r"));
        QCOMPARE(c.panel1(), QString("連線中"));
    }

    void uploadRefusals() {
        {
            Console c;  // no rows: nothing at all once connected
            c.connect();
            c.click("Command3");
            QVERIFY(c.line.written.isEmpty());
            QVERIFY(c.prompter.messages.empty());
        }
        {
            Console c;  // unpaired loops: a message, no trace, nothing sent
            c.connect();
            c.load({{"LOOP", "2", "迴圈", "-", "-"}});
            c.click("Command3");
            QCOMPARE(c.messages(), QStringList{"迴圈數目未成對!"});
            QCOMPARE(c.prompter.messages[0].title, QString("訊息"));
            QVERIFY(c.line.written.isEmpty());
            QVERIFY(!QFile::exists(QDir(c.dir.path()).filePath("TRY.txt")));
        }
        {
            Console c;  // disconnected: refused before the port is opened (no ESC stops the
                        // controller's running program), naming the row
            c.load({{"HOME", "回原點", "-", "-", "-"}, {"STEP", "X\r\rMA 50\r", "-", "-", "-"}});
            c.click("Command3");
            QCOMPARE(c.messages(), QStringList{"第 2 列: " + controlCharacterError()});
            QVERIFY(c.line.openedPorts.isEmpty());
            QVERIFY(c.line.written.isEmpty());
        }
        {
            Console c;  // the adapter pulled out during the upload: no question, disconnected
            c.connect();
            c.load({{"HOME", "回原點", "-", "-", "-"}});
            c.line.replies = {"100\r"};
            c.line.lostAtWrite = 5;
            c.click("Command3");
            QCOMPARE(c.messages(), QStringList{"連接埠 COM1 已中斷, 連線結束: Input/output error"});
            QCOMPARE(c.line.written, QByteArray("?VM\r\x1b\x1b"
                                                "DL\r"));
            QVERIFY(!c.line.isOpen());
            QVERIFY(!c.form->Timer1().isActive());
            QCOMPARE(c.panel1(), QString("未連線"));
        }
        {
            Console c;  // a row Big5 cannot hold: named, nothing sent
            c.connect();
            c.load({{"HOME", "回原點", "-", "-", "-"}, {"STEP", "PRINT 😀", "", "自設", "-"}});
            c.click("Command3");
            QCOMPARE(c.prompter.messages.size(), size_t(1));
            QVERIFY(c.prompter.messages[0].text.contains("2"));
            QVERIFY(c.line.written.isEmpty());
        }
        {
            Console c;  // the controller stops answering: one message, port closed, no timer
            c.connect();
            c.load({{"HOME", "回原點", "-", "-", "-"}});
            c.click("Command3");
            QCOMPARE(c.messages(), QStringList{"通訊有誤!\n連接埠 COM1 在 200 ms 內沒有任何回應."});
            QCOMPARE(c.line.written, QByteArray("?VM\r"));
            QVERIFY(!c.line.isOpen());
            QVERIFY(!c.form->Timer1().isActive());
            QCOMPARE(c.panel1(), QString("未連線"));
        }
    }

    void traceThatCannotBeWrittenDoesNotStopTheUpload() {
        Console c;
        c.connect();
        qputenv("HOME", QDir(c.dir.path()).filePath("missing/folder").toLocal8Bit());
        c.load({{"HOME", "回原點", "-", "-", "-"}});
        c.line.replies = {"100\r"};
        c.prompter.answers = {Answer::Ok, Answer::No, Answer::No};
        c.click("Command3");
        QCOMPARE(c.prompter.messages.size(), size_t(3));
        QVERIFY(c.prompter.messages[0].text.contains("TRY.txt"));
        QVERIFY(c.line.written.contains("DL\r{\r"));
    }
};

QTEST_MAIN(TestConsoleWindow)
#include "tst_consolewindow.moc"
