// The console's exchanges as the controller session makes them, on a scripted line and
// without any window: every byte, wait, text and state the windows are told to show.
#include "files/tracefile.h"
#include "link/portname.h"
#include "session/portrecords.h"
#include "session/runhistory.h"
#include "session/usersettings.h"
#include "support/quietoffscreen.h"
#include "support/sessionfixture.h"
#include "translator/translator.h"
#include "translator/upload.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <functional>
#include <future>
#include <optional>
#include <thread>

using namespace tql;
using namespace tql::test;
using namespace std::chrono_literals;
using Answer = Prompter::Answer;
using Sleeps = std::vector<std::chrono::milliseconds>;

namespace {

const QByteArray kGreeting =
    "?VM\r\x1b\x1b"
    "EC=0\rHON\r?VA\r?VM\r";

const Row kHome = {"HOME", "回原點", "-", "-", "-"};

QString inputsOf(const PollReading& reading) {
    QString on;
    for (const bool input : reading.inputs) {
        on += input ? '1' : '0';
    }
    return on;
}

}  // namespace

// The verbs that write on the line, as the windows call them.
struct Verb {
    const char* name;
    std::function<Exchange(ControllerSession&)> call;
};
const Verb kVerbs[] = {
    {"連線", [](ControllerSession& s) { return s.ConnectController(); }},
    {"斷線", [](ControllerSession& s) { return s.ShowDisconnected(); }},
    {"結束", [](ControllerSession& s) { return s.signOff(); }},
    {"停止", [](ControllerSession& s) { return s.stopProgram(); }},
    {"原點", [](ControllerSession& s) { return s.home(); }},
    {"定位", [](ControllerSession& s) { return s.positionSlide("5"); }},
    {"加速度", [](ControllerSession& s) { return s.setAcceleration("100"); }},
    {"速度", [](ControllerSession& s) { return s.setSpeed("100"); }},
    {"立即指令", [](ControllerSession& s) { return s.sendImmediate("?PE"); }},
    {"儲存參數", [](ControllerSession& s) { return s.saveParameters(); }},
    {"上傳", [](ControllerSession& s) { return s.upload(tableOf({kHome}), 1); }},
    {"教導: 放開滑台", [](ControllerSession& s) { return s.holdSlide(false); }},
    {"教導: 讀取座標",
     [](ControllerSession& s) { return s.readPosition() ? Exchange::Done : Exchange::LineHeld; }},
    {"教導: 移動", [](ControllerSession& s) { return s.moveTo("5"); }},
    {"量測執行", [](ControllerSession& s) { return s.measureRun(); }},
};

