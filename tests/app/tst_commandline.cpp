// The three programs' command lines answer before any window or display: help starting
// with "Usage:" (a manual page's synopsis), the version, and a wrong option on standard
// error with status 2.
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

namespace {

struct Run {
    int status;
    QByteArray out;
    QByteArray err;
};

// Without any display: no X, no Wayland, no platform chosen.
Run run(const QString& program, const QStringList& arguments, const QString& out = {},
        const QByteArray& in = {}) {
    QProcess process;
    if (!out.isEmpty()) {
        process.setStandardOutputFile(out);
    }
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
        environment.remove(QString::fromLatin1(name));
    }
    process.setProcessEnvironment(environment);
    process.start(program, arguments);
    process.waitForStarted();
    process.write(in);
    process.closeWriteChannel();
    process.waitForFinished(10000);
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            process.readAllStandardOutput(), process.readAllStandardError()};
}

}  // namespace

class TestCommandLine : public QObject {
    Q_OBJECT

private slots:
    void answersWithoutADisplay_data() {
        QTest::addColumn<QString>("program");
        QTest::addColumn<QString>("name");
        QTest::newRow("tql400") << QStringLiteral(TQL400_PATH) << "tql400";
        QTest::newRow("tq4c") << QStringLiteral(TQ4C_PATH) << "tq4c";
        QTest::newRow("tql400-sim") << QStringLiteral(TQL400_SIM_PATH) << "tql400-sim";
    }

    void answersWithoutADisplay() {
        QFETCH(QString, program);
        QFETCH(QString, name);
        for (const char* option : {"--help", "-h", "--help-all"}) {
            const Run help = run(program, {QString::fromLatin1(option)});
            QCOMPARE(help.status, 0);
            QVERIFY2(help.out.startsWith("Usage: " + name.toUtf8() + " [options]"),
                     help.out.constData());
        }
        for (const char* option : {"--version", "-v"}) {
            const Run version = run(program, {QString::fromLatin1(option)});
            QCOMPARE(version.status, 0);
            QCOMPARE(version.out, name.toUtf8() + " " TQL400_VERSION "\n");
        }
        // What could not be printed is no answer.
        for (const char* option : {"-h", "-v"}) {
            QCOMPARE(run(program, {QString::fromLatin1(option)}, "/dev/full").status, 1);
        }
        const Run wrong = run(program, {"--no-such-option"});
        QCOMPARE(wrong.status, 2);
        QVERIFY(wrong.out.isEmpty());
        QVERIFY2(wrong.err.contains("no-such-option"), wrong.err.constData());
    }

    // Arguments that name no file, or one twice, or a value that is no number, are said on
    // standard error with status 2, before anything is read or served.
    void wrongArguments_data() {
        QTest::addColumn<QString>("program");
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("says");
        const QString tq4c = QStringLiteral(TQ4C_PATH);
        const QString sim = QStringLiteral(TQL400_SIM_PATH);
        const QString tool = QStringLiteral(TQL400_PATH);
        QTest::newRow("tql400 --port without a name")
            << tool << QStringList{"--port", "/dev/ttyUSB0"} << "NAME=PORT";
        QTest::newRow("tql400 --port one port twice")
            << tool << QStringList{"--port", "A=1", "--port", "B=/dev/ttyS0"}
            << "--port B=/dev/ttyS0";
        QTest::newRow("tql400 --port and --simulator")
            << tool << QStringList{"--simulator", "--port", "A=COM1"} << "both name the port";
        QTest::newRow("tq4c -o \"\"") << tq4c << QStringList{"-o", "", "a.tq4"} << "--output";
        QTest::newRow("tq4c -o twice")
            << tq4c << QStringList{"-o", "x", "-o", "y", "a.tq4"} << "given once";
        QTest::newRow("tq4c --csv \"\"")
            << tq4c << QStringList{"--dry-run", "--csv", "", "a.tq4"} << "--csv";
        QTest::newRow("tq4c \"\"") << tq4c << QStringList{""} << "name is empty";
        QTest::newRow("tq4c --input 311")
            << tq4c << QStringList{"--dry-run", "--input", "311", "a.tq4"} << "--input";
        QTest::newRow("tq4c --timeout alone")
            << tq4c << QStringList{"--timeout", "5", "a.tq4"} << "goes with --run";
        QTest::newRow("tq4c --timeout 0")
            << tq4c << QStringList{"--run", "COM1", "--timeout", "0", "a.tq4"} << "more than 0";
        QTest::newRow("tq4c --run and --check")
            << tq4c << QStringList{"--run", "COM1", "--check", "a.tq4"} << "one at a time";
        QTest::newRow("sim --baud nan") << sim << QStringList{"--baud", "nan"} << "--baud";
        QTest::newRow("sim --log FIFO") << sim << QStringList{"--log", "FIFO"} << "regular file";
    }

