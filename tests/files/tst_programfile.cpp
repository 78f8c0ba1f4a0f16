#include "files/big5.h"
#include "files/programfile.h"
#include "files/settingsfile.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

#ifdef Q_OS_UNIX
#include <sys/resource.h>
#include <sys/stat.h>

#include <csignal>
#endif

using namespace tql;

namespace {

QByteArray big5(const QString& text) {
    return encodeBig5(text).value();
}

LoadedProgram programOf(const std::vector<Row>& rows) {
    LoadedProgram p;
    p.table[0] = headerRow();
    for (const Row& row : rows) {
        p.table[++p.RowCounter] = row;
    }
    return p;
}

void compareRows(const LoadedProgram& got, const LoadedProgram& expected) {
    QCOMPARE(got.RowCounter, expected.RowCounter);
    for (int i = 0; i <= expected.RowCounter; ++i) {
        QCOMPARE(got.table[i], expected.table[i]);
    }
}

// Texts an operator can type: Big5 characters, blanks, quotes, empty, up to 15 long.
QString randomText(QRandomGenerator& random) {
    static const QString pool =
        QStringLiteral("ABCxyz019.-,;:$#\" 速度延遲迴圈標籤座標歸零絕對移動警牶—═€");
    const int length = random.bounded(16);
    QString text;
    for (int i = 0; i < length; ++i) {
        text += pool[random.bounded(pool.size())];
    }
    return text;
}

}  // namespace

class TestProgramFile : public QObject {
    Q_OBJECT

private slots:
    void linesAsTheControllerToolsWriteThem() {
        const LoadedProgram p = programOf({{"VM", "150", "速度", "-", "-"}});
        const Encoded encoded = encodeProgram(p.table, p.RowCounter);
        QVERIFY(encoded.error.isEmpty());
        const QByteArray header = "FUNCTINO    DATA        XPOINT      PS          PS\r\n";
        const QByteArray speed =
            "VM          150         " + big5("速度") + "          -           -\r\n";
        QCOMPARE(encoded.bytes, header + speed);
        QCOMPARE(big5("速度").size(), 4);  // padding counts characters, not bytes
    }

    void threeRowsAreFourLines() {
        const LoadedProgram p = programOf({{"WT", "5", "延遲", "-", "-"},
                                           {"HOME", "回原點", "-", "-", "-"},
                                           {"CS", " 0,0", "座標歸零", "-", "-"}});
        const QByteArray bytes = encodeProgram(p.table, p.RowCounter).bytes;
        QCOMPARE(bytes.count("\r\n"), 4);
        QVERIFY(!bytes.contains("\n\n") && !bytes.contains('"'));
        compareRows(decodeProgram(bytes).program.value(), p);
    }

    // Rows the old format damages come back unchanged.
    void awkwardRowsRoundTrip_data() {
        QTest::addColumn<QStringList>("row");
        QTest::newRow("custom step with a blank") << QStringList{"STEP", "MA 50", "x", "自設", "-"};
        QTest::newRow("empty label") << QStringList{"IN-J", "5", "", "IN-JP", "-"};
        QTest::newRow("leading blank") << QStringList{"PULSE", "2", " 100", "ON-P", "-"};
        QTest::newRow("12-character label")
            << QStringList{"LABLE", "ABCDEFGHIJKL", "標籤", "-", "-"};
        QTest::newRow("quote") << QStringList{"STEP", "PRINT \"A\"", "say \"\"", "自設", "-"};
        QTest::newRow("trailing blank") << QStringList{"WT", "5 ", "延遲", "-", "-"};
        QTest::newRow("column 4 with blanks") << QStringList{"WT", "5", "延遲", "-", " a b "};
        QTest::newRow("all empty") << QStringList{"", "", "", "", ""};
        QTest::newRow("long Chinese comment")
            << QStringList{"STEP", "OUTP 3", "絕對移動絕對移動絕對移動絕對", "自設", "-"};
    }

