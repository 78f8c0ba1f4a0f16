#include "support/programrows.h"
#include "translator/translator.h"

#include <QTest>

using namespace tql;

Q_DECLARE_METATYPE(tql::Row)

namespace {

// A row whose comment columns hold text the translation must not use.
Row rowOf(const QString& keyword, const QString& f1 = "-", const QString& f2 = "-") {
    return {keyword, f1, f2, "c3", "c4"};
}

QStringList body(const QStringList& lines) {
    return QStringList{"{", "CLR VAR;"} + lines + QStringList{"}"};
}

}  // namespace

class TestTranslator : public QObject {
    Q_OBJECT

private slots:
    void workedExample() {
        test::ProgramRows p;
        p.add(rowOf("VM", "100", "速度"))
            .add(rowOf("LOOP", "3"))
            .add(rowOf("POINT", "絕對移動", "100"));
        p.add(rowOf("WT", "500")).add(rowOf("LOOPEND")).add(rowOf("HOME"));
        const Translation t = TranslateProgram(p.table, p.rows);
        QVERIFY(t.ok());
        QCOMPARE(t.ControllerText,
                 (QStringList{"{", "CLR VAR;", "SI #L1;", "VM=100;", "#L1=3;", "$LOOP1:;",
                              "MA 100;", "DN;", "WT 500;", "DN;", "#L1=#L1-1;", "JNZ #L1,$LOOP1;",
                              "H;", "DN;", "}"}));
    }

    void everyRowKind_data() {
        QTest::addColumn<QStringList>("cells");  // keyword, column 1, column 2
        QTest::addColumn<QStringList>("lines");

        auto add = [](const char* name, QStringList row, QStringList lines) {
            QTest::newRow(name) << row << lines;
        };
        add("absolute move", {"POINT", "絕對移動", "12.5"}, {"MA 12.5;", "DN;"});
        add("relative move", {"MR", "相對移動", "-3"}, {"MR -3;", "DN;"});
        add("speed", {"VM", "150", "速度"}, {"VM=150;"});
        add("delay", {"WT", "500", "延遲"}, {"WT 500;", "DN;"});
        add("home", {"HOME", "回原點", "-"}, {"H;", "DN;"});
        add("coordinate reset ignores its columns", {"CS", "anything", "else"}, {"CS 0 0;"});
        add("custom step", {"STEP", "MA 50", "comment"}, {"MA 50;"});
        add("label", {"LABLE", "A1", "標籤"}, {"$A1:;"});
        add("jump", {"GLABLE", "A1", "跳至標籤"}, {"JP $A1;"});
        add("call", {"CALL", "SUB", "呼叫標籤"}, {"CALL $SUB;"});
        add("return", {"RET", "RETURN", "返回"}, {"RET;"});
        add("wait on", {"IN+", "3", "IN+"}, {"WI 3;"});
        add("wait off", {"IN-", "3", "IN-"}, {"WNI 3;"});
        add("jump on", {"IN+J", "5", "A1"}, {"JI 5,$A1;"});
        add("jump off", {"IN-J", "5", "A1"}, {"JNI 5,$A1;"});
        add("call on", {"IN+C", "5", "S"}, {"CI 5,$S;"});
        add("call off", {"IN-C", "5", ""}, {"CNI 5,$;"});
        add("output pattern", {"OUTP", "10", "ALL-P"}, {"OUTP 10;"});
        add("output on", {"SETP", "3", "ON"}, {"SET P3;"});
        add("output off", {"CLRP", "3", "OFF"}, {"CLR P3;"});
        add("pulse on", {"PULSE", "2", "100"}, {"SET P2;", "WT 100;", "DN;", "CLR P2;"});
        add("pulse off", {"PULSE-", "2", "100"}, {"CLR P2;", "WT 100;", "DN;", "SET P2;"});
        add("pulse time keeps its blank", {"PULSE", "2", " 100"},
            {"SET P2;", "WT  100;", "DN;", "CLR P2;"});
        for (const char* keyword : {"LINE", "ARC", "CIR", "IN", "home", "", "FOO"}) {
            QTest::newRow(qPrintable(QString("no lines for '%1'").arg(keyword)))
                << QStringList{keyword, "1", "2"} << QStringList{};
        }
    }

