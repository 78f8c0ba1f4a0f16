#include "program/dialogrows.h"
#include "program/inputconditionrows.h"
#include "program/outputrows.h"

#include <QTest>

using namespace tql;

using Bits = std::array<bool, 4>;

class TestDialogRows : public QObject {
    Q_OBJECT

private slots:
    void inputConditionRows_data() {
        QTest::addColumn<int>("kind");
        QTest::addColumn<bool>("on");
        QTest::addColumn<QString>("label");
        QTest::addColumn<QStringList>("row");
        QTest::addColumn<int>("icon");
        QTest::newRow("wait on ignores the label")
            << 0 << true << "A1" << QStringList{"IN+", "3", "IN+", "-", "-"} << 22;
        QTest::newRow("wait off") << 0 << false << "" << QStringList{"IN-", "3", "IN-", "-", "-"}
                                  << 23;
        QTest::newRow("jump on") << 1 << true << "A1"
                                 << QStringList{"IN+J", "3", "A1", "IN+JP", "-"} << 24;
        QTest::newRow("jump off, empty label")
            << 1 << false << "" << QStringList{"IN-J", "3", "", "IN-JP", "-"} << 25;
        QTest::newRow("call on") << 2 << true << "S"
                                 << QStringList{"IN+C", "3", "S", "IN+CALL", "-"} << 26;
        QTest::newRow("call off") << 2 << false << "S"
                                  << QStringList{"IN-C", "3", "S", "IN-CALL", "-"} << 27;
    }

    void inputConditionRows() {
        QFETCH(int, kind);
        QFETCH(bool, on);
        QFETCH(QString, label);
        QFETCH(QStringList, row);
        QFETCH(int, icon);
        const InputCondition condition{InputConditionKind(kind), on, "3", label};
        const Row built = inputConditionRow(condition);
        QCOMPARE(built, (Row{row[0], row[1], row[2], row[3], row[4]}));
        QCOMPARE(iconForKeyword(built[0]), icon);
        // Modifying the row brings back what built it (a wait keeps no label).
        const auto back = inputConditionOf(built);
        QVERIFY(back);
        QCOMPARE(int(back->kind), kind);
        QCOMPARE(back->on, on);
        QCOMPARE(back->label, kind == 0 ? QString() : label);
        QVERIFY(!inputConditionOf({"WT", "3", "延遲", "-", "-"}));
    }

    void outputRows_data() {
        QTest::addColumn<bool>("all");
        QTest::addColumn<bool>("on");
        QTest::addColumn<bool>("pulse");
        QTest::addColumn<Bits>("bits");
        QTest::addColumn<QStringList>("row");
        QTest::addColumn<int>("icon");
        QTest::newRow("outputs 1 and 3") << true << false << true << Bits{true, false, true, false}
                                         << QStringList{"OUTP", "5", "ALL-P", "-", "-"} << 14;
        QTest::newRow("no output")
            << true << true << false << Bits{} << QStringList{"OUTP", "0", "ALL-P", "-", "-"} << 14;
        QTest::newRow("on") << false << true << false << Bits{true}
                            << QStringList{"SETP", "2", "ON", "-", "-"} << 18;
        QTest::newRow("off") << false << false << false << Bits{}
                             << QStringList{"CLRP", "2", "OFF", "-", "-"} << 19;
        QTest::newRow("pulse on") << false << true << true << Bits{}
                                  << QStringList{"PULSE", "2", " 100", "ON-P", "-"} << 20;
        QTest::newRow("pulse off") << false << false << true << Bits{}
                                   << QStringList{"PULSE-", "2", " 100", "OFF-P", "-"} << 21;
    }

    void outputRows() {
        QFETCH(bool, all);
        QFETCH(bool, on);
        QFETCH(bool, pulse);
        QFETCH(Bits, bits);
        QFETCH(QStringList, row);
        QFETCH(int, icon);
        OutputChoice choice;
        choice.allOutputs = all;
        choice.on = on;
        choice.pulse = pulse;
        choice.output = "2";
        choice.bits = bits;
        const Row built = outputRow(choice);
        QCOMPARE(built, (Row{row[0], row[1], row[2], row[3], row[4]}));
        QCOMPARE(iconForKeyword(built[0]), icon);
        const OutputChoice back = outputChoiceOf(built);
        QCOMPARE(outputRow(back), built);
    }