    void awkwardRowsRoundTrip() {
        QFETCH(QStringList, row);
        const LoadedProgram p = programOf({{row[0], row[1], row[2], row[3], row[4]}});
        const Encoded encoded = encodeProgram(p.table, p.RowCounter);
        QVERIFY(encoded.error.isEmpty());
        const LoadResult loaded = decodeProgram(encoded.bytes);
        QVERIFY2(loaded.program, qPrintable(loaded.error));
        compareRows(*loaded.program, p);
    }

    void everyTableRoundTrips() {
        QRandomGenerator random(400);
        for (int round = 0; round < 300; ++round) {
            LoadedProgram p;
            p.RowCounter = 1 + random.bounded(round % 10 == 0 ? 500 : 12);
            for (int i = 0; i <= p.RowCounter; ++i) {
                for (QString& cell : p.table[i]) {
                    cell = randomText(random);
                }
            }
            const Encoded encoded = encodeProgram(p.table, p.RowCounter);
            QVERIFY(encoded.error.isEmpty());
            const LoadResult loaded = decodeProgram(encoded.bytes);
            QVERIFY(loaded.notice.isEmpty());
            QVERIFY2(loaded.program, qPrintable(loaded.error));
            compareRows(*loaded.program, p);
        }
    }

    // Files whose columns do not line up are split at blanks, as they always were.
    void olderLines_data() {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QStringList>("fields");
        QTest::newRow("12 characters run into the next column")
            << "LABLE       ABCDEFGHIJKL標籤          -           -"
            << QStringList{"LABLE", "ABCDEFGHIJKL標籤", "-", "-"};
        QTest::newRow("short columns")
            << "WT 500 延遲 - -" << QStringList{"WT", "500", "延遲", "-", "-"};
        QTest::newRow("leading blank gives an empty first field")
            << " 0,0 座標歸零 - -" << QStringList{"", "0,0", "座標歸零", "-", "-"};
        QTest::newRow("runs of blanks are one separator")
            << "A    B   C" << QStringList{"A", "B", "C"};
        QTest::newRow("quoted field") << "STEP \"MA 50\" \"a \"\"q\"\"\" 自設 -"
                                      << QStringList{"STEP", "MA 50", "a \"q\"", "自設", "-"};
        QTest::newRow("lined-up columns keep their blanks")
            << "STEP        MA 50       note        自設          -"
            << QStringList{"STEP", "MA 50", "note", "自設", "-"};
    }

    void olderLines() {
        QFETCH(QString, line);
        QFETCH(QStringList, fields);
        QCOMPARE(parseLine(line), fields);
    }

    // Reading stops at the first line shorter than 13 characters (12 stop, 13 are read);
    // the program read so far is kept, and non-blank lines after it are reported.
    void readingStopsAtTheFirstShortLine_data() {
        QTest::addColumn<QString>("third");
        QTest::addColumn<int>("rows");
        QTest::addColumn<QString>("notice");
        QTest::newRow("blank") << "" << 1 << "第 3 行過短, 讀取到此為止; 之後還有 1 行未讀入.";
        QTest::newRow("12 characters") << "HOME 回原點 - -" << 1 << "第 3 行過短";
        QTest::newRow("13 characters") << "HOME 回原點 - - " << 3 << "";
    }

    void readingStopsAtTheFirstShortLine() {
        QFETCH(QString, third);
        QFETCH(int, rows);
        QFETCH(QString, notice);
        const LoadResult loaded =
            decodeProgram(big5("FUNCTINO    DATA        XPOINT      PS          PS\r\n"
                               "WT          500         延遲          -           -\r\n" +
                               third +
                               "\r\n"
                               "HOME        回原點         -           -           -\r\n\r\n"));
        QVERIFY(loaded.program);
        QCOMPARE(loaded.program->RowCounter, rows);
        QCOMPARE(loaded.program->table[1], (Row{"WT", "500", "延遲", "-", "-"}));
        QCOMPARE(loaded.program->table[rows + 1], Row{});
        QVERIFY2(notice.isEmpty() ? loaded.notice.isEmpty() : loaded.notice.startsWith(notice),
                 qPrintable(loaded.notice));
    }

