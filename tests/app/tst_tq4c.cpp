#include "files/big5.h"

#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

namespace {

struct Run {
    int status;
    QByteArray out;
    QByteArray err;
};

// In the language of a system that names none (Chinese), or of `language` (LANG), with
// settings of its own (no language chosen).
Run tq4c(const QStringList& arguments, const QString& standardOutput = {},
         const QString& language = QStringLiteral("C.UTF-8")) {
    static const QTemporaryDir config;
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("XDG_CONFIG_HOME", config.path());
    for (const char* name : {"LANGUAGE", "LC_ALL", "LC_MESSAGES"}) {
        environment.remove(name);
    }
    environment.insert("LANG", language);
    process.setProcessEnvironment(environment);
    if (!standardOutput.isEmpty()) {
        process.setStandardOutputFile(standardOutput);
    }
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
        // LF line ends: the CRs stay inside the free step's text.
        QTest::newRow("CR inside a free step")
            << "FUNCTINO DATA XPOINT PS PS\nVM 100 速度 - -\nSTEP \"X\r\rMA 50\r\" - - -\n"
            << "第 2 列: 含有控制字元";
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

    // --check prints the findings; errors fail, warnings alone do not.
    void check() {
        QTemporaryDir dir;
        const Run clean = tq4c({"--check", writeFile(dir, "a.tq4", kProgram)});
        // The messages follow the system's language, as the window's do.
        QCOMPARE(tq4c({"--dry-run", dir.filePath("a.tq4")}, {}, "en_US.UTF-8").out.split('\n')[0],
                 QByteArray("The program ran to its end"));
        QCOMPARE(clean.status, 0);
        QCOMPARE(clean.out, QByteArray());
        const Run warned =
            tq4c({"--check",
                  writeFile(dir, "w.tq4",
                            kProgram + "VM          0           速度          -           -\r\n")});
        QCOMPARE(warned.status, 0);
        QCOMPARE(QString::fromUtf8(warned.out),
                 QString("第 5 列: 警告: 速度為 0, 之後的移動不會動\n"));
        const Run failed = tq4c(
            {"--check",
             writeFile(dir, "e.tq4",
                       kProgram + "GLABLE      B           跳至標籤        -           -\r\n")});
        QCOMPARE(failed.status, 1);
        QVERIFY(QString::fromUtf8(failed.out).startsWith("第 5 列: 錯誤: 標籤 \"B\" 不存在"));
        QCOMPARE(tq4c({"--check", "-o", dir.filePath("x"), dir.filePath("a.tq4")}).status, 2);
    }

    // The dry run's summary, and its samples every 10 ms with one header line.
    void dryRun() {
        QTemporaryDir dir;
        const QString program = writeFile(dir, "a.tq4", kProgram);
        const QString csv = dir.filePath("run.csv");
        const Run run = tq4c({"--dry-run", "--csv", csv, program});
        QCOMPARE(run.status, 0);
        const QStringList summary = QString::fromUtf8(run.out).split('\n');
        QCOMPARE(summary[0], QString("程式執行完畢"));
        QVERIFY(summary[2] == "移動距離: 100.000");
        QFile file(csv);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QList<QByteArray> lines = file.readAll().split('\n');
        QCOMPARE(lines[0], QByteArray("time,position"));
        QCOMPARE(lines[1], QByteArray("0.000,0.0000"));
        // VA 2000: 0.5 a t^2, the move begun after the five lines before it, 1 ms each.
        QCOMPARE(lines[2], QByteArray("0.010,0.0250"));
        QCOMPARE(tq4c({"--csv", csv, program}).status, 2);
        QCOMPARE(tq4c({"--dry-run", "--check", program}).status, 2);
    }

    // Every executed row as it is done, and the machine each time a breakpoint's row is
    // about to run; the summary and the status as without them.
    void traceAndBreakpoints() {
        QTemporaryDir dir;
        const QString program = writeFile(dir, "a.tq4", kProgram);
        const Run run = tq4c({"--dry-run", "--trace", "--break", "3", program});
        QCOMPARE(run.status, 0);
        const QStringList lines = QString::fromUtf8(run.out).split('\n');
        // Every line takes its time: the three before row 2, the two of the LOOP.
        QCOMPARE(lines[0], QString("0.003 第 1 列 VM 0.000"));
        QCOMPARE(lines[1], QString("0.005 第 2 列 LOOP 0.000"));
        QCOMPARE(lines[2], QString("--- 中斷點: 第 3 列"));
        QCOMPARE(lines[3], QString("時間: 0.005 秒"));
        QCOMPARE(lines.filter("第 3 列 POINT 100.000").size(), 3);
        QCOMPARE(lines.filter("--- 中斷點: 第 3 列").size(), 3);
        QVERIFY(lines.contains("迴圈 (第 2 列): 第 2 次, 共 3 次"));
        QVERIFY(lines.indexOf("程式執行完畢") >
                lines.lastIndexOf(QRegularExpression("^[0-9.]+ 第 4 列")));
        for (const QStringList& wrong : {QStringList{"--trace", program},
                                         {"--dry-run", "--break", "0", program},
                                         {"--dry-run", "--break", "x", program},
                                         {"--dry-run", "--input", "3 later", program},
                                         {"--watch", "COM1", "--run", "COM1", program},
                                         {"--watch", "", program},
                                         {"--csv", "out.csv", "--watch", "COM1", program}}) {
            QCOMPARE(tq4c(wrong).status, 2);
        }
    }

#ifdef Q_OS_UNIX
    // A file named in Big5 (測試.tq4, copied from an old PC) on a UTF-8 system is opened by
    // the bytes of its name, and a refusal names it readably.
    void fileNamedInBig5() {
        QTemporaryDir dir;
        const QByteArray name = QFile::encodeName(dir.path()) + "/\xb4\xfa\xb8\xd5.tq4";
        FILE* out = std::fopen(name.constData(), "wb");
        QVERIFY(out != nullptr);
        const QByteArray bytes = tql::encodeBig5(kProgram).value();
        std::fwrite(bytes.constData(), 1, size_t(bytes.size()), out);
        std::fclose(out);
        // Qt hands a program its arguments as text: the shell passes the bytes themselves.
        QString octal;
        for (const char c : name) {
            octal += QString("\\%1").arg(uint(uchar(c)), 3, 8, QChar('0'));
        }
        QProcess shell;
        shell.start("/bin/sh", {"-c", "exec \"$0\" \"$(printf \"$1\")\"", TQ4C_PATH, octal});
        QVERIFY(shell.waitForFinished(10000));
        const QByteArray output = shell.readAllStandardOutput();
        QCOMPARE(shell.exitCode(), 0);
        QVERIFY2(output.startsWith("{\n"), output.constData());
    }
#endif

    // A breakpoint in a loop of nothing but jumps comes round for ten simulated minutes:
    // the first thousand blocks are printed, the rest counted; the status is the run's.
    void breakpointsInAnEndlessLoop() {
        QTemporaryDir dir;
        const QString program = writeFile(dir, "loop.tq4",
                                          kProgram.section("\r\n", 0, 0) +
                                              "\r\n"
                                              "LABLE A 標籤 - -\nGLABLE A 跳至標籤 - -\n");
        const Run run = tq4c({"--dry-run", "--break", "2", program});
        QCOMPARE(run.status, 3);
        const QStringList lines = QString::fromUtf8(run.out).split('\n');
        QCOMPARE(lines.filter("--- 中斷點: 第 2 列").size(), 1000);
        QVERIFY(lines.contains("--- 另有 299000 次中斷點未印出"));
        QVERIFY(lines.contains("第 2 列: 模擬 600 秒後停止: 程式仍在執行") ||
                lines.contains("第 1 列: 模擬 600 秒後停止: 程式仍在執行"));
    }

    // A program waiting on a sensor is timed with an assumed wait.
    void assumedWait() {
        QTemporaryDir dir;
        const QString program = writeFile(dir, "a.tq4", kProgram + "IN+ 8 IN+ - -\n");
        const Run run = tq4c({"--dry-run", "--input", "輸入 8 在等待 0.5 秒後變 1", program});
        QCOMPARE(run.status, 0);
        QVERIFY2(run.out.contains("假設: 第 5 列等待輸入 8 變 1 0.500 秒, 1 次"),
                 run.out.constData());
    }

    // The exit status tells whether the program ran to its end (0), stopped with an error
    // at a row (1) or did not finish (3).
    void dryRunStatus_data() {
        QTest::addColumn<QString>("rows");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("says");
        QTest::newRow("finished") << "" << 0 << "程式執行完畢";
        QTest::newRow("missing label") << "GLABLE B 跳至標籤 - -\n" << 1 << "第 5 列: 錯誤, 停止";
        QTest::newRow("endless loop") << "LABLE A 標籤 - -\nGLABLE A 跳至標籤 - -\n"
                                      << 3 << "第 6 列: 模擬 600 秒後停止: 程式仍在執行";
        QTest::newRow("waits forever") << "IN+ 8 IN+ - -\n" << 3 << "第 5 列: 等待輸入 8";
    }

    void dryRunStatus() {
        QFETCH(QString, rows);
        QFETCH(int, status);
        QFETCH(QString, says);
        QTemporaryDir dir;
        const Run run = tq4c({"--dry-run", writeFile(dir, "p.tq4", kProgram + rows)});
        QCOMPARE(run.status, status);
        QVERIFY2(QString::fromUtf8(run.out).startsWith(says), run.out.constData());
    }

    // Nothing overwrites the program it reads, by its name or another; output that cannot
    // be written is an error.
    void outputsAreSafe() {
        QTemporaryDir dir;
        const QString program = writeFile(dir, "p.tq4", kProgram);
        const QString link = dir.filePath("link.tq4");
        QVERIFY(QFile::link(program, link));
        for (const QStringList& arguments :
             {QStringList{"-o", program, program}, QStringList{"-o", link, program},
              QStringList{"--dry-run", "--csv", program, link}}) {
            const Run run = tq4c(arguments);
            QCOMPARE(run.status, 1);
            QVERIFY(run.err.contains("input file"));
        }
        QFile file(program);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), tql::encodeBig5(kProgram).value());
#ifdef Q_OS_LINUX
        const QString warned = writeFile(dir, "w.tq4", kProgram + "VM 0 速度 -- --\n");
        for (const QStringList& arguments : {QStringList{program}, QStringList{"--check", warned},
                                             QStringList{"--dry-run", program}}) {
            const Run run = tq4c(arguments, "/dev/full");
            QCOMPARE(run.status, 1);
            QVERIFY(run.err.contains("write error"));
        }
#endif
    }

    void usage() {
        QVERIFY(tq4c({"--help"}).out.contains("--dry-run"));
        QCOMPARE(tq4c({}).status, 2);
        QCOMPARE(tq4c({"a.tq4", "b.tq4"}).status, 2);
        QCOMPARE(tq4c({"a.tq4", "-o"}).status, 2);
    }
};

QTEST_APPLESS_MAIN(TestTq4c)
#include "tst_tq4c.moc"
