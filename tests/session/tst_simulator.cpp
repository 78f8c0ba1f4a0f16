// The real serial line (QSerialPort) against pseudo-terminals: one served by a thread in the
// test, and the controller simulator.

#include "link/qtserialline.h"
#include "pseudoterminal.h"
#include "simulatorprocess.h"
#include "support/quietoffscreen.h"
#include "support/sessionfixture.h"
#include "translator/translator.h"
#include "translator/upload.h"
#include "window/form1.h"

#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <functional>
#include <memory>
#include <thread>

using namespace tql;
using tql::test::pollTimer;
using namespace std::chrono_literals;
using tql::test::tableOf;
using Answer = Prompter::Answer;

namespace {

using Simulator = sim::SimulatorProcess;

// A session on the simulator's pseudo-terminal.
struct Session : tql::test::SessionFixture<QtSerialLine, ThreadSleeper> {
    explicit Session(const QString& device) { session.setPortNumber(device); }
    bool input(int k) const { return reading.inputs[k - 1]; }
};

QByteArray readFile(const QString& path) {
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    return file.readAll();
}

// The main window on the simulator, its session on a thread of its own as the tool runs it,
// in a folder of its own whose DATA.TXT names the simulator's device.
struct ThreadedWindow {
    QTemporaryDir dir;
    QString log = dir.filePath("wire.log");
    std::unique_ptr<Simulator> sim;
    QThread thread;
    tql::test::ScriptedPrompter prompter;
    QtSerialLine line;
    ThreadSleeper sleeper;
    std::unique_ptr<FORM1> form;

    ThreadedWindow() {
        qputenv("HOME", dir.path().toLocal8Bit());
        sim = std::make_unique<Simulator>(QStringList{"--log", log});
        QFile settings(dir.filePath("DATA.TXT"));
        settings.open(QIODevice::WriteOnly);
        settings.write(sim->device.toLocal8Bit() + "\r\n");
        settings.close();
        thread.start();
        line.moveToThread(&thread);
        form = std::make_unique<FORM1>(prompter, line, sleeper, QDir(dir.path()), &thread);
        form->show();
    }
    ~ThreadedWindow() {
        form.reset();
        thread.quit();
        thread.wait();
    }
    void press(const char* button) const {
        QTest::mouseClick(form->findChild<QPushButton*>(QString::fromUtf8(button)), Qt::LeftButton);
    }
};

}  // namespace

