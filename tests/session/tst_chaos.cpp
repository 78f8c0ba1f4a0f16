// The real serial line against a controller that misbehaves: floods the line, answers late,
// answers nonsense, or goes away in the middle of an exchange. The session never hangs
// (every exchange returns within its fixed waits plus 100 ms) and never shows a connection
// that is not there.

#include "link/qtserialline.h"
#include "pseudoterminal.h"
#include "support/quietoffscreen.h"
#include "support/sessionfixture.h"

#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QTest>

#include <poll.h>
#include <unistd.h>

#include <atomic>
#include <memory>
#include <thread>

using namespace tql;
using namespace std::chrono_literals;
using Answer = Prompter::Answer;

namespace {

enum class Misbehaviour { Flood, Late, Nonsense, VanishInConnect, VanishInPoll, VanishInUpload };

// Serves the controller's side of a pseudo-terminal in a thread of its own.
class Peer {
public:
    Peer(sim::Pty& pty, Misbehaviour how) : m_pty(pty), m_how(how), m_thread([this] { serve(); }) {}
    ~Peer() {
        m_stop = true;
        m_thread.join();
    }
    bool vanished() const { return m_vanished; }

private:
    void serve() {
        std::string pending;
        QRandomGenerator random(9600);
        bool flooded = false;
        while (!m_stop && !m_vanished) {
            pollfd fd{m_pty.master(), POLLIN, 0};
            if (::poll(&fd, 1, 5) <= 0) {
                continue;
            }
            char buffer[4096];
            const ssize_t n = ::read(m_pty.master(), buffer, sizeof buffer);
            for (ssize_t i = 0; i < n && !m_vanished; ++i) {
                if (buffer[i] != '\r') {
                    pending += buffer[i];
                    continue;
                }
                const std::string line = std::exchange(pending, {});
                if (vanishesAt(line)) {
                    m_pty.hangUp();
                    m_vanished = true;
                } else if (line.starts_with('?')) {
                    if (m_how == Misbehaviour::Flood && !flooded) {
                        flooded = true;
                        QByteArray noise(64 * 1024, '\0');
                        random.fillRange(reinterpret_cast<quint32*>(noise.data()),
                                         noise.size() / 4);
                        send(noise);
                    }
                    answer(line);
                }
            }
        }
    }
    bool vanishesAt(const std::string& line) const {
        return (m_how == Misbehaviour::VanishInConnect && line == "EC=0") ||
               (m_how == Misbehaviour::VanishInPoll && line == "?INP") ||
               (m_how == Misbehaviour::VanishInUpload && line == "DL");
    }
    void answer(const std::string& query) {
        if (m_how == Misbehaviour::Late) {
            std::this_thread::sleep_for(80ms);
        }
        if (m_how == Misbehaviour::Nonsense) {
            send(query == "?INP" ? "99999999999999999999\r" : query == "?PE" ? "abc\r" : "1e999\r");
        } else {
            send("0\r");
        }
    }
    void send(const QByteArray& bytes) {
        qsizetype done = 0;
        while (done < bytes.size()) {
            const ssize_t n =
                ::write(m_pty.master(), bytes.constData() + done, bytes.size() - done);
            if (n <= 0) {
                return;
            }
            done += n;
        }
    }