    void everyRowKind() {
        QFETCH(QStringList, cells);
        QFETCH(QStringList, lines);
        test::ProgramRows p;
        p.add(rowOf(cells[0], cells[1], cells[2]));
        const Translation t = TranslateProgram(p.table, p.rows);
        QVERIFY(t.ok());
        QCOMPARE(t.ControllerText, body(lines));
    }

    void loops_data() {
        QTest::addColumn<QStringList>("keywords");  // "LOOP n", "LOOPEND", "WT n"
        QTest::addColumn<QStringList>("lines");

        QTest::newRow("two in sequence")
            << QStringList{"LOOP 2", "LOOPEND", "LOOP 2", "LOOPEND"}
            << QStringList{"SI #L1;",    "SI #L2;",         "#L1=2;", "$LOOP1:;",
                           "#L1=#L1-1;", "JNZ #L1,$LOOP1;", "#L2=2;", "$LOOP2:;",
                           "#L2=#L2-1;", "JNZ #L2,$LOOP2;"};
        QTest::newRow("nested") << QStringList{"LOOP 5", "LOOP 2", "WT 10", "LOOPEND", "LOOPEND"}
                                << QStringList{"SI #L1;",         "SI #L2;",    "#L1=5;",
                                               "$LOOP1:;",        "#L2=2;",     "$LOOP2:;",
                                               "WT 10;",          "DN;",        "#L2=#L2-1;",
                                               "JNZ #L2,$LOOP2;", "#L1=#L1-1;", "JNZ #L1,$LOOP1;"};
        // The index of a loop is its place among all loops, not its depth.
        QTest::newRow("two inside one")
            << QStringList{"LOOP a", "LOOP b", "LOOPEND", "LOOP c", "LOOPEND", "LOOPEND"}
            << QStringList{"SI #L1;",         "SI #L2;",    "SI #L3;",        "#L1=a;",
                           "$LOOP1:;",        "#L2=b;",     "$LOOP2:;",       "#L2=#L2-1;",
                           "JNZ #L2,$LOOP2;", "#L3=c;",     "$LOOP3:;",       "#L3=#L3-1;",
                           "JNZ #L3,$LOOP3;", "#L1=#L1-1;", "JNZ #L1,$LOOP1;"};
    }

    void loops() {
        QFETCH(QStringList, keywords);
        QFETCH(QStringList, lines);
        test::ProgramRows p;
        for (const QString& k : keywords) {
            const QStringList parts = k.split(' ');
            p.add(rowOf(parts[0], parts.value(1, "-")));
        }
        const Translation t = TranslateProgram(p.table, p.rows);
        QVERIFY(t.ok());
        QCOMPARE(t.ControllerText, body(lines));
    }

    void twelfthLoopIsNamedWithoutBlanks() {
        test::ProgramRows p;
        for (int i = 0; i < 12; ++i) {
            p.add(rowOf("LOOP", "1"));
        }
        for (int i = 0; i < 12; ++i) {
            p.add(rowOf("LOOPEND"));
        }
        const Translation t = TranslateProgram(p.table, p.rows);
        QVERIFY(t.ok());
        QVERIFY(t.ControllerText.contains("SI #L12;"));
        QVERIFY(t.ControllerText.contains("JNZ #L12,$LOOP12;"));
    }