    void wrongArguments() {
        QFETCH(QString, program);
        QFETCH(QStringList, arguments);
        QFETCH(QString, says);
        QTemporaryDir dir;
        const QString fifo = dir.filePath("fifo");
        QCOMPARE(mkfifo(fifo.toLocal8Bit().constData(), 0600), 0);
        arguments.replaceInStrings(QRegularExpression("^FIFO$"), fifo);
        const Run wrong = run(program, arguments);
        QCOMPARE(wrong.status, 2);
        QVERIFY2(wrong.err.contains(says.toUtf8()), wrong.err.constData());
    }

    // The simulator's own commands take what the controller would: "pos abc" is no 0.
    void simulatorRefusesWhatIsNoNumber() {
        const Run served = run(QStringLiteral(TQL400_SIM_PATH), {}, {},
                               "pos 12.5\npos nan\npos abc\npos 1e400\nin 9 1\nin 3 1\nstate\n");
        QCOMPARE(served.status, 0);
        QCOMPARE(served.err.count("needs"), 4);
        QVERIFY2(served.out.contains("position=12.5 outputs=0 inputs=4"), served.out.constData());
    }

    // tql400 --simulator starts the simulator beside it, for as long as it runs, and leaves
    // the DATA.TXT of its folder as it was.
    void theSimulatorForThisRunOnly() {
        QTemporaryDir dir;
        QFile settings(dir.filePath("DATA.TXT"));
        QVERIFY(settings.open(QIODevice::WriteOnly));
        settings.write("3\r\n");
        settings.close();
        QProcess tool;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("QT_QPA_PLATFORM", "offscreen");
        environment.insert("XDG_CONFIG_HOME", dir.filePath("config"));
        tool.setProcessEnvironment(environment);
        tool.setWorkingDirectory(dir.path());
        tool.start(QStringLiteral(TQL400_PATH), {"--simulator"});
        QVERIFY(tool.waitForStarted());
        // The simulator is the tool's child: "pid (comm) state ppid ...".
        const auto simulator = [&tool]() -> QString {
            for (const QString& entry : QDir("/proc").entryList(QDir::Dirs)) {
                QFile stat("/proc/" + entry + "/stat");
                if (stat.open(QIODevice::ReadOnly)) {
                    const QByteArray line = stat.readAll();
                    const QList<QByteArray> after = line.mid(line.lastIndexOf(')') + 2).split(' ');
                    if (line.contains("(tql400-sim)") &&
                        after.value(1).toLongLong() == tool.processId()) {
                        return entry;
                    }
                }
            }
            return {};
        };
        QTRY_VERIFY_WITH_TIMEOUT(!simulator().isEmpty(), 5000);
        const QString pid = simulator();
        QTest::qWait(1000);  // the window up, on the simulator's port
        tool.terminate();
        QVERIFY(tool.waitForFinished(5000));
        QTRY_VERIFY_WITH_TIMEOUT(!QFile::exists("/proc/" + pid + "/stat"), 5000);
        QVERIFY(settings.open(QIODevice::ReadOnly));
        QCOMPARE(settings.readAll(), QByteArray("3\r\n"));
    }

    void oneProgramFileAtMost() {
        const Run two = run(QStringLiteral(TQL400_PATH), {"a.tq4", "b.tq4"});
        QCOMPARE(two.status, 2);
        QVERIFY(two.err.startsWith("tql400: "));
    }
};

QTEST_APPLESS_MAIN(TestCommandLine)
#include "tst_commandline.moc"