    // Damaged files as they reach operators. rows -1: refused, the message naming what.
    void damagedFiles_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<int>("rows");
        QTest::addColumn<QString>("naming");
        QTest::addColumn<QString>("label");  // column 1 of row 1
        QTest::newRow("Big5 bytes that are UTF-8 too")
            << "big5_label_also_valid_utf8.tq4" << 3 << ""
            << "警";
        QTest::newRow("UTF-8 label") << "utf8_label.tq4" << 2 << ""
                                     << "牶";
        QTest::newRow("CR CR LF") << "crcrlf_line_ends.tq4" << 5 << ""
                                  << "1";
        QTest::newRow("LF CR") << "lfcr_line_ends.tq4" << 5 << ""
                               << "1";
        QTest::newRow("blank line") << "blank_line_after_row_2.tq4" << 2
                                    << "第 4 行過短, 讀取到此為止; 之後還有 4 行未讀入."
                                    << "1";
        QTest::newRow("lone lead byte at the end")
            << "trailing_big5_lead_byte.tq4" << -1 << "第 2 行"
            << "";
        QTest::newRow("header Big5 cannot hold") << "header_not_big5.tq4" << 1 << "標題列"
                                                 << "100";
    }

    void damagedFiles() {
        QFETCH(QString, file);
        QFETCH(int, rows);
        QFETCH(QString, naming);
        QFETCH(QString, label);
        const QString path = QFINDTESTDATA("damaged/" + file);
        const LoadResult loaded = loadProgramFile(path);
        if (rows < 0) {
            QVERIFY(!loaded.program);
            QVERIFY2(loaded.error.contains(naming) && loaded.error.contains(file),
                     qPrintable(loaded.error));
            return;
        }
        QVERIFY2(loaded.program, qPrintable(loaded.error));
        QCOMPARE(loaded.program->RowCounter, rows);
        QCOMPARE(loaded.program->table[1][1], label);
        QCOMPARE(loaded.program->table[0], headerRow());
        QVERIFY2(naming.isEmpty() ? loaded.notice.isEmpty() : loaded.notice.contains(naming),
                 qPrintable(loaded.notice));
        // What was read saves, and reloads the same.
        const Encoded encoded = encodeProgram(loaded.program->table, rows);
        QVERIFY2(encoded.error.isEmpty(), qPrintable(encoded.error));
        compareRows(decodeProgram(encoded.bytes).program.value(), *loaded.program);
    }

    void binaryFilesAreRefused_data() {
        QTest::addColumn<QByteArray>("bytes");
        const QByteArray header = "FUNCTINO    DATA        XPOINT      PS          PS\r\n";
        QTest::newRow("NUL") << header + "HOME        x" + QByteArray(1, '\0') +
                                    "           -           -           -\r\n";
        QTest::newRow("neither Big5 nor UTF-8")
            << header + "HOME        \xff\xfe\x80\x81 -           -           -\r\n";
    }

    void binaryFilesAreRefused() {
        QFETCH(QByteArray, bytes);
        const LoadResult loaded = decodeProgram(bytes);
        QVERIFY(!loaded.program);
        QVERIFY2(loaded.error.contains("不是程式檔"), qPrintable(loaded.error));
    }

    // Every port setting the tool writes, it reads back the same: Big5 first, so a name whose
    // Big5 bytes are valid UTF-8 too (警 is C4 B5) comes back unchanged.
    void settingsTextsReloadIdentical() {
        QTemporaryDir dir;
        QRandomGenerator random(52);
        QStringList texts = {"1", "", "警", "/dev/ttyUSB0", "COM 3", "牶—═€"};
        for (int i = 0; i < 200; ++i) {
            texts << randomText(random);
        }
        for (const QString& text : texts) {
            QCOMPARE(writePortNumber(QDir(dir.path()), text), std::nullopt);
            QCOMPARE(readPortNumber(QDir(dir.path())).portNumber, text);
        }
        QFile file(dir.filePath("DATA.TXT"));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("\xEF\xBB\xBF/dev/ttyS1\n");  // an editor's UTF-8 with its mark
        file.close();
        QCOMPARE(readPortNumber(QDir(dir.path())).portNumber, QString("/dev/ttyS1"));
    }

