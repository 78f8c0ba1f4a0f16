#include "files/big5.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

namespace {

struct Run {
    int status;
    QByteArray out;
    QByteArray err;
};

Run tq4c(const QStringList& arguments) {
    QProcess process;
    process.start(QStringLiteral(TQ4C_PATH), arguments);
    process.waitForFinished(30000);
    return {process.exitCode(), process.readAllStandardOutput(), process.readAllStandardError()};
}

QString writeFile(const QTemporaryDir& dir, const QString& name, const QString& text) {
    const QString path = dir.filePath(name);
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write(tql::encodeBig5(text).value());
    return path;
}

const QString kProgram =
    "FUNCTINO    DATA        XPOINT      PS          PS\r\n"
    "VM          100         速度          -           -\r\n"
    "LOOP        3           迴圈          -           -\r\n"
    "POINT       絕對移動        100         -           -\r\n"
    "LOOPEND     迴圈結束        -           -           -\r\n";

}  // namespace

class TestTq4c : public QObject {
    Q_OBJECT

private slots:
    void printsTheControllerText() {
        QTemporaryDir dir;
        const Run run = tq4c({writeFile(dir, "p.tq4", kProgram)});
        QCOMPARE(run.status, 0);
        QCOMPARE(run.out, QByteArray("{\nCLR VAR;\nSI #L1;\nVM=100;\n#L1=3;\n$LOOP1:;\nMA 100;\n"
                                     "DN;\n#L1=#L1-1;\nJNZ #L1,$LOOP1;\n}\n"));
        QVERIFY(run.err.isEmpty());
    }

    void writesBig5WithCrLf() {
        QTemporaryDir dir;
        const QString program =
            writeFile(dir, "p.tq4",
                      "FUNCTINO DATA XPOINT PS PS\r\n"
                      "STEP        PRINT 速度    x           自設          -\r\n");
        const QString out = dir.filePath("out.txt");
        const Run run = tq4c({"-o", out, program});
        QCOMPARE(run.status, 0);
        QVERIFY(run.out.isEmpty());
        QFile file(out);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(),
                 "{\r\nCLR VAR;\r\nPRINT " + tql::encodeBig5("速度").value() + ";\r\n}\r\n");
    }

    void refusalsWriteNothing_data() {
        QTest::addColumn<QString>("program");
        QTest::addColumn<QString>("message");
        QTest::newRow("unpaired loops") << "FUNCTINO DATA XPOINT PS PS\r\nLOOP        3           "
                                           "迴圈          -           -\r\n"
                                        << "迴圈數目未成對!";
        QTest::newRow("no program line") << "short\r\n"
                                         << "";
        QTest::newRow("missing file") << QString() << "";
    }

    void refusalsWriteNothing() {
        QFETCH(QString, program);
        QFETCH(QString, message);
        QTemporaryDir dir;
        const QString path =
            program.isNull() ? dir.filePath("none.tq4") : writeFile(dir, "p.tq4", program);
        const QString out = dir.filePath("out.txt");
        const Run run = tq4c({"-o", out, path});
        QCOMPARE(run.status, 1);
        QVERIFY(!run.err.isEmpty());
        QVERIFY(QString::fromUtf8(run.err).contains(message));
        QVERIFY(!QFile::exists(out));
    }

    void usage() {
        const Run help = tq4c({"--help"});
        QCOMPARE(help.status, 0);
        QVERIFY(help.out.contains("-o OUT"));
        QCOMPARE(tq4c({}).status, 2);
        QCOMPARE(tq4c({"a.tq4", "b.tq4"}).status, 2);
        QCOMPARE(tq4c({"a.tq4", "-o"}).status, 2);
    }
};

QTEST_APPLESS_MAIN(TestTq4c)
#include "tst_tq4c.moc"