    // Each refusal names the row it arises at: the loop left open, the loop or the line
    // beyond the limit.
    void refusals_data() {
        QTest::addColumn<QStringList>("keywords");
        QTest::addColumn<QString>("error");
        QTest::addColumn<int>("row");
        QTest::newRow("two loops, one end")
            << QStringList{"LOOP", "LOOP", "LOOPEND"} << QString("迴圈數目未成對!") << 1;
        QTest::newRow("lone end") << QStringList{"LOOPEND"} << QString("迴圈數目未成對!") << 1;
        QTest::newRow("end before its loop")
            << QStringList{"LOOPEND", "LOOP"} << QString("迴圈數目未成對!") << 1;
        QStringList loops51;
        for (int i = 0; i < 51; ++i) {
            loops51.prepend("LOOP");
            loops51.append("LOOPEND");
        }
        QTest::newRow("51 loops") << loops51 << QString("迴圈數目超過50個!") << 51;
        // 250 pulses are 1000 lines, with "{", "CLR VAR;" and "}" three too many.
        QTest::newRow("1003 lines")
            << QStringList(250, "PULSE") << QString("程式超過1001行!") << 250;
    }

    void refusals() {
        QFETCH(QStringList, keywords);
        QFETCH(QString, error);
        QFETCH(int, row);
        test::ProgramRows p;
        for (const QString& k : keywords) {
            p.add(rowOf(k, "1", "2"));
        }
        const Translation t = TranslateProgram(p.table, p.rows);
        QCOMPARE(t.error(), error);
        QVERIFY(t.ControllerText.isEmpty());
        QCOMPARE(t.errorRow, row);
    }

    // No row puts a control byte on the line: a CR inside a free step would end the
    // download early and run what follows as an immediate command.
    void controlCharactersAreRefused_data() {
        QTest::addColumn<Row>("row");
        QTest::newRow("CR in a free step") << Row{"STEP", "X\r\rMA 50\r", "", "自設", "-"};
        QTest::newRow("ESC in a label") << Row{"LABLE", "A\x1b", "標籤", "-", "-"};
        QTest::newRow("DEL in a value") << Row{"WT", "1\x7f", "延遲", "-", "-"};
        QTest::newRow("tab in a free step") << Row{"STEP", "MA\t5", "", "自設", "-"};
    }

    void controlCharactersAreRefused() {
        QFETCH(Row, row);
        test::ProgramRows p;
        p.add(rowOf("VM", "100"));
        p.table[++p.rows] = row;
        const Translation t = TranslateProgram(p.table, p.rows);
        QCOMPARE(t.refusal, Refusal::ControlCharacter);
        QCOMPARE(t.errorRow, 2);
        QCOMPARE(t.namedError(), "第 2 列: " + refusalText(Refusal::ControlCharacter));
        QVERIFY(t.ControllerText.isEmpty());
    }

    void limitsAreReachable() {
        test::ProgramRows loops;
        for (int i = 0; i < kMaxLoops; ++i) {
            loops.add(rowOf("LOOP", "1"));
        }
        for (int i = 0; i < kMaxLoops; ++i) {
            loops.add(rowOf("LOOPEND"));
        }
        QVERIFY(TranslateProgram(loops.table, loops.rows).ok());

        // 3 fixed lines + 249 pulses (996) + 1 home (2) = 1001 lines exactly.
        test::ProgramRows lines;
        for (int i = 0; i < 249; ++i) {
            lines.add(rowOf("PULSE", "1", "5"));
        }
        lines.add(rowOf("HOME"));
        const Translation t = TranslateProgram(lines.table, lines.rows);
        QVERIFY(t.ok());
        QCOMPARE(t.ControllerText.size(), kMaxControllerLines);

        lines.add(rowOf("CS"));
        QCOMPARE(TranslateProgram(lines.table, lines.rows).refusal, Refusal::TooManyLines);
    }

    void emptyProgramAndRowsPastTheEnd() {
        test::ProgramRows p;
        p.add(rowOf("HOME"));
        p.add(rowOf("WT", "1"));
        QCOMPARE(TranslateProgram(p.table, 0).ControllerText, body({}));
        QCOMPARE(TranslateProgram(p.table, 1).ControllerText, body({"H;", "DN;"}));
    }

    void removeSpaces() {
        QCOMPARE(S(" a b c "), QString("abc"));
        QCOMPARE(S(""), QString());
        QCOMPARE(S("MA\t1"), QString("MA\t1"));  // only spaces go
    }
};

QTEST_APPLESS_MAIN(TestTranslator)
#include "tst_translator.moc"