#ifdef Q_OS_UNIX
    // DATA.TXT is read only from a regular file, and only as far as a setting reaches: a
    // FIFO would hold the start for ever, /dev/zero never end. The default port is taken,
    // and why is said.
    void settingsFileThatIsNoSetting_data() {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("refusal");
        QTest::newRow("FIFO") << "fifo"
                              << "不是一般檔案";
        QTest::newRow("link to /dev/zero") << "zero"
                                           << "不是一般檔案";
        QTest::newRow("folder") << "folder"
                                << "不是一般檔案";
        QTest::newRow("a megabyte") << "large"
                                    << "超過 4096 位元組";
    }

    void settingsFileThatIsNoSetting() {
        QFETCH(QString, kind);
        QFETCH(QString, refusal);
        QTemporaryDir dir;
        const QString path = dir.filePath("DATA.TXT");
        if (kind == "fifo") {
            QCOMPARE(mkfifo(QFile::encodeName(path).constData(), 0600), 0);
        } else if (kind == "zero") {
            QVERIFY(QFile::link("/dev/zero", path));
        } else if (kind == "folder") {
            QVERIFY(QDir().mkpath(path));
        } else {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write("2\r\n" + QByteArray(1 << 20, 'x'));
        }
        const PortSetting setting = readPortNumber(QDir(dir.path()));
        QCOMPARE(setting.portNumber, QString("1"));
        QVERIFY2(setting.refusal.contains(refusal), qPrintable(setting.refusal));
    }