class TestSimulator : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { tql::test::installQuietHandler(); }

    // The console reads after a blocking sleep with no event loop running: every byte that
    // arrived during the sleep must be there, and a write must have left when it returns.
    void readAfterSleepGetsEverything() {
        const std::optional<sim::Pty> pty = sim::Pty::open();
        QVERIFY(pty);
        const int master = pty->master();

        QtSerialLine line;
        QVERIFY(!line.open(QString::fromStdString(pty->device())));
        line.write("?PE\r");
        pollfd fd{master, POLLIN, 0};
        QCOMPARE(::poll(&fd, 1, 1000), 1);
        char sent[16] = {};
        QCOMPARE(::read(master, sent, sizeof sent), ssize_t(4));
        QCOMPARE(QByteArray(sent, 4), QByteArray("?PE\r"));

        const QByteArray reply(3000, 'x');
        std::thread controller([&] {
            for (int i = 0; i < 30; ++i) {
                QCOMPARE(::write(master, reply.constData() + i * 100, 100), ssize_t(100));
                std::this_thread::sleep_for(1ms);
            }
        });
        ThreadSleeper().sleep(200ms);
        const QByteArray got = line.readAll();
        controller.join();
        QCOMPARE(got.size(), reply.size());
        QCOMPARE(line.readAll(), QByteArray());
        QVERIFY(!line.lostReason());
        line.close();
    }

    void connectUploadAndRun() {
        QTemporaryDir logDir;
        const QString log = logDir.filePath("wire.log");
        Simulator sim({"--loopback", "--log", log});
        QVERIFY(!sim.device.isEmpty());
        Session w(sim.device);
        w.prompter.answers = {Answer::Ok};
        w.session.ConnectController();
        QCOMPARE(w.state, QString("連線中"));
        QCOMPARE(w.internal.speed, QString("100\r"));
        QCOMPARE(w.internal.acceleration, QString("2000\r"));
        QTRY_COMPARE_WITH_TIMEOUT(w.reading.position, QString("0\r"), 3000);

        // Speed 50, then twice: to 20, pulse output 2 for 1.2 s (longer than two console
        // ticks, so the poll cannot miss it), back to 0; then to 35.5.
        const QList<Row> rows = {
            {"VM", "50", "速度", "-", "-"},          {"LOOP", "2", "迴圈", "-", "-"},
            {"POINT", "絕對移動", "20", "-", "-"},   {"PULSE", "2", "1200", "ON-P", "-"},
            {"POINT", "絕對移動", "0", "-", "-"},    {"LOOPEND", "迴圈結束", "-", "-", "-"},
            {"POINT", "絕對移動", "35.5", "-", "-"},
        };
        pollTimer(w.session).stop();
        QTest::qWait(100);
        QFile::resize(log, 0);
        w.prompter.answers = {Answer::Yes, Answer::Yes};
        w.session.upload(tableOf(rows), int(rows.size()));
        const QByteArray expected =
            "?VM\r\x1b\x1b"
            "DL\r{\rCLR VAR;\rSI #L1;\rVM=50;\r#L1=2;\r$LOOP1:;\rMA 20;\rDN;\r"
            "SET P2;\rWT 1200;\rDN;\rCLR P2;\rMA 0;\rDN;\r#L1=#L1-1;\rJNZ #L1,$LOOP1;\r"
            "MA 35.5;\rDN;\r}\r\rSAVE P\rHON\rG\r";
        QTest::qWait(100);
        QCOMPARE(readFile(log).left(expected.size()), expected);
        QVERIFY(pollTimer(w.session).isActive());

        // The pulse shows on input 6 (the simulator loops the outputs back), the slide
        // ends where the program leaves it.
        QTRY_VERIFY_WITH_TIMEOUT(w.input(6), 5000);
        QTRY_VERIFY_WITH_TIMEOUT(!w.input(6), 5000);
        QTRY_COMPARE_WITH_TIMEOUT(w.reading.position, QString("35.5\r"), 15000);
        sim.process.write("state\n");
        QTRY_VERIFY_WITH_TIMEOUT(sim.process.canReadLine(), 3000);
        QVERIFY(sim.process.readLine().contains(" saved=1 lines=19 "));  // "{" .. "}" kept

        // An output switch reaches the controller and comes back on its input.
        w.session.setOutput(3, true);
        QTRY_VERIFY_WITH_TIMEOUT(w.input(7), 3000);
    }

    // On a line of 19200 baud the upload reports its progress line by line, and the bytes
    // are the same as on a line that takes them at once. Cancelled, it stops after the line
    // on the wire: the lone CR ends the download, neither "SAVE P" nor "G" goes out, no
    // question is asked, and the operator learns that the controller holds an incomplete
    // program.
    void pacedUpload_data() {
        QTest::addColumn<int>("cancelAt");
        QTest::newRow("to the end") << 0;
        QTest::newRow("cancelled at line 5") << 5;
    }

    void pacedUpload() {
        QFETCH(int, cancelAt);
        QTemporaryDir logDir;
        const QString log = logDir.filePath("wire.log");
        Simulator sim({"--baud", "19200", "--log", log});
        Session w(sim.device);
        w.prompter.answers = {Answer::Ok};
        w.session.ConnectController();
        QVERIFY(w.line.isOpen());
        QList<Row> rows;
        for (int i = 0; i < 40; ++i) {
            rows.append({"POINT", "絕對移動", QString::number(i * 2.5), "-", "-"});
        }
        const QStringList text = TranslateProgram(tableOf(rows), int(rows.size())).ControllerText;
        connect(&w.session, &ControllerSession::uploadProgress, this, [&](int lines, int total) {
            QCOMPARE(total, int(text.size()));
            if (lines == cancelAt) {
                w.session.cancelUpload();
            }
        });
        pollTimer(w.session).stop();
        QTest::qWait(100);
        QFile::resize(log, 0);
        w.prompter.messages.clear();
        w.prompter.answers = {Answer::No, Answer::No};
        w.session.upload(tableOf(rows), int(rows.size()));
        const int reached = cancelAt > 0 ? cancelAt : int(text.size());
        QCOMPARE(w.progress.size(), reached);
        QCOMPARE(w.progress.last(), reached);
        QByteArray expected =
            "?VM\r\x1b\x1b"
            "DL\r";
        for (const QString& line : text.mid(0, reached)) {
            expected += line.toLatin1() + '\r';
        }
        expected += '\r';
        QTRY_COMPARE_WITH_TIMEOUT(readFile(log), expected, 3000);
        QCOMPARE(w.prompter.messages.size(), size_t(cancelAt > 0 ? 1 : 2));
        if (cancelAt > 0) {
            QCOMPARE(w.prompter.messages[0].text,
                     uploadCancelledMessage(cancelAt, int(text.size())));
        }
        QVERIFY(pollTimer(w.session).isActive());
    }

    void silentController() {
        Simulator sim({"--silent"});
        Session w(sim.device);
        w.session.ConnectController();
        QCOMPARE(w.prompter.messages.size(), size_t(2));
        QVERIFY(w.prompter.messages[1].text.startsWith("通訊有誤!\n連接埠 " + sim.device));
        QVERIFY(!w.line.isOpen());
        QVERIFY(!w.connected);
    }

    void controllerAnsweringEveryQueryTheSame() {
        Simulator sim({"--fixed-reply", "7"});
        Session w(sim.device);
        w.session.ConnectController();
        QVERIFY(w.line.isOpen());
        QCOMPARE(w.internal.speed, QString("7\r"));
        QTRY_COMPARE_WITH_TIMEOUT(w.reading.position, QString("7\r"), 3000);
        QVERIFY(w.input(1) && w.input(2) && w.input(3) && !w.input(4));

        w.prompter.answers = {Answer::Yes, Answer::Yes};
        w.session.upload(tableOf({{"HOME", "回原點", "-", "-", "-"}}), 1);
        QCOMPARE(w.prompter.messages.size(), size_t(3));  // connect notice, the two questions
        QVERIFY(w.line.isOpen());
    }

    // A client that sends and never reads fills the line with replies: the simulator drops
    // what does not fit and goes on serving its standard input, drops an overlong line of
    // it, and ends on SIGTERM.
    void clientThatNeverReads() {
        Simulator sim({});
        const int client =
            ::open(QFile::encodeName(sim.device).constData(), O_RDWR | O_NOCTTY | O_NONBLOCK);
        QVERIFY(client >= 0);
        const QByteArray queries = QByteArray("?PE\r").repeated(1000);
        for (int i = 0; i < 200; ++i) {
            (void)::write(client, queries.constData(), size_t(queries.size()));
            std::this_thread::sleep_for(2ms);
        }
        sim.process.write(QByteArray(100000, 'x') + "\nstate\n");
        QVERIFY(sim.process.waitForReadyRead(3000));
        QTRY_VERIFY_WITH_TIMEOUT(sim.process.canReadLine(), 3000);
        QVERIFY(sim.process.readLine().startsWith("position=0 "));
        QVERIFY(!sim.process.canReadLine());  // the overlong line did nothing
        sim.process.terminate();
        QVERIFY(sim.process.waitForFinished(3000));
        ::close(client);
    }

    // The window with its session on a thread of its own: a press returns before the
    // exchange it asked for is over, the session's boxes are the window's, and the close
    // still signs off with "EC 1" before the window is gone.
    void theWindowOnASessionThread() {
        ThreadedWindow w;
        auto* state = w.form->findChild<QLabel*>("StatusBar1(1)");
        QVERIFY(w.form->session().thread() == &w.thread);
        w.press("連線鍵");
        QVERIFY(state->text() != QString("連線中"));  // the probe alone waits 200 ms
        QTRY_COMPARE_WITH_TIMEOUT(state->text(), QString("連線中"), 5000);
        QCOMPARE(w.prompter.messages.front().text, QString(" 準備連線終止運作中程式"));
        w.press("原點");
        QTRY_VERIFY_WITH_TIMEOUT(readFile(w.log).contains("\rH\r"), 3000);
        // The upload's questions come to the window's boxes while the session waits.
        w.form->program().load(tableOf({{"HOME", "回原點", "-", "-", "-"}}), 1);
        w.prompter.answers = {Answer::No, Answer::No};
        w.press("Command3");
        QTRY_COMPARE_WITH_TIMEOUT(w.prompter.messages.size(), size_t(3), 5000);
        QCOMPARE(w.prompter.messages.back().text, runQuestion());
        QTRY_VERIFY_WITH_TIMEOUT(!w.form->session().lineHeld(), 3000);
        QVERIFY(readFile(w.log).contains("DL\r{\rCLR VAR;\rH;\rDN;\r}\r\r"));
        QVERIFY(w.form->close());
        QVERIFY(!w.form->session().isConnected());  // signed off before close() returned
        // The simulator logs the sign-off once it has read it.
        QTRY_VERIFY_WITH_TIMEOUT(readFile(w.log).endsWith("EC 1\r"), 3000);
    }

    // An upload that starts the program measures the simulator's run to its end, on the
    // session's thread, polled every 50 ms.
    void aMeasuredRunOnTheSimulator() {
        ThreadedWindow w;
        w.press("連線鍵");
        QTRY_VERIFY_WITH_TIMEOUT(w.form->session().isConnected(), 5000);
        w.form->program().load(tableOf({{"VM", "200", "速度", "-", "-"},
                                        {"POINT", "絕對移動", "40", "-", "-"},
                                        {"POINT", "絕對移動", "10", "-", "-"}}),
                               3);
        w.prompter.answers = {Answer::No, Answer::Yes};  // not stored, started
        w.press("Command3");
        const auto* summary = w.form->findChild<QListWidget*>("DrySummary");
        QTRY_VERIFY_WITH_TIMEOUT(!summary->findItems("實測執行時間", Qt::MatchStartsWith).isEmpty(),
                                 10000);
        QTRY_VERIFY_WITH_TIMEOUT(!w.form->session().measuring(), 3000);
        QCOMPARE(summary->findItems("第 2 列: 實測", Qt::MatchStartsWith).size(), 1);
        w.prompter.answers = {Answer::No};
        QVERIFY(w.form->close());
    }

    // A port that goes while the teach dialog polls: the console disconnects and says so
    // once, and the window still closes.
    void aPortThatGoesWithTheSessionOnItsThread() {
        ThreadedWindow w;
        w.press("連線鍵");
        QTRY_VERIFY_WITH_TIMEOUT(w.form->session().isConnected(), 5000);
        w.press("Command12");
        w.press("Command19");  // the teach dialog, polling
        w.sim->process.kill();
        w.sim->process.waitForFinished(2000);
        auto* state = w.form->findChild<QLabel*>("StatusBar1(1)");
        QTRY_COMPARE_WITH_TIMEOUT(state->text(), QString("未連線"), 5000);
        const auto lost = [&w] {
            return std::count_if(w.prompter.messages.begin(), w.prompter.messages.end(),
                                 [](const auto& shown) { return shown.text.contains("已中斷"); });
        };
        QTRY_COMPARE_WITH_TIMEOUT(lost(), 1, 5000);
        QTest::qWait(600);  // a poll more: it says nothing again
        QCOMPARE(lost(), 1);
        w.prompter.answers = {Answer::No};  // 編輯開始 counted as a change: not saved
        QVERIFY(w.form->close());
    }

    void vanishingPort() {
        auto sim = std::make_unique<Simulator>(QStringList{});
        Session w(sim->device);
        w.session.ConnectController();
        QVERIFY(w.line.isOpen());
        sim->process.kill();
        sim->process.waitForFinished(2000);
        QTRY_VERIFY_WITH_TIMEOUT(!w.line.isOpen(), 5000);
        QCOMPARE(w.state, QString("未連線"));
        QVERIFY(!w.connected);
        QCOMPARE(w.prompter.messages.size(), size_t(2));
    }

    // Controllers of a cell, each on a port and a session thread of its own: an upload to
    // one, its questions up for seconds, holds nothing of another's poll, nor does a third
    // that answers garbage; a port that goes takes only its own controller away.
    void twoControllersAtOnce() {
        QTemporaryDir dir;
        qputenv("HOME", dir.path().toLocal8Bit());
        // The press's operator reads each question a while before answering 否: the press's
        // line is held meanwhile.
        class SlowOperator final : public Prompter {
        public:
            Answer message(QWidget*, const QString&, const QString&, Buttons buttons,
                           Icon) override {
                if (buttons != Buttons::YesNo) {
                    return Answer::Ok;
                }
                QThread::msleep(1500);
                return Answer::No;
            }
            QString inputBox(QWidget*, const QString&, const QString&, const QString&) override {
                return {};
            }
            QString saveFileName(QWidget*, const QString&, const QString&) override { return {}; }
            QString openFileName(QWidget*, const QString&, const QString&) override { return {}; }
        };
        struct Controller {
            explicit Controller(const QString& name, const QStringList& simulator)
                : sim(simulator),
                  session(std::make_unique<ControllerSession>(prompter, line, sleeper, name)) {
                session->setPortNumber(sim.device);
                thread.start();
                line.moveToThread(&thread);
                session->moveToThread(&thread);
            }
            // As the tool ends a session: deleted on its own thread, then the thread ends.
            ~Controller() {
                std::atomic<bool> gone = false;
                ControllerSession* ending = session.release();
                QMetaObject::invokeMethod(ending, [ending, &gone] {
                    delete ending;
                    gone = true;
                });
                while (!gone) {
                    QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
                }
                thread.quit();
                thread.wait();
            }
            // Posted: the session's boxes come to this thread while it waits for them.
            void perform(const std::function<void(ControllerSession&)>& verb) {
                QMetaObject::invokeMethod(
                    session.get(), [this, verb] { verb(*session); }, Qt::QueuedConnection);
            }
            Simulator sim;
            SlowOperator prompter;
            QtSerialLine line;
            ThreadSleeper sleeper;
            std::unique_ptr<ControllerSession> session;
            QThread thread;
        };
        Controller press("壓床", {});
        Controller slide("滑台", {});
        Controller drill("鑽床", {"--fixed-reply", "?!#"});
        QVERIFY(!press.sim.device.isEmpty() && !slide.sim.device.isEmpty());
        for (Controller* c : {&press, &slide}) {
            c->perform([](ControllerSession& s) { s.ConnectController(); });
            QTRY_VERIFY_WITH_TIMEOUT(c->session->isConnected(), 5000);
        }
        int polls = 0;
        int positions = 0;
        QObject context;
        QObject::connect(slide.session.get(), &ControllerSession::pollRead, &context,
                         [&polls] { ++polls; });
        QObject::connect(slide.session.get(), &ControllerSession::positionRead, &context,
                         [&positions] { ++positions; });
        drill.perform([](ControllerSession& s) { s.ConnectController(); });
        bool uploaded = false;
        QObject::connect(press.session.get(), &ControllerSession::uploadEnded, &context,
                         [&uploaded] { uploaded = true; });
        const ProgramTable table = tableOf({{"HOME", "回原點", "-", "-", "-"}});
        QElapsedTimer clock;
        clock.start();
        press.perform([table](ControllerSession& s) { s.upload(table, 1); });
        QTRY_VERIFY_WITH_TIMEOUT(uploaded, 20000);
        const double seconds = double(clock.elapsed()) / 1000;
        QVERIFY2(seconds > 2.5, qPrintable(QString::number(seconds)));  // two questions
        QTest::qWait(50);  // the slide's readings queued meanwhile
        QVERIFY2(polls >= int(seconds / 0.5) - 1,
                 qPrintable(QString("%1 polls in %2 s").arg(polls).arg(seconds)));
        QCOMPARE(positions, polls);  // every reading the slide's own

        press.sim.process.kill();
        press.sim.process.waitForFinished(2000);
        QTRY_VERIFY_WITH_TIMEOUT(!press.session->isConnected(), 5000);
        const int before = polls;
        QTest::qWait(1100);
        QVERIFY(slide.session->isConnected());
        QVERIFY(polls >= before + 2);  // the slide polls on
    }
};

QTEST_MAIN(TestSimulator)
#include "tst_simulator.moc"