class TestSession : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { tql::test::installQuietHandler(); }

    void connectSequence() {
        SessionFixture<> s;
        s.line.replies = {"1", "", "", "3000\r", "150\r"};
        s.session.ConnectController();
        QCOMPARE(s.messages(), QStringList{" 準備連線終止運作中程式"});
        QCOMPARE(s.prompter.messages[0].title, QString("訊息"));
        QCOMPARE(s.line.written, kGreeting);
        QCOMPARE(s.sleeper.sleeps, (Sleeps{200ms, 200ms, 50ms, 50ms}));
        QCOMPARE(s.internal.acceleration, QString("3000\r"));
        QCOMPARE(s.internal.speed, QString("150\r"));
        QVERIFY(s.connected);
        QVERIFY(pollTimer(s.session).isActive());
        QCOMPARE(pollTimer(s.session).interval(), 500);
        QCOMPARE(pollTimer(s.session).timerType(), Qt::PreciseTimer);
        QCOMPARE(s.state, QString("連線中"));
    }

    void silentControllerStaysDisconnected() {
        SessionFixture<> s;
        s.session.ConnectController();
        // "通訊有誤!" as always, and a second line naming the port that stayed silent.
        QCOMPARE(s.messages(), (QStringList{" 準備連線終止運作中程式",
                                            "通訊有誤!\n連接埠 COM1 在 200 ms 內沒有任何回應."}));
        QCOMPARE(s.prompter.messages[1].title, QString("訊息"));
        QCOMPARE(s.line.written, QByteArray("?VM\r"));
        QVERIFY(!s.line.isOpen());
        QVERIFY(!s.connected);
        QCOMPARE(s.state, QString("未連線"));
    }

    void portThatCannotBeOpened() {
        SessionFixture<> s;
        s.session.setPortNumber("2");
        s.line.openFailure = "No such file or directory";
        s.session.ConnectController();
        QCOMPARE(s.prompter.messages.size(), size_t(2));
        const QString failure = s.prompter.messages[1].text;
        QCOMPARE(s.line.openedPorts, QStringList{portDeviceName("2")});
        QVERIFY2(failure.contains(s.line.openedPorts.value(0)) &&
                     failure.contains("No such file or directory"),
                 qPrintable(failure));
        QVERIFY(s.line.written.isEmpty());
        QVERIFY(!s.line.isOpen());
    }

    // Nothing is sent; no old position or input is left to be read as live.
    void disconnectSendsNothing() {
        ConnectedSession s;
        s.line.replies = {"12\r"};
        QVERIFY(s.tick());
        QCOMPARE(s.session.lastPosition(), std::optional<double>(12));
        s.line.written.clear();
        s.session.ShowDisconnected();
        QVERIFY(s.line.written.isEmpty());
        QVERIFY(!s.line.isOpen());
        QVERIFY(!s.connected);
        QVERIFY(!pollTimer(s.session).isActive());
        QCOMPARE(s.state, QString("未連線"));
        QCOMPARE(s.cleared, 1);
        QCOMPARE(s.session.lastPosition(), std::nullopt);
        s.session.ShowDisconnected();  // the start-up values were never a reading
        QCOMPARE(s.cleared, 1);
    }

    // 定位, 加速度 and 速度 send only a number, 立即指令 any text Big5 holds.
    void commandFields_data() {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("sent");
        QTest::newRow("move") << "定位"
                              << " -12.5" << QByteArray("MA  -12.5\r");
        QTest::newRow("move, empty") << "定位"
                                     << "" << QByteArray("MA \r");
        QTest::newRow("move, text") << "定位"
                                    << "abc" << QByteArray();
        QTest::newRow("acceleration") << "加速度"
                                      << "1500" << QByteArray("VA=1500\r?VA\r?VM\r");
        QTest::newRow("acceleration, text") << "加速度"
                                            << "fast" << QByteArray();
        QTest::newRow("speed") << "速度"
                               << "250" << QByteArray("VM=250\r?VA\r?VM\r");
        QTest::newRow("speed, empty") << "速度"
                                      << "" << QByteArray();
        QTest::newRow("free command") << "立即指令"
                                      << "?ERR x" << QByteArray("?ERR x\r");
        QTest::newRow("free command Big5 cannot hold") << "立即指令"
                                                       << "PRINT 😀" << QByteArray();
    }

    void commandFields() {
        QFETCH(QString, command);
        QFETCH(QString, text);
        QFETCH(QByteArray, sent);
        ConnectedSession s;
        if (command == "定位") {
            s.session.positionSlide(text);
        } else if (command == "加速度") {
            s.session.setAcceleration(text);
        } else if (command == "速度") {
            s.session.setSpeed(text);
        } else {
            s.session.sendImmediate(text);
        }
        QCOMPARE(s.line.written, sent);
        QCOMPARE(s.messages().size(), sent.isEmpty() ? 1 : 0);
        if (sent.isEmpty() && command != "立即指令") {
            QCOMPARE(s.messages().first(), QString("「%1」不是數字, 指令未送出!").arg(text));
        }
        QVERIFY(pollTimer(s.session).isActive());
    }

    // The settings show what the controller says it now holds, not what was typed; a reply
    // is shown as it came, after its 100 ms.
    void repliesAreShownAsTheyCame() {
        ConnectedSession s;
        s.line.replies = {"1500\r", "240\r"};
        s.session.setSpeed("250");
        QCOMPARE(s.internal.acceleration, QString("1500\r"));
        QCOMPARE(s.internal.speed, QString("240\r"));

        s.sleeper.sleeps.clear();
        s.line.replies = {"35.5\r\n"};
        QCOMPARE(s.session.sendImmediate("?PE"), Exchange::Done);
        QCOMPARE(s.sleeper.sleeps, Sleeps{100ms});
        QCOMPARE(s.reply, QString("35.5\r\n"));
        QCOMPARE(s.session.history().commands().last(), QString("?PE"));
    }

    // A calibration belongs to its port, whatever the port's name holds; what is no
    // calibration (edited by hand, a negative speed) is none.
    void aCalibrationIsKeptForItsPort() {
        QTemporaryDir dir;
        QSettings settings(dir.filePath("tql400.conf"), QSettings::IniFormat);
        storeCalibration(settings, "/dev/pts/3", {{0.95, 0.0}, 0.002, 12});
        storeCalibration(settings, "1", {{1.05, 1.2}, 0.001, 4});
        settings.sync();
        const QSettings reread(dir.filePath("tql400.conf"), QSettings::IniFormat);
        const std::optional<Calibration> pts = storedCalibration(reread, "/dev/pts/3");
        QVERIFY(pts);
        QCOMPARE(pts->motion, (controller::MotionScale{0.95, 0.0}));
        QCOMPARE(pts->moves, 12);
        QCOMPARE(storedCalibration(reread, "1")->motion, (controller::MotionScale{1.05, 1.2}));
        QVERIFY(!storedCalibration(reread, "/dev/pts"));
        settings.setValue("calibration/1/speed", -1);
        QVERIFY(!storedCalibration(settings, "1"));
        settings.setValue("calibration/1/speed", "fast");
        QVERIFY(!storedCalibration(settings, "1"));
    }

    // Each controller keeps its own 立即指令 history across restarts; the first keeps the
    // one it always had.
    void eachSessionKeepsItsOwnHistory() {
        ScriptedPrompter prompter;
        ScriptedLine line;
        RecordingSleeper sleeper;
        line.openState = true;
        {
            ControllerSession first(prompter, line, sleeper);
            ControllerSession second(prompter, line, sleeper, "B");
            first.sendImmediate("?PE first");
            second.sendImmediate("?VM second");
            QCOMPARE(second.objectName(), QString("B"));
        }
        QCOMPARE(ControllerSession(prompter, line, sleeper, "B").history().commands(),
                 QStringList{"?VM second"});
        QCOMPARE(ControllerSession(prompter, line, sleeper).history().commands().last(),
                 QString("?PE first"));
        QCOMPARE(userSettings().value("console/history").toStringList().last(),
                 QString("?PE first"));
    }

    // A controller of a cell keeps the trace of what it uploaded beside the first's TRY.txt.
    void eachControllerItsOwnTrace() {
        TemporaryHome home;
        ScriptedPrompter prompter;
        ScriptedLine line;
        RecordingSleeper sleeper;
        ControllerSession named(prompter, line, sleeper, "壓床");
        line.replies = {"100\r", "", "", "2000\r", "100\r"};
        named.ConnectController();
        line.replies = {"100\r"};
        prompter.answers = {Answer::No, Answer::No};
        named.upload(tableOf({kHome}), 1);
        QVERIFY(QFile::exists(home.dir.filePath("TRY-壓床.txt")));
        QVERIFY(!QFile::exists(home.dir.filePath("TRY.txt")));
        QCOMPARE(traceFilePath("a/b:c"), home.dir.filePath("TRY-a_b_c.txt"));
    }

    void homeStopAndSaveParameters() {
        ConnectedSession s;
        s.session.home();
        QCOMPARE(s.line.written, QByteArray("H\r"));

        s.line.written.clear();
        s.session.stopProgram();
        QCOMPARE(s.line.written, QByteArray("\x1b\x1b"));

        for (const Answer answer : {Answer::No, Answer::Yes}) {
            s.line.written.clear();
            s.prompter.messages.clear();
            s.prompter.answers = {answer};
            s.session.saveParameters();
            QCOMPARE(s.messages(), QStringList{"是否儲存參數?"});
            QCOMPARE(s.prompter.messages[0].buttons, Prompter::Buttons::YesNo);
            QCOMPARE(s.line.written, answer == Answer::Yes ? QByteArray("SAVE C\r") : QByteArray());
            QVERIFY(pollTimer(s.session).isActive());
        }
    }

    // While anything holds the line the poll pauses and no other exchange talks; the
    // poll comes back with the last hold.
    void oneGuardForTheLine() {
        ConnectedSession s;
        {
            const ControllerSession::Hold upload(s.session);
            {
                const ControllerSession::Hold box(s.session);
                QVERIFY(!pollTimer(s.session).isActive());
            }
            QVERIFY(s.session.lineHeld());
            QVERIFY(!pollTimer(s.session).isActive());
        }
        QVERIFY(!s.session.lineHeld());
        QVERIFY(pollTimer(s.session).isActive());

        // A box asked through the session holds the line while it is up.
        bool heldDuringTheBox = false;
        s.prompter.whileShown = [&] { heldDuringTheBox = s.session.lineHeld(); };
        s.session.prompter().message(nullptr, "x", "y");
        QVERIFY(heldDuringTheBox);

        s.session.ShowDisconnected();
        { const ControllerSession::Hold box(s.session); }
        QVERIFY(!pollTimer(s.session).isActive());  // a closed port is not polled again
    }

    // 量測執行 asks, starts the stored program and polls "?PE" alone every 50 ms, each
    // position told with its time since "G"; 停止 ends it. An upload that starts the
    // program measures it too.
    void aMeasuredRun() {
        ConnectedSession s;
        QList<double> positions;
        int started = 0;
        int stopped = 0;
        QObject::connect(&s.session, &ControllerSession::runStarted, [&] { ++started; });
        QObject::connect(&s.session, &ControllerSession::runStopped, [&] { ++stopped; });
        QObject::connect(&s.session, &ControllerSession::runPosition,
                         [&](double at, double position) {
                             QVERIFY(at >= 0);
                             positions << position;
                         });
        s.prompter.answers = {Answer::Yes};
        QCOMPARE(s.session.measureRun(), Exchange::Done);
        QCOMPARE(s.messages(), QStringList{runQuestion()});
        QCOMPARE(s.line.written, QByteArray("HON\rG\r"));
        QCOMPARE(started, 1);
        QTimer& fast = *s.session.findChild<QTimer*>("MeasureTimer");
        QVERIFY(fast.isActive());
        QCOMPARE(fast.interval(), 50);
        QStringList unread;
        QObject::connect(&s.session, &ControllerSession::runUnread,
                         [&](double, const QString& reply) { unread << reply; });
        s.line.written.clear();
        s.line.replies = {"ERR\r", "12.5\r"};
        QTRY_COMPARE(positions, QList<double>{12.5});
        QCOMPARE(unread.value(0), QString("ERR\r"));  // a reply of text is told, not taken
        QVERIFY(s.line.written.startsWith("?PE\r"));
        // The console's poll tells the inputs too, read after the position.
        fast.stop();
        double positionAt = -1;
        QObject::connect(&s.session, &ControllerSession::runPosition,
                         [&](double at, double) { positionAt = at; });
        std::optional<std::pair<double, InputStates>> inputs;
        QObject::connect(&s.session, &ControllerSession::runInputs,
                         [&](double at, const InputStates& read) {
                             inputs = {at, read};
                         });
        s.line.replies = {"12.5\r", "", "4\r"};
        QVERIFY(s.tick());
        QVERIFY(inputs && inputs->first >= positionAt);
        QCOMPARE(inputs->second, (InputStates{false, false, true}));
        s.session.stopProgram();
        QCOMPARE(stopped, 1);
        QVERIFY(!fast.isActive());

        s.prompter.answers = {Answer::No, Answer::Yes};  // not stored, started
        s.line.replies = {"1"};
        s.session.upload(tableOf({kHome}), 1);
        QCOMPARE(started, 2);
        QVERIFY(fast.isActive());
        s.session.ShowDisconnected();  // a closed port ends it
        QCOMPARE(stopped, 2);
    }

    // A box of the window's may hold the line from the window's own thread: the poll
    // stops on the session's thread a moment later, and comes back with the hold's end.
    void aHoldFromAnotherThread() {
        ConnectedSession s;
        std::promise<void> held;
        std::promise<void> released;
        std::thread box([&] {
            const ControllerSession::Hold hold(s.session);
            held.set_value();
            released.get_future().wait();
        });
        held.get_future().wait();
        QVERIFY(s.session.lineHeld());
        QTRY_VERIFY(!pollTimer(s.session).isActive());
        released.set_value();
        box.join();
        QVERIFY(!s.session.lineHeld());
        QTRY_VERIFY(pollTimer(s.session).isActive());
    }

    // Every verb that writes asks the guard: while another exchange holds the line it
    // sends nothing, asks nothing and says it was refused; with the line free it talks.
    void everyVerbAsksTheGuard_data() {
        QTest::addColumn<int>("verb");
        QTest::addColumn<QByteArray>("free");  // how its bytes start when the line is free
        const QByteArray starts[] = {"?VM\r",     "",         "EC 1\r",   "\x1b\x1b", "H\r",
                                     "MA 5\r",    "VA=100\r", "VM=100\r", "?PE\r",    "SAVE C\r",
                                     "?VM\r\x1b", "HOFF\r",   "?PE\r",    "MA 5\r",   "HON\rG\r"};
        for (int v = 0; v < int(std::size(starts)); ++v) {
            QTest::newRow(kVerbs[v].name) << v << starts[v];
        }
    }

    void everyVerbAsksTheGuard() {
        QFETCH(int, verb);
        QFETCH(QByteArray, free);
        for (const bool held : {true, false}) {
            ConnectedSession s;
            s.line.replies = {"100\r", "", "", "2000\r", "100\r"};
            s.prompter.answers = {Answer::Yes, Answer::Yes, Answer::No, Answer::No};
            std::optional<ControllerSession::Hold> hold;
            if (held) {
                hold.emplace(s.session);
            }
            const Exchange done = kVerbs[verb].call(s.session);
            if (held) {
                QCOMPARE(done, Exchange::LineHeld);
                QCOMPARE(s.line.written, QByteArray());
                QCOMPARE(s.messages(), QStringList());
            } else {
                QVERIFY(done != Exchange::LineHeld);
                QVERIFY2(s.line.written.startsWith(free), s.line.written.constData());
            }
        }
    }

    // The start-up tick that shows a closed port disconnected still comes after a box put
    // up before it (a program named on the command line that cannot be loaded); 儲存參數
    // then says 連線錯誤 without asking first.
    void startUpTickComesAfterABox() {
        tql::test::SessionFixture<> s;
        s.connected = true;
        pollTimer(s.session).start();
        s.session.prompter().message(nullptr, "x", "y");
        QVERIFY(pollTimer(s.session).isActive());
        QVERIFY(s.tick());
        QVERIFY(!s.connected);
        s.session.saveParameters();
        QCOMPARE(s.messages(), (QStringList{"x", " 連線錯誤 !"}));
        QVERIFY(s.line.written.isEmpty());
    }

    void pollShowsPositionAndInputs() {
        ConnectedSession s;
        s.line.replies = {"12.5\r", "", "13.5\r"};
        QVERIFY(s.tick());
        QCOMPARE(s.line.written, QByteArray("?PE\r?INP\r"));
        QCOMPARE(s.reading.position, QString("12.5\r"));
        QCOMPARE(inputsOf(s.reading), QString("01110000"));  // 13.5 is taken as 14

        QVERIFY(s.tick());  // silent controller: nothing read, indicators cleared
        QCOMPARE(s.reading.position, QString());
        QCOMPARE(inputsOf(s.reading), QString("00000000"));
        QVERIFY(s.line.isOpen());
    }

    void outputsFollowTheSwitchesAcrossReconnects() {
        SessionFixture<> s;
        s.session.setOutput(4, true);  // while disconnected: nothing sent
        QVERIFY(s.line.written.isEmpty());
        s.line.replies = {"100\r", "", "", "2000\r", "100\r"};
        s.session.ConnectController();
        s.line.written.clear();
        QVERIFY(s.tick());
        QCOMPARE(s.line.written, QByteArray("?PE\r?INP\rSET P4\r"));

        s.line.written.clear();
        QVERIFY(s.tick());
        QCOMPARE(s.line.written, QByteArray("?PE\r?INP\r"));

        s.session.setOutput(3, true);
        s.line.written.clear();
        QVERIFY(s.tick());
        QCOMPARE(s.line.written, QByteArray("?PE\r?INP\rSET P3\r"));

        s.session.ShowDisconnected();
        s.session.setOutput(3, false);
        s.line.replies = {"100\r", "", "", "2000\r", "100\r"};
        s.session.ConnectController();
        s.line.written.clear();
        QVERIFY(s.tick());
        QCOMPARE(s.line.written, QByteArray("?PE\r?INP\rCLR P3\r"));
    }

    void inputsTouchedWhileDisconnected() {
        SessionFixture<> s;
        s.state = "x";
        s.session.inputsTouched();
        QCOMPARE(s.messages(), QStringList{" Not Response !!  連線錯誤 !"});
        QCOMPARE(s.prompter.messages[0].title, QString("PALDOR"));
        QCOMPARE(s.state, QString("未連線"));
    }

    void lostPortDisconnects() {
        ConnectedSession s;
        s.line.lost = "Input/output error";
        QVERIFY(s.tick());  // the tick finds the port gone
        QVERIFY(!s.line.isOpen());
        QCOMPARE(s.state, QString("未連線"));
        QVERIFY(!s.connected);
        QCOMPARE(s.messages(), QStringList{"連接埠 COM1 已中斷, 連線結束: Input/output error"});
        QVERIFY(s.line.written.isEmpty());
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
        ConnectedSession s;
        s.line.replies = {"100\r"};
        s.prompter.answers = {Answer(store), Answer(run)};
        s.session.upload(tableOf({kHome}), 1);
        QCOMPARE(s.messages(), (QStringList{"是否儲存程式?", "現在執行程式?"}));
        QCOMPARE(s.prompter.messages[0].title, QString("訊息"));
        QCOMPARE(s.prompter.messages[0].icon, Prompter::Icon::Question);
        QCOMPARE(s.line.written, QByteArray("?VM\r\x1b\x1b"
                                            "DL\r{\rCLR VAR;\rH;\rDN;\r}\r\r") +
                                     tail);
        QCOMPARE(s.progress, (QList<int>{1, 2, 3, 4, 5}));
        QVERIFY(pollTimer(s.session).isActive());
        QFile trace(QDir(s.home.dir.path()).filePath("TRY.txt"));
        QVERIFY(trace.open(QIODevice::ReadOnly));
        QCOMPARE(trace.readAll(), QByteArray("{\r\nCLR VAR;\r\nH;\r\nDN;\r\n}\r\n"));
        // What the controller on the port now holds, as this tool sent it.
        const std::optional<UploadRecord> upload = lastUpload(userSettings(), "1");
        QVERIFY(upload);
        QCOMPARE(upload->hash, programHash(tableOf({kHome}), 1));
        QCOMPARE(upload->stored, store == int(Answer::Yes));
        QVERIFY(!programDiffers(userSettings(), "1", tableOf({kHome}), 1));
        QVERIFY(programDiffers(userSettings(), "1", tableOf({kHome, kHome}), 2)
                    ->startsWith("控制器中的程式與編輯中的不同 (上次上傳: "));
    }

    // 取消 during the upload: after the line on the wire the lone CR ends the download;
    // nothing is stored or started, and the operator learns what the controller holds.
    void cancelledUpload() {
        ConnectedSession s;
        userSettings().remove("upload");
        s.line.replies = {"100\r"};
        QObject::connect(&s.session, &ControllerSession::uploadProgress, &s.session, [&](int sent) {
            if (sent == 2) {
                s.session.cancelUpload();
            }
        });
        s.session.upload(tableOf({kHome}), 1);
        QCOMPARE(s.line.written, QByteArray("?VM\r\x1b\x1b"
                                            "DL\r{\rCLR VAR;\r\r"));
        QCOMPARE(s.messages(), QStringList{uploadCancelledMessage(2, 5)});
        QVERIFY(pollTimer(s.session).isActive());
        QVERIFY(!lastUpload(userSettings(), "1"));  // part of a program is no upload
    }

    void uploadConnectsFirst() {
        SessionFixture<> s;
        s.line.replies = {"100\r", "", "", "2000\r", "100\r", "100\r"};
        s.prompter.answers = {Answer::Ok, Answer::No, Answer::No};
        s.session.upload(tableOf({kHome}), 1);
        QCOMPARE(s.messages(),
                 (QStringList{" 準備連線終止運作中程式", "是否儲存程式?", "現在執行程式?"}));
        QVERIFY(s.line.written.startsWith(kGreeting + "?VM\r\x1b\x1b"
                                                      "DL\r"));
        QCOMPARE(s.state, QString("連線中"));
    }

    void uploadRefusals() {
        {
            ConnectedSession s;  // no rows: nothing at all once connected
            s.session.upload(tableOf({}), 0);
            QVERIFY(s.line.written.isEmpty());
            QVERIFY(s.prompter.messages.empty());
        }
        {
            ConnectedSession s;  // unpaired loops: a message, no trace, nothing sent
            s.session.upload(tableOf({{"LOOP", "2", "迴圈", "-", "-"}}), 1);
            QCOMPARE(s.messages(), QStringList{"迴圈數目未成對!"});
            QCOMPARE(s.prompter.messages[0].title, QString("訊息"));
            QVERIFY(s.line.written.isEmpty());
            QVERIFY(!QFile::exists(QDir(s.home.dir.path()).filePath("TRY.txt")));
        }
        {
            SessionFixture<> s;  // disconnected: refused before the port is opened (no ESC
                                 // stops the controller's running program), naming the row
            s.session.upload(tableOf({kHome, {"STEP", "X\r\rMA 50\r", "-", "-", "-"}}), 2);
            QCOMPARE(s.messages(),
                     QStringList{"第 2 列: " + refusalText(Refusal::ControlCharacter)});
            QVERIFY(s.line.openedPorts.isEmpty());
            QVERIFY(s.line.written.isEmpty());
        }
        {
            ConnectedSession s;  // the adapter pulled out during the upload: no question,
                                 // and the progress ends before the word on the lost port
            s.line.replies = {"100\r"};
            s.line.lostAtWrite = 5;
            bool ended = false;
            bool endedBeforeTheWord = false;
            QObject::connect(&s.session, &ControllerSession::uploadEnded, [&] { ended = true; });
            s.prompter.whileShown = [&] { endedBeforeTheWord = ended; };
            s.session.upload(tableOf({kHome}), 1);
            QVERIFY(endedBeforeTheWord);
            QCOMPARE(s.messages(), QStringList{"連接埠 COM1 已中斷, 連線結束: Input/output error\n"
                                               "控制器現在可能存有不完整的程式 (已送出 0 / 5 行), "
                                               "請重新連線後再上傳完整的程式."});
            QCOMPARE(s.line.written, QByteArray("?VM\r\x1b\x1b"
                                                "DL\r"));
            QVERIFY(!s.line.isOpen());
            QVERIFY(!pollTimer(s.session).isActive());
            QCOMPARE(s.state, QString("未連線"));
        }
        {
            ConnectedSession s;  // a row Big5 cannot hold: named, nothing sent
            s.session.upload(tableOf({kHome, {"STEP", "PRINT 😀", "", "自設", "-"}}), 2);
            QCOMPARE(s.messages(), QStringList{"第 2 列有 Big5 無法表示的字元, 無法上傳!"});
            QVERIFY(s.line.written.isEmpty());
        }
        {
            ConnectedSession s;  // the controller stops answering: port closed, no timer
            s.session.upload(tableOf({kHome}), 1);
            QCOMPARE(s.messages(), QStringList{"通訊有誤!\n連接埠 COM1 在 200 ms 內沒有任何回應."});
            QCOMPARE(s.line.written, QByteArray("?VM\r"));
            QVERIFY(!s.line.isOpen());
            QVERIFY(!pollTimer(s.session).isActive());
            QCOMPARE(s.state, QString("未連線"));
        }
    }

    void traceThatCannotBeWrittenDoesNotStopTheUpload() {
        ConnectedSession s;
        qputenv("HOME", QDir(s.home.dir.path()).filePath("missing/folder").toLocal8Bit());
        s.line.replies = {"100\r"};
        s.prompter.answers = {Answer::No, Answer::No};
        s.session.upload(tableOf({kHome}), 1);
        QCOMPARE(s.prompter.messages.size(), size_t(3));
        QVERIFY(s.prompter.messages[0].text.contains("TRY.txt"));
        QVERIFY(s.line.written.contains("DL\r{\r"));
    }
};

QTEST_MAIN(TestSession)
#include "tst_session.moc"
