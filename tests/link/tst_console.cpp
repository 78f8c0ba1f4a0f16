#include "link/commandhistory.h"
#include "link/commands.h"
#include "link/console.h"
#include "link/portname.h"
#include "link/wirelog.h"
#include "support/scriptedline.h"
#include "translator/upload.h"

#include <QTest>

#include <algorithm>
#include <deque>

#include <clocale>
#include <limits>
#include <string>

using namespace tql;
using namespace std::chrono_literals;
using tql::test::RecordingSleeper;
using tql::test::ScriptedLine;

namespace {

// A controller that answers the probe, behind a wire of 9600 baud on a clock that moves only
// while its user sleeps: the bytes leave the port's queue at 960 a second.
struct ClockedWire final : SerialLine, Sleeper {
    QByteArray written;
    double seconds = 0;
    qint64 mostWaiting = 0;
    bool idledWithLinesLeft = false;
    std::deque<QByteArray> replies = {"100\r"};

    std::optional<QString> open(const QString&) override { return std::nullopt; }
    void close() override {}
    bool isOpen() const override { return true; }
    void write(const QByteArray& bytes) override {
        written += bytes;
        mostWaiting = std::max(mostWaiting, unsentBytes());
    }
    qint64 unsentBytes() const override {
        return std::max<qint64>(0, written.size() - qint64(seconds * 960));
    }
    QByteArray readAll() override {
        QByteArray reply = replies.empty() ? QByteArray() : replies.front();
        if (!replies.empty()) {
            replies.pop_front();
        }
        return reply;
    }
    std::optional<QString> lostReason() const override { return std::nullopt; }
    void sleep(std::chrono::milliseconds duration) override {
        // Once the program is on its way, a wait with nothing queued is the wire idling.
        if (written.contains("DL\r") && unsentBytes() == 0 && !written.endsWith("\r\r")) {
            idledWithLinesLeft = true;
        }
        seconds += double(duration.count()) / 1000;
    }
};

struct Wire {
    ScriptedLine line;
    RecordingSleeper sleeper;
    Link link{line, sleeper};

    Wire() { line.openState = true; }
    std::vector<std::chrono::milliseconds> sleeps() const { return sleeper.sleeps; }
};

using Sleeps = std::vector<std::chrono::milliseconds>;

}  // namespace

class TestConsole : public QObject {
    Q_OBJECT

private slots:
    // The port menu offers each port once: a system port that is one of COM1..COM4 is not
    // listed again, and the one in use is ticked however it was named.
    void samePorts_data() {
        QTest::addColumn<QString>("a");
        QTest::addColumn<QString>("b");
        QTest::addColumn<bool>("same");
        QTest::newRow("a number and its device") << "1" << portDeviceName("1") << true;
        QTest::newRow("another number") << "2" << portDeviceName("1") << false;
        QTest::newRow("two names") << "/dev/ttyUSB0"
                                   << "/dev/ttyUSB0" << true;
        QTest::newRow("a number and a name") << "1"
                                             << "/dev/ttyUSB0" << false;
    }

    void samePorts() {
        QFETCH(QString, a);
        QFETCH(QString, b);
        QFETCH(bool, same);
        QCOMPARE(samePort(a, b), same);
        QCOMPARE(samePort(b, a), same);
    }

    void inputWord_data() {
        QTest::addColumn<QString>("reply");
        QTest::addColumn<int>("word");
        QTest::newRow("with CR") << "5\r" << 5;
        QTest::newRow("top bit") << "128\r" << 128;
        QTest::newRow("empty") << "" << 0;
        QTest::newRow("no number") << "abc" << 0;
        QTest::newRow("12.5 rounds to even") << "12.5" << 12;
        QTest::newRow("13.5 rounds to even") << "13.5" << 14;
        QTest::newRow("0.5 rounds to 0") << "+.5" << 0;
        QTest::newRow("blanks anywhere") << " 1 2\t3\n" << 123;
        QTest::newRow("stops at CR") << "7\r9" << 7;
        QTest::newRow("hex") << "&H1F\r" << 31;
        QTest::newRow("octal") << "&o17" << 15;
        QTest::newRow("exponent") << "1E2" << 100;
        QTest::newRow("D exponent") << "1.5D1" << 15;
        QTest::newRow("negative") << "-3" << -3;
        QTest::newRow("trailing text") << "42abc" << 42;
        QTest::newRow("too large: clamped") << "99999999999" << std::numeric_limits<int>::max();
        QTest::newRow("too small: clamped") << "-1e20" << std::numeric_limits<int>::min();
        QTest::newRow("overflowing exponent") << "1e999" << std::numeric_limits<int>::max();
        QTest::newRow("underflowing exponent") << "1e-999" << 0;
    }

