#include "translator/dryrun.h"
#include "translator/programchecks.h"

#include <QTest>

using namespace tql;

namespace {

const Row kSpeed = {"VM", "100", "速度", "-", "-"};
const Row kMove = {"POINT", "絕對移動", "12.5", "-", "-"};
const Row kLoop = {"LOOP", "3", "迴圈", "-", "-"};
const Row kEnd = {"LOOPEND", "迴圈結束", "-", "-", "-"};
Row label(const QString& name) {
    return {"LABLE", name, "標籤", "-", "-"};
}
Row jump(const QString& name) {
    return {"GLABLE", name, "跳至標籤", "-", "-"};
}

}  // namespace

Q_DECLARE_METATYPE(QList<tql::Row>)

class TestProgramChecks : public QObject {
    Q_OBJECT

private slots:
    // One row a finding kind; "" expects a clean program. The expected text is every finding
    // as tq4c --check prints it, one a line.
    void findings_data() {
        QTest::addColumn<QList<Row>>("rows");
        QTest::addColumn<QString>("expected");
        QTest::newRow("clean") << QList<Row>{kSpeed, kLoop, kMove, kEnd, label("A"), jump("A")}
                               << "";
        QTest::newRow("unpaired loop")
            << QList<Row>{kSpeed, kLoop, kMove} << "第 2 列: 錯誤: 迴圈數目未成對!";
        QTest::newRow("end before its loop")
            << QList<Row>{kSpeed, kEnd, kLoop} << "第 2 列: 錯誤: 迴圈數目未成對!";
        QTest::newRow("missing label")
            << QList<Row>{kSpeed, jump("B")} << "第 2 列: 錯誤: 標籤 \"B\" 不存在";
        QTest::newRow("call on an input to no label")
            << QList<Row>{kSpeed, {"IN+C", "3", "SUB", "IN+CALL", "-"}}
            << "第 2 列: 錯誤: 標籤 \"SUB\" 不存在";
        QTest::newRow("label twice") << QList<Row>{kSpeed, label("A"), label("A")}
                                     << "第 3 列: 錯誤: 標籤 \"A\" 已在第 2 列定義過";
        QTest::newRow("loop count 0") << QList<Row>{kSpeed, {"LOOP", "0", "迴圈", "-", "-"}, kEnd}
                                      << "第 2 列: 錯誤: 迴圈次數 \"0\" 不是 1 以上的整數";
        QTest::newRow("move to text") << QList<Row>{kSpeed, {"MR", "相對移動", "5mm", "-", "-"}}
                                      << "第 2 列: 錯誤: 移動的值 \"5mm\" 不是數字";
        QTest::newRow("delay not a number") << QList<Row>{{"WT", "abc", "延遲", "-", "-"}}
                                            << "第 1 列: 錯誤: 延遲的值 \"abc\" 不是數字";
        QTest::newRow("pulse time") << QList<Row>{{"PULSE", "2", "x", "ON-P", "-"}}
                                    << "第 1 列: 錯誤: 脈波時間的值 \"x\" 不是數字";
        QTest::newRow("Big5") << QList<Row>{{"STEP", "PRINT 😀", "", "自設", "-"}}
                              << "第 1 列: 錯誤: 有 Big5 無法表示的字元";
        QTest::newRow("speed 0") << QList<Row>{{"VM", "0", "速度", "-", "-"}, kMove}
                                 << "第 1 列: 警告: 速度為 0, 之後的移動不會動";
        QTest::newRow("move before speed")
            << QList<Row>{kMove, kSpeed} << "第 1 列: 警告: 移動之前沒有設定速度";
        QTest::newRow("relative move before speed")
            << QList<Row>{{"MR", "相對移動", "5", "-", "-"}, kSpeed}
            << "第 1 列: 警告: 移動之前沒有設定速度";
        QTest::newRow("return a call on an input reaches")
            << QList<Row>{kSpeed,
                          {"IN+C", "3", "A", "IN+CALL", "-"},
                          label("A"),
                          {"RET", "RETURN", "返回", "-", "-"}}
            << "";
        QTest::newRow("return nobody calls")
            << QList<Row>{kSpeed, {"RET", "RETURN", "返回", "-", "-"}}
            << "第 2 列: 警告: 沒有任何呼叫會回到這個返回";
        QTest::newRow("rows after a jump") << QList<Row>{kSpeed, label("A"), jump("A"), kMove}
                                           << "第 4 列: 警告: 跳至標籤之後, 沒有任何跳躍會到這一列";
        QTest::newRow("several rows after a jump")
            << QList<Row>{kSpeed, label("A"), jump("A"), kMove, kMove}
            << "第 4 列: 警告: 跳至標籤之後, 沒有任何跳躍會到這一列";  // once for the stretch
        QTest::newRow("negative speed")
            << QList<Row>{{"VM", "-5", "速度", "-", "-"}}
            << "第 1 列: 錯誤: 速度的值 \"-5\" 不在本工具的安全範圍 0 到 1000000 之間";
        QTest::newRow("huge speed") << QList<Row>{{"VM", "1e20", "速度", "-", "-"}}
                                    << "第 1 列: 錯誤: 速度的值 \"1e20\" 不是數字";
        QTest::newRow("negative delay")
            << QList<Row>{{"WT", "-5", "延遲", "-", "-"}}
            << "第 1 列: 錯誤: 延遲的值 \"-5\" 不在本工具的安全範圍 0 到 1000000000 之間";
        QTest::newRow("loop count beyond the counter")
            << QList<Row>{kSpeed, {"LOOP", "2000000000", "迴圈", "-", "-"}, kEnd}
            << "第 2 列: 錯誤: 迴圈次數 \"2000000000\" 超過本工具的安全上限 1000000000";
        QTest::newRow("loop count half")
            << QList<Row>{kSpeed, {"LOOP", "2.5", "迴圈", "-", "-"}, kEnd}
            << "第 2 列: 錯誤: 迴圈次數 \"2.5\" 不是 1 以上的整數";
        QTest::newRow("input 9") << QList<Row>{kSpeed, {"IN+", "9", "IN+", "-", "-"}}
                                 << "第 2 列: 錯誤: 輸入的值 \"9\" 不在 1 到 8 之間";
        QTest::newRow("output pattern 99")
            << QList<Row>{kSpeed, {"OUTP", "99", "輸出", "-", "-"}}
            << "第 2 列: 錯誤: 輸出位元值的值 \"99\" 不在 0 到 15 之間";
        QTest::newRow("output 5 not wired")
            << QList<Row>{kSpeed, {"SETP", "5", "ON", "-", "-"}}
            << "第 2 列: 警告: 輸出 \"5\" 不在 1 到 4 之間, 控制器可能沒有這個輸出";
        QTest::newRow("free text the model refuses")
            << QList<Row>{kSpeed, {"STEP", "MA abc", "", "自設", "-"}}
            << "第 2 列: 錯誤: 控制器不接受「MA abc」: 值不是數字";
        QTest::newRow("call that calls itself")
            << QList<Row>{kSpeed, label("S"), {"CALL", "S", "呼叫標籤", "-", "-"}}
            << "第 3 列: 錯誤: 呼叫超過 64 層, 控制器在這裡停止";
        QTest::newRow("recursion an input ends")
            << QList<Row>{kSpeed,
                          label("S"),
                          {"IN+C", "3", "S", "IN+CALL", "-"},
                          {"RET", "RETURN", "返回", "-", "-"}}
            << "第 3 列: 警告: 這個呼叫還沒返回就可能再被呼叫, 超過 64 層時控制器停止";
        QTest::newRow("free text unknown")
            << QList<Row>{kSpeed, {"STEP", "PRINT 1", "", "自設", "-"}}
            << "第 2 列: 警告: 模擬不認得「PRINT 1」, 模擬時略過";
        QTest::newRow("control character")
            << QList<Row>{kSpeed, {"STEP", "MA 1\rG", "", "自設", "-"}}
            << "第 2 列: 錯誤: 含有控制字元 (如 CR 或 ESC), 不能送到控制器!";
        QTest::newRow("control character in a note")
            << QList<Row>{kSpeed, {"WT", "500", "\x01延遲", "-", "-"}}
            << "第 2 列: 警告: 附註含有控制字元: 不會送到控制器, 但其他編輯器可能無法照原樣讀回";
    }