    void readout() {
        QCOMPARE(READOUT(10, {}), (Bits{false, true, false, true}));
        QCOMPARE(READOUT(15, {}), (Bits{true, true, true, true}));
        QCOMPARE(READOUT(20, {}), (Bits{true, true, true, true}));
        QCOMPARE(READOUT(0, {true, false, true, false}), (Bits{true, false, true, false}));
        QCOMPARE(READOUT(-3, {false, true}), (Bits{false, true}));
    }

    void outputRowsAsModified_data() {
        QTest::addColumn<QStringList>("row");
        QTest::addColumn<bool>("all");
        QTest::addColumn<Bits>("bits");
        QTest::addColumn<QString>("output");
        QTest::addColumn<bool>("pulse");
        QTest::addColumn<QString>("time");
        QTest::newRow("pattern 10") << QStringList{"OUTP", "10", "ALL-P", "-", "-"} << true
                                    << Bits{false, true, false, true} << "" << false << " 100";
        const Bits all = {true, true, true, true};
        QTest::newRow("pattern 15")
            << QStringList{"OUTP", "15", "ALL-P", "-", "-"} << true << all << "" << false << " 100";
        // Above 15 the walk from the top bit checks all four, as it always has.
        for (const char* above : {"16", "255", "99999999999"}) {
            QTest::newRow(qPrintable(QString("pattern %1: all boxes").arg(above)))
                << QStringList{"OUTP", above, "ALL-P", "-", "-"} << true << all << "" << false
                << " 100";
        }
        QTest::newRow("pattern -1: no box") << QStringList{"OUTP", "-1", "ALL-P", "-", "-"} << true
                                            << Bits{} << "" << false << " 100";
        for (const char* odd : {"abc", "3.5", ""}) {
            QTest::newRow(qPrintable(QString("pattern '%1': no box").arg(odd)))
                << QStringList{"OUTP", odd, "ALL-P", "-", "-"} << true << Bits{} << "" << false
                << " 100";
        }
        QTest::newRow("pulse") << QStringList{"PULSE", "4", "250", "ON-P", "-"} << false << Bits{}
                               << "4" << true << "250";
        QTest::newRow("another kind") << QStringList{"WT", "500", "延遲", "-", "-"} << false
                                      << Bits{} << "500" << false << " 100";
    }

    void outputRowsAsModified() {
        QFETCH(QStringList, row);
        QFETCH(bool, all);
        QFETCH(Bits, bits);
        QFETCH(QString, output);
        QFETCH(bool, pulse);
        QFETCH(QString, time);
        const OutputChoice c = outputChoiceOf({row[0], row[1], row[2], row[3], row[4]});
        QCOMPARE(c.allOutputs, all);
        QCOMPARE(c.bits, bits);
        QCOMPARE(c.output, output);
        QCOMPARE(c.pulse, pulse);
        QCOMPARE(c.pulseTime, time);
    }

    void strim_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("kept");
        QTest::newRow("negative target keeps its sign") << "-12.5"
                                                        << "-12.5";
        QTest::newRow("taught reply") << "-7.25\r"
                                      << "-7.25";
        QTest::newRow("thousands and unit") << "1,234.5 mm"
                                            << "1234.5";
        QTest::newRow("letters") << "abc"
                                 << "";
        QTest::newRow("several points stay") << "1.2.3"
                                             << "1.2.3";
        QTest::newRow("typed 12a") << "12a"
                                   << "12";
        QTest::newRow("inner minus goes") << "5-3"
                                          << "53";
        QTest::newRow("one minus only") << "--5"
                                        << "-5";
        QTest::newRow("lone minus") << "-"
                                    << "";
        QTest::newRow("empty") << ""
                               << "";
    }

    void strim() {
        QFETCH(QString, text);
        QFETCH(QString, kept);
        QCOMPARE(STRIM(text), kept);
    }

    void simpleRows() {
        QCOMPARE(absoluteMoveRow("12a"), (Row{"POINT", "絕對移動", "12", "-", "-"}));
        QCOMPARE(relativeMoveRow("-3 x"), (Row{"MR", "相對移動", "-3 x", "-", "-"}));
        QCOMPARE(customStepRow("", ""), (Row{"STEP", "", "", "自設", "-"}));
        QCOMPARE(speedRow("0"), (Row{"VM", "0", "速度", "-", "-"}));
        QCOMPARE(iconForKeyword(absoluteMoveRow("1")[0]), 1);
        QCOMPARE(iconForKeyword(relativeMoveRow("1")[0]), 15);
        QCOMPARE(iconForKeyword(customStepRow("", "")[0]), 28);
        QCOMPARE(iconForKeyword(speedRow("1")[0]), 5);
    }
};

QTEST_APPLESS_MAIN(TestDialogRows)
#include "tst_dialogrows.moc"