    // Every reply reads the same under a locale whose decimal mark is a comma.
    void inputWord() {
        QFETCH(QString, reply);
        QFETCH(int, word);
        QCOMPARE(tql::inputWord(reply), word);
        const std::string before = std::setlocale(LC_NUMERIC, nullptr);
        const char* comma = nullptr;
        for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8", "de_DE"}) {
            comma = comma ? comma : std::setlocale(LC_NUMERIC, name);
        }
        QVERIFY2(comma, "no comma-decimal locale: scripts/test.sh generates de_DE.UTF-8");
        QCOMPARE(*std::localeconv()->decimal_point, ',');
        const int underComma = tql::inputWord(reply);
        std::setlocale(LC_NUMERIC, before.c_str());
        QCOMPARE(underComma, word);
    }

    // Raw bytes from the line: any byte answers the probe, and none vanishes from a display.
    void replyDecoding_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("shown");
        const QString bad = QChar(QChar::ReplacementCharacter);
        QTest::newRow("plain") << QByteArray("12.5\r") << "12.5\r";
        QTest::newRow("Big5") << QByteArray("\xb3\x74\xab\xd7") << "速度";
        QTest::newRow("lone lead byte") << QByteArray("\xa4") << bad;
        QTest::newRow("lead byte at the end") << QByteArray("7\r\xa4") << "7\r" + bad;
        QTest::newRow("lead byte and no trail") << QByteArray("\xc8\x7f") << bad + "\x7f";
    }

    void replyDecoding() {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, shown);
        Wire w;
        w.line.replies = {bytes, bytes};
        QVERIFY(probeController(w.link));
        QCOMPARE(w.link.readAll(), shown);
    }

    // Up walks back, Down forward and past the newest to what was being typed; at most 100
    // commands, a repeat kept once.
    void commandHistory() {
        CommandHistory history({"a", "b"});
        QCOMPARE(history.older("typing"), std::optional<QString>("b"));
        QCOMPARE(history.older("ignored"), std::optional<QString>("a"));
        QCOMPARE(history.older("ignored"), std::nullopt);
        QCOMPARE(history.newer(), std::optional<QString>("b"));
        QCOMPARE(history.newer(), std::optional<QString>("typing"));
        QCOMPARE(history.newer(), std::nullopt);
        history.add("b");
        history.add("");
        QCOMPARE(history.commands(), (QStringList{"a", "b"}));
        for (int i = 0; i < 150; ++i) {
            history.add(QString::number(i));
        }
        QCOMPARE(history.commands().size(), CommandHistory::kMaxCommands);
        QCOMPARE(history.commands().first(), QString("50"));
        QCOMPARE(history.older(""), std::optional<QString>("149"));
        QStringList stored;
        for (int i = 0; i < 150; ++i) {
            stored << QString::number(i);
        }
        const CommandHistory kept(stored);  // a settings file from a longer history
        QCOMPARE(kept.commands(), stored.mid(50));
    }

    // The monitor sees lines as they went: a command gathered up to its CR, ESC alone, each
    // reply as read, in order, and never more than it keeps.
    void wireLog() {
        WireLog log(5);
        log.sent("?I");
        log.sent("NP");
        log.received("5\r");  // a reply before the CR: what was sent so far comes first
        log.sent(
            "\r\x1b\x1b"
            "DL\r");
        QStringList seen;
        const std::vector<WireEntry> entries = log.entriesAfter(0).entries;
        for (const WireEntry& e : entries) {
            seen << log.format(e, false).section(' ', 1);
        }
        QCOMPARE(seen, (QStringList{"← 5<CR>", "→ <CR>", "→ <ESC>", "→ <ESC>", "→ DL<CR>"}));
        QCOMPARE(log.appended(), quint64(6));
        // What a reader has not seen yet, as far as the log still holds it.
        QCOMPARE(log.entriesAfter(5).entries.size(), size_t(1));
        QCOMPARE(log.entriesAfter(6).entries.size(), size_t(0));
        QCOMPARE(log.entriesAfter(1).entries.size(), size_t(5));  // the first fell out
        QCOMPARE(log.format(log.entriesAfter(5).entries.back(), true).section(' ', 1),
                 QString("→ 44 4C 0D"));

        // A read that comes in a large buffer is kept as small as its bytes.
        QByteArray read = "12.5\r";
        read.reserve(4096);
        log.received(read);
        QCOMPARE(log.entriesAfter(log.appended() - 1).entries.back().bytes.capacity(), read.size());
        QVERIFY(log.memoryUse() < 5 * 200);
    }

    void inputIndicators_data() {
        QTest::addColumn<int>("word");
        QTest::addColumn<QString>("on");  // indicators 1..8 as '1'/'0'
        QTest::newRow("5") << 5 << "10100000";
        QTest::newRow("128") << 128 << "00000001";
        QTest::newRow("255") << 255 << "11111111";
        QTest::newRow("256 checks all") << 256 << "11111111";
        QTest::newRow("huge checks all") << std::numeric_limits<int>::max() << "11111111";
        QTest::newRow("0") << 0 << "00000000";
        QTest::newRow("negative") << -1 << "00000000";
        QTest::newRow("most negative") << std::numeric_limits<int>::min() << "00000000";
    }

    void inputIndicators() {
        QFETCH(int, word);
        QFETCH(QString, on);
        QString got;
        for (bool b : tql::inputIndicators(word)) {
            got += b ? '1' : '0';
        }
        QCOMPARE(got, on);
    }

    void probeAndGreeting() {
        Wire w;
        w.line.replies = {"100\r"};
        QVERIFY(probeController(w.link));
        greetController(w.link);
        QCOMPARE(w.line.written, QByteArray("?VM\r\x1b\x1b"
                                            "EC=0\rHON\r"));
        QCOMPARE(w.sleeps(), (Sleeps{200ms, 200ms}));
        QCOMPARE(w.line.reads, 3);

        Wire silent;
        QVERIFY(!probeController(silent.link));
        QCOMPARE(silent.line.written, QByteArray("?VM\r"));
    }

    void internalValuesAndPoll() {
        Wire w;
        w.line.replies = {"2000\r", "150\r"};
        const InternalValues values = readInternalValues(w.link);
        QCOMPARE(values.acceleration, QString("2000\r"));
        QCOMPARE(values.speed, QString("150\r"));
        QCOMPARE(w.line.written, QByteArray("?VA\r?VM\r"));

        Wire poll;
        poll.line.replies = {"12.5\r", "late\r", "5\r"};
        const PollReading reading = pollPositionAndInputs(poll.link);
        QCOMPARE(reading.position, QString("12.5\r"));
        QCOMPARE(reading.inputs, (std::array<bool, 8>{true, false, true}));
        QCOMPARE(poll.line.written, QByteArray("?PE\r?INP\r"));
        QCOMPARE(poll.sleeps(), (Sleeps{50ms, 50ms}));
        QCOMPARE(poll.line.reads, 3);  // the middle read takes a late reply and drops it

        Wire silent;
        const PollReading nothing = pollPositionAndInputs(silent.link);
        QCOMPARE(nothing.position, QString());
        QCOMPARE(nothing.inputs, (std::array<bool, 8>{}));
    }

    void outputsAreSentOncePerChange() {
        Wire w;
        std::array<bool, 4> sent{};
        syncOutputs(w.link, {false, true, false, false}, sent);
        syncOutputs(w.link, {false, true, false, false}, sent);
        QCOMPARE(w.line.written, QByteArray("SET P2\r"));
        syncOutputs(w.link, {true, false, false, true}, sent);
        QCOMPARE(w.line.written, QByteArray("SET P2\rSET P1\rCLR P2\rSET P4\r"));
        QCOMPARE(sent, (std::array<bool, 4>{true, false, false, true}));
    }

    void download_data() {
        QTest::addColumn<bool>("store");
        QTest::addColumn<bool>("run");
        QTest::addColumn<QByteArray>("tail");
        QTest::addColumn<Sleeps>("sleeps");
        QTest::newRow("store and run")
            << true << true << QByteArray("SAVE P\rHON\rG\r") << Sleeps{200ms, 100ms};
        QTest::newRow("neither") << false << false << QByteArray() << Sleeps{200ms};
        QTest::newRow("run only") << false << true << QByteArray("HON\rG\r")
                                  << Sleeps{200ms, 100ms};
        QTest::newRow("store only") << true << false << QByteArray("SAVE P\r") << Sleeps{200ms};
    }

    void download() {
        QFETCH(bool, store);
        QFETCH(bool, run);
        QFETCH(QByteArray, tail);
        QFETCH(Sleeps, sleeps);
        Wire w;
        w.line.replies = {"1"};
        QStringList asked;
        const auto ask = [&](const QString& question) {
            asked << question;
            return question == storeQuestion() ? store : run;
        };
        const Download done = downloadProgram(w.link, {"{", "CLR VAR;", "}"}, ask);
        QCOMPARE(done.outcome, run ? DownloadOutcome::Started : DownloadOutcome::Sent);
        QCOMPARE(done.stored, store);
        QCOMPARE(w.line.written, QByteArray("?VM\r\x1b\x1b"
                                            "DL\r{\rCLR VAR;\r}\r\r") +
                                     tail);
        QCOMPARE(asked, (QStringList{storeQuestion(), runQuestion()}));
        QCOMPARE(w.sleeps(), sleeps);
    }

    // The adapter pulled out during the upload: the upload stops at that write, asks
    // nothing and writes nothing more.
    void lineLostDuringTheUpload_data() {
        QTest::addColumn<int>("atWrite");
        QTest::addColumn<QByteArray>("written");
        QTest::newRow("at DL") << 3 << QByteArray("?VM\r\x1b\x1b");
        QTest::newRow("in the program") << 7
                                        << QByteArray(
                                               "?VM\r\x1b\x1b"
                                               "DL\r{\r");
        QTest::newRow("at the lone CR") << 11
                                        << QByteArray(
                                               "?VM\r\x1b\x1b"
                                               "DL\r{\rCLR VAR;\r}\r");
    }

    void lineLostDuringTheUpload() {
        QFETCH(int, atWrite);
        QFETCH(QByteArray, written);
        Wire w;
        w.line.replies = {"1"};
        w.line.lostAtWrite = atWrite;
        int asked = 0;
        const auto ask = [&](const QString&) { return ++asked > 0; };
        QCOMPARE(downloadProgram(w.link, {"{", "CLR VAR;", "}"}, ask).outcome,
                 DownloadOutcome::LineLost);
        QCOMPARE(w.line.written, written);
        QCOMPARE(asked, 0);
    }

    // Told to stop after line k, the download ends with the lone CR and asks nothing; after
    // the last line the program is whole and both questions come.
    void cancelEndsTheDownload_data() {
        QTest::addColumn<int>("stopAfter");
        QTest::addColumn<DownloadOutcome>("outcome");
        QTest::addColumn<QByteArray>("written");
        QTest::addColumn<int>("questions");
        QTest::newRow("after the second line") << 2 << DownloadOutcome::Cancelled
                                               << QByteArray(
                                                      "?VM\r\x1b\x1b"
                                                      "DL\r{\rCLR VAR;\r\r")
                                               << 0;
        QTest::newRow("after the last line: the program is whole") << 3 << DownloadOutcome::Sent
                                                                   << QByteArray(
                                                                          "?VM\r\x1b\x1b"
                                                                          "DL\r{\rCLR VAR;\r}\r\r")
                                                                   << 2;
    }

    void cancelEndsTheDownload() {
        QFETCH(int, stopAfter);
        QFETCH(DownloadOutcome, outcome);
        QFETCH(QByteArray, written);
        QFETCH(int, questions);
        Wire w;
        w.line.replies = {"1"};
        int asked = 0;
        const auto ask = [&](const QString&) {
            ++asked;
            return false;
        };
        const auto progress = [&](int sent, int) { return sent < stopAfter; };
        QCOMPARE(downloadProgram(w.link, {"{", "CLR VAR;", "}"}, ask, progress).outcome, outcome);
        QCOMPARE(w.line.written, written);
        QCOMPARE(asked, questions);
    }

    // On a wire that takes 960 bytes a second (the clock moves only while the download
    // waits), the port is kept busy a little ahead, the wire never idles while lines are
    // left, and a line is counted only once its bytes have left the port; told to stop,
    // the download hands no further line, and every line handed is counted.
    void theUploadKeepsTheWireBusy_data() {
        QTest::addColumn<int>("stopAfter");
        QTest::newRow("whole") << 0;
        QTest::newRow("stopped after line 30") << 30;
    }

    void theUploadKeepsTheWireBusy() {
        QFETCH(int, stopAfter);
        ClockedWire wire;
        Link link(wire, wire);
        const QStringList text(100, QStringLiteral("MA 12.5;"));  // 9 bytes with its CR
        std::vector<int> counted;
        const auto progress = [&](int sent, int) {
            const qint64 left = wire.written.size() - wire.unsentBytes();
            if (left < wire.written.indexOf("DL\r") + 3 + 9 * sent) {
                qFatal("line %d counted before it left", sent);
            }
            counted.push_back(sent);
            return sent != stopAfter;
        };
        downloadProgram(
            link, text, [](const QString&) { return false; }, progress);
        QCOMPARE(wire.idledWithLinesLeft, false);
        QVERIFY(wire.mostWaiting > 9 && wire.mostWaiting <= 96 + 9);
        const int sent = int(counted.size());
        QCOMPARE(wire.written.count("MA 12.5;\r"), sent);  // every line handed is counted
        if (stopAfter > 0) {
            // No more than the port held when told to stop.
            QVERIFY(sent >= stopAfter && sent - stopAfter <= 96 / 9);
        } else {
            QCOMPARE(sent, 100);
        }
    }

    void silentProbeSendsNothingMore() {
        Wire w;
        bool asked = false;
        const auto ask = [&](const QString&) { return asked = true; };
        QCOMPARE(downloadProgram(w.link, {"{", "}"}, ask).outcome, DownloadOutcome::NoAnswer);
        QCOMPARE(w.line.written, QByteArray("?VM\r"));
        QVERIFY(!asked);
    }

    void big5OnTheLine() {
        Wire w;
        QVERIFY(w.link.writeLine("PRINT 速度"));
        QCOMPARE(w.line.written, QByteArray("PRINT \xb3\x74\xab\xd7\r"));
        QVERIFY(!w.link.writeLine("PRINT 😀"));
        QCOMPARE(w.line.written.size(), 11);

        Translation t;
        t.ControllerText = {"{", "CLR VAR;", "ok;", "PRINT 😀;", "}"};
        t.LineRows = {0, 0, 1, 2, 0};
        QCOMPARE(rowBig5CannotHold(t), std::optional<int>(2));
        t.ControllerText[3] = "fine;";
        QCOMPARE(rowBig5CannotHold(t), std::nullopt);
    }

    void portNames() {
        Wire w;
        w.line.openState = false;
        QVERIFY(!w.link.open("3"));
#ifdef Q_OS_WIN
        QCOMPARE(w.line.openedPorts, QStringList{"COM3"});
#else
        QCOMPARE(w.line.openedPorts, QStringList{"/dev/ttyS2"});
#endif
        QVERIFY(!w.link.open("/dev/pts/9"));
        QCOMPARE(w.line.openedPorts.last(), QString("/dev/pts/9"));
        w.line.openFailure = "Permission denied";
        const auto failure = w.link.open("/dev/ttyUSB0");
        QVERIFY(failure && failure->contains("/dev/ttyUSB0") && failure->contains("Permission"));
        QVERIFY(w.link.open("").has_value());
    }
};

QTEST_APPLESS_MAIN(TestConsole)
#include "tst_console.moc"