#endif

    // Bytes of the Windows code page 950 table: IBM's table (ICU's "CP950") differs here.
    void big5IsCodePage950() {
        const QByteArray bytes("\xa1\x58\xf9\xf9\xa3\xe1", 6);
        QCOMPARE(encodeBig5(QString::fromUtf8("—═€")).value(), bytes);
        QCOMPARE(decodeBig5(bytes), QString::fromUtf8("—═€"));
        // No byte of the line vanishes: a lead byte still waiting shows as a replacement.
        QCOMPARE(decodeBig5("12.5\r\xa4"), QString("12.5\r") + QChar::ReplacementCharacter);
        QVERIFY(!encodeBig5(QString(QChar(0xFEFF))));  // would vanish without a word
    }

    void missingFieldsAreEmpty() {
        const LoadedProgram p =
            decodeProgram("FUNCTINO DATA XPOINT\r\nLOOPEND xxxxxx\r\n").program.value();
        QCOMPARE(p.table[0], (Row{"FUNCTINO", "DATA", "XPOINT", "", ""}));
        QCOMPARE(p.table[1], (Row{"LOOPEND", "xxxxxx", "", "", ""}));
    }

    void refusals_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("naming");
        const QByteArray header = "FUNCTINO    DATA        XPOINT      PS          PS\r\n";
        QTest::newRow("empty file") << QByteArray() << "";
        QTest::newRow("short first line") << QByteArray("HOME\r\n") << "";
        QTest::newRow("six fields on line 3")
            << header + "HOME aa bb cc dd\r\nHOME aa bb cc dd ee\r\n"
            << "3";
        QByteArray tooLong = header;
        for (int i = 0; i < 501; ++i) {
            tooLong += "HOME        x           -           -           -\r\n";
        }
        QTest::newRow("502 lines") << tooLong << "502";
    }

    void refusals() {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, naming);
        const LoadResult loaded = decodeProgram(bytes);
        QVERIFY(!loaded.program);
        QVERIFY(!loaded.error.isEmpty());
        QVERIFY2(loaded.error.contains(naming), qPrintable(loaded.error));
    }

    // A file is read only as far as a program reaches: 502 lines by its own line ends, and
    // no line longer than a row can be.
    void readingIsBounded_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("lines");  // read; -1 for a refusal
        QTest::addColumn<bool>("cut");
        const QByteArray row = "HOME        x           -           -           -";
        QTest::newRow("LF lines beyond a program") << (row + "\n").repeated(10000) << 502 << true;
        QTest::newRow("CR lines beyond a program") << (row + "\r").repeated(10000) << 502 << true;
        QTest::newRow("502 lines and no more") << (row + "\r\n").repeated(502) << 502 << false;
        QTest::newRow("longest line") << QByteArray(kMaxFileLineBytes, 'x') + "\r\n" << 1 << false;
        QTest::newRow("one byte longer") << QByteArray(kMaxFileLineBytes + 1, 'x') << -1 << false;
        QTest::newRow("CRs inside an LF file do not end lines")
            << row + "\n" + QByteArray(kMaxFileLineBytes, '\r') + "x\n"
            << -1 << false;
    }

    void readingIsBounded() {
        QFETCH(QByteArray, bytes);
        QFETCH(int, lines);
        QFETCH(bool, cut);
        QBuffer device(&bytes);
        device.open(QIODevice::ReadOnly);
        const FileBytes read = readProgramBytes(device);
        if (lines < 0) {
            QVERIFY2(read.error.contains(QString::number(kMaxFileLineBytes)),
                     qPrintable(read.error));
            return;
        }
        QVERIFY(read.error.isEmpty());
        QCOMPARE(splitLines(read.bytes).size(), lines);
        QCOMPARE(read.cut, cut);
    }

    // A 50 MB file with no line end is refused after its first 64 KiB, not read whole, and
    // what was cut off is told as a least count.
    void bigFilesAreReadOnlyAsFarAsAProgramReaches() {
        QByteArray huge(50 << 20, 'x');
        QBuffer device(&huge);
        device.open(QIODevice::ReadOnly);
        QVERIFY(readProgramBytes(device).error.contains("第 1 行"));
        QVERIFY(device.pos() < 2 * kMaxFileLineBytes);

        QTemporaryDir dir;
        QFile file(dir.filePath("long.tq4"));
        QVERIFY(file.open(QIODevice::WriteOnly));
        const QByteArray row = "HOME        x           -           -           -\r\n";
        file.write(row + row + "\r\n" + row.repeated(1000));
        file.close();
        const LoadResult loaded = loadProgramFile(file.fileName());
        QCOMPARE(loaded.program->RowCounter, 1);
        QCOMPARE(loaded.notice, QString("第 3 行過短, 讀取到此為止; 之後還有 499 行以上未讀入."));
    }