    void findings() {
        QFETCH(QList<Row>, rows);
        QFETCH(QString, expected);
        ProgramTable table{};
        table[0] = headerRow();
        for (int i = 0; i < rows.size(); ++i) {
            table[i + 1] = rows[i];
        }
        const std::vector<Finding> found = CheckProgram(table, int(rows.size()));
        QStringList texts;
        for (const Finding& finding : found) {
            texts << formatFinding(finding);
        }
        QCOMPARE(texts.join('\n'), expected);
    }

    // Calls within calls, none of them recursive: 64 levels are the controller's, the 65th
    // call is an error the checks name where the model stops.
    void nestedCallsBeyondTheDepth_data() {
        QTest::addColumn<int>("levels");
        QTest::newRow("64 levels") << 64;
        QTest::newRow("65 levels") << 65;
    }

    void nestedCallsBeyondTheDepth() {
        QFETCH(int, levels);
        ProgramTable table{};
        table[0] = headerRow();
        int rows = 0;
        const auto add = [&](const Row& row) { table[++rows] = row; };
        int beyond = 0;
        add({"CALL", "S1", "呼叫標籤", "-", "-"});
        add(jump("END"));
        for (int level = 1; level <= levels; ++level) {
            add(label(QString("S%1").arg(level)));
            if (level < levels) {
                add({"CALL", QString("S%1").arg(level + 1), "呼叫標籤", "-", "-"});
                beyond = level + 1 == 65 ? rows : beyond;
            }
            add({"RET", "RETURN", "返回", "-", "-"});
        }
        add(label("END"));
        QStringList errors;
        for (const Finding& finding : CheckProgram(table, rows)) {
            if (finding.severity == Severity::Error) {
                errors << formatFinding(finding);
            }
        }
        const DryRunResult run = DryRun(table, rows, {});
        if (levels == 64) {
            QCOMPARE(errors, QStringList{});
            QCOMPARE(run.end, DryRunEnd::Finished);
            return;
        }
        QCOMPARE(errors, QStringList{QString("第 %1 列: 錯誤: 呼叫之中再呼叫, 一層套一層會超過 64 "
                                             "層, 控制器會在這裡停止")
                                         .arg(beyond)});
        QCOMPARE(run.end, DryRunEnd::ProgramError);
        QCOMPARE(run.row, beyond);
    }

    // The upload asks about what the translator would send anyway; its own refusals speak
    // for themselves.
    void translatorRefusalsAreMarked() {
        ProgramTable table{};
        table[1] = kLoop;
        table[2] = jump("X");
        const std::vector<Finding> found = CheckProgram(table, 2);
        QCOMPARE(found.size(), size_t(2));  // the unpaired loop, the missing label
        QCOMPARE(found[0].kind, FindingKind::LoopPairing);
        QVERIFY(refusedByTranslator(found[0].kind));
        QVERIFY(!refusedByTranslator(found[1].kind));
    }
};

QTEST_APPLESS_MAIN(TestProgramChecks)
#include "tst_programchecks.moc"
