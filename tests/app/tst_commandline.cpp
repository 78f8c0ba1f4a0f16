// The three programs' command lines answer before any window or display: help starting
// with "Usage:" (a manual page's synopsis), the version, and a wrong option on standard
// error with status 2.
#include <QProcess>
#include <QTest>

namespace {

struct Run {
    int status;
    QByteArray out;
    QByteArray err;
};

// Without any display: no X, no Wayland, no platform chosen.
Run run(const QString& program, const QStringList& arguments) {
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
        environment.remove(QString::fromLatin1(name));
    }
    process.setProcessEnvironment(environment);
    process.start(program, arguments);
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
        for (const char* option : {"--help", "-h"}) {
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
        const Run wrong = run(program, {"--no-such-option"});
        QCOMPARE(wrong.status, 2);
        QVERIFY(wrong.out.isEmpty());
        QVERIFY2(wrong.err.contains("no-such-option"), wrong.err.constData());
    }

    void oneProgramFileAtMost() {
        const Run two = run(QStringLiteral(TQL400_PATH), {"a.tq4", "b.tq4"});
        QCOMPARE(two.status, 2);
        QVERIFY(two.err.startsWith("tql400: "));
    }
};

QTEST_APPLESS_MAIN(TestCommandLine)
#include "tst_commandline.moc"