#ifdef Q_OS_UNIX
    // Opening a FIFO would hang, and saving over one, or over a device, would replace it with
    // a plain file: both are refused.
    void onlyRegularFiles() {
        QTemporaryDir dir;
        const QString fifo = dir.filePath("p.tq4");
        QCOMPARE(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
        QVERIFY(loadProgramFile(fifo).error.contains("不是一般檔案"));
        QVERIFY(loadProgramFile("/dev/zero").error.contains("不是一般檔案"));
        QVERIFY(loadProgramFile("").error.contains("沒有檔名"));  // no word of Qt's own
        const LoadedProgram p = programOf({{"HOME", "回原點", "-", "-", "-"}});
        const SaveResult saved = saveProgramFile(fifo, p.table, p.RowCounter);
        QCOMPARE(saved.status, SaveStatus::Failed);
        QVERIFY(saved.error.contains("不是一般檔案"));
        QVERIFY(QFileInfo(fifo).exists() && !QFileInfo(fifo).isFile());
    }
#endif

    void fullTableLoads() {
        QByteArray bytes = "FUNCTINO    DATA        XPOINT      PS          PS\r\n";
        for (int i = 0; i < 500; ++i) {
            bytes += "HOME        x           -           -           -\r\n";
        }
        QCOMPARE(decodeProgram(bytes).program.value().RowCounter, 500);
    }

    void utf8FilesAreReadAsUtf8() {
        const QString text = "FUNCTINO DATA XPOINT PS PS\nVM 150 速度 - -\n";
        const LoadedProgram fromUtf8 = decodeProgram(text.toUtf8()).program.value();
        const LoadedProgram fromBig5 = decodeProgram(big5(text)).program.value();
        QCOMPARE(fromUtf8.table[1], (Row{"VM", "150", "速度", "-", "-"}));
        compareRows(fromUtf8, fromBig5);
    }

    void textBig5CannotHoldIsRefusedNamingTheRow() {
        const LoadedProgram p =
            programOf({{"WT", "1", "-", "-", "-"}, {"STEP", "MA 1", "ñ 😀", "自設", "-"}});
        const Encoded encoded = encodeProgram(p.table, p.RowCounter);
        QVERIFY(encoded.bytes.isEmpty());
        QVERIFY2(encoded.error.contains("2"), qPrintable(encoded.error));

        // A line break inside a text would split its row when read back.
        const LoadedProgram broken = programOf({{"STEP", "MA 1\nG", "", "自設", "-"}});
        QVERIFY(encodeProgram(broken.table, 1).error.contains("第 1 列"));
        // Nor may a row be saved that its file could not open again.
        const LoadedProgram huge =
            programOf({{"STEP", QString(kMaxFileLineBytes, 'x'), "", "", ""}});
        QVERIFY(encodeProgram(huge.table, 1).error.contains("第 1 列"));

        QTemporaryDir dir;
        const SaveResult saved = saveProgramFile(dir.filePath("a.tq4"), p.table, p.RowCounter);
        QCOMPARE(saved.status, SaveStatus::Failed);
        QVERIFY(!QFile::exists(dir.filePath("a.tq4")));
    }

    void saving() {
        QTemporaryDir dir;
        const QString path = dir.filePath("p.tq4");
        LoadedProgram p = programOf({});
        QCOMPARE(saveProgramFile(path, p.table, 0).status, SaveStatus::NothingToWrite);
        QVERIFY(!QFile::exists(path));

        p = programOf({{"HOME", "回原點", "-", "-", "-"}});
        QCOMPARE(saveProgramFile(path, p.table, p.RowCounter).status, SaveStatus::Written);
        compareRows(loadProgramFile(path).program.value(), p);
        QVERIFY(!loadProgramFile(dir.filePath("missing.tq4")).error.isEmpty());
    }

#ifdef Q_OS_UNIX
    // A disk that fills up mid-save (here: a file-size limit) must not cost the old file.
    void failedSaveKeepsTheOldFile() {
        QTemporaryDir dir;
        const QString path = dir.filePath("p.tq4");
        const LoadedProgram old = programOf({{"HOME", "回原點", "-", "-", "-"}});
        QCOMPARE(saveProgramFile(path, old.table, old.RowCounter).status, SaveStatus::Written);

        std::vector<Row> rows(50, Row{"WT", "1", "延遲", "-", "-"});
        const LoadedProgram next = programOf(rows);
        rlimit saved{};
        getrlimit(RLIMIT_FSIZE, &saved);
        rlimit small = saved;
        small.rlim_cur = 200;
        const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
        setrlimit(RLIMIT_FSIZE, &small);
        const SaveResult result = saveProgramFile(path, next.table, next.RowCounter);
        setrlimit(RLIMIT_FSIZE, &saved);
        std::signal(SIGXFSZ, previousHandler);

        QCOMPARE(result.status, SaveStatus::Failed);
        QVERIFY(result.error.contains(QDir::toNativeSeparators(path)));
        compareRows(loadProgramFile(path).program.value(), old);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"p.tq4"});
    }
#endif
};

QTEST_APPLESS_MAIN(TestProgramFile)
#include "tst_programfile.moc"