    sim::Pty& m_pty;
    Misbehaviour m_how;
    std::atomic<bool> m_stop{false};
    std::atomic<bool> m_vanished{false};
    std::thread m_thread;
};

// A sleeper that keeps count of the waits asked for and of the time they really took: on a
// loaded machine a 50 ms sleep may take far longer, which is the machine's, not the tool's.
class MeasuredSleeper final : public Sleeper {
public:
    void sleep(std::chrono::milliseconds duration) override {
        QElapsedTimer slept;
        slept.start();
        m_sleeper.sleep(duration);
        m_asked += duration.count();
        m_taken += slept.elapsed();
    }
    qint64 asked() const { return m_asked; }
    qint64 taken() const { return m_taken; }

private:
    ThreadSleeper m_sleeper;
    qint64 m_asked = 0;
    qint64 m_taken = 0;
};

// An exchange keeps to its fixed waits, and spends at most 100 ms beyond the sleeps.
class Stopwatch {
public:
    explicit Stopwatch(const MeasuredSleeper& sleeper) : m_sleeper(sleeper) {}
    void start() {
        m_clock.start();
        m_asked = m_sleeper.asked();
        m_taken = m_sleeper.taken();
    }
    qint64 elapsed() const { return m_clock.elapsed(); }
    void verifyWithin(qint64 waits) const {
        const qint64 asked = m_sleeper.asked() - m_asked;
        const qint64 beyond = m_clock.elapsed() - (m_sleeper.taken() - m_taken);
        QVERIFY2(asked <= waits, qPrintable(QString("waits of %1 ms").arg(asked)));
        QVERIFY2(beyond < 100, qPrintable(QString("%1 ms beyond the waits").arg(beyond)));
    }

private:
    const MeasuredSleeper& m_sleeper;
    QElapsedTimer m_clock;
    qint64 m_asked = 0;
    qint64 m_taken = 0;
};

const QList<Row> kProgram = {{"VM", "150", "速度", "-", "-"},
                             {"POINT", "絕對移動", "12.5", "-", "-"},
                             {"WT", "500", "延遲", "-", "-"}};

}  // namespace

Q_DECLARE_METATYPE(Misbehaviour)

class TestChaos : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { tql::test::installQuietHandler(); }

    void misbehavingController_data() {
        QTest::addColumn<Misbehaviour>("how");
        QTest::newRow("64 KiB of noise") << Misbehaviour::Flood;
        QTest::newRow("answers 80 ms late") << Misbehaviour::Late;
        QTest::newRow("huge and non-numeric words") << Misbehaviour::Nonsense;
        QTest::newRow("gone while connecting") << Misbehaviour::VanishInConnect;
        QTest::newRow("gone while polling") << Misbehaviour::VanishInPoll;
        QTest::newRow("gone while uploading") << Misbehaviour::VanishInUpload;
    }

    void misbehavingController() {
        QFETCH(Misbehaviour, how);
        std::optional<sim::Pty> pty = sim::Pty::open();
        QVERIFY(pty);
        test::SessionFixture<QtSerialLine, MeasuredSleeper> s;
        s.session.setPortNumber(QString::fromStdString(pty->device()));
        s.prompter.answers = {Answer::Ok, Answer::Yes, Answer::Yes};
        const auto& prompter = s.prompter;
        Peer peer(*pty, how);
        Stopwatch clock(s.sleeper);

        // Connecting: 200 ms probe, 200 ms greeting, two 50 ms reads of the internal values.
        clock.start();
        s.session.ConnectController();
        clock.verifyWithin(500);

        // Three console ticks of two 50 ms queries each.
        for (int tick = 0; tick < 3 && s.line.isOpen(); ++tick) {
            clock.start();
            QVERIFY(s.tick());
            clock.verifyWithin(100);
        }

        // The upload: 200 ms probe, 100 ms before "G".
        if (s.line.isOpen()) {
            clock.start();
            s.session.upload(test::tableOf(kProgram), int(kProgram.size()));
            clock.verifyWithin(300);
        }

        if (peer.vanished()) {
            QVERIFY(!s.line.isOpen());
            QCOMPARE(s.state, QString("未連線"));
            QVERIFY(!s.connected);
            // The operator reads why in the tool's language.
            const QString lost = QStringLiteral("連接埠 %1 已中斷, 連線結束: ")
                                     .arg(QString::fromStdString(pty->device()));
            const auto said = std::find_if(
                prompter.messages.begin(), prompter.messages.end(),
                [&](const test::ScriptedPrompter::Shown& m) { return m.text.startsWith(lost); });
            if (how == Misbehaviour::VanishInPoll) {
                QVERIFY(said != prompter.messages.end());
            }
            if (said != prompter.messages.end()) {
                QVERIFY2(said->text.at(lost.size()).unicode() > 0x7f, qPrintable(said->text));
                // A peer that went away is an end of the line, no system error: whatever
                // words the system last left behind belong to another failure.
                QVERIFY2(!said->text.contains("系統訊息"), qPrintable(said->text));
            }
        } else {
            QVERIFY(s.line.isOpen());
            QCOMPARE(s.state, QString("連線中"));
        }
        s.line.close();
    }
};

QTEST_MAIN(TestChaos)
#include "tst_chaos.moc"
